// ShowListBox: one line picked from a single-column list.
#include "dialogs/dialogs.h"
#include "dialogs/item_choice.h"
#include "dialogs/skeleton.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {
enum ListArgument { TITLE, ITEMS, WIDTH, HEIGHT, HOST_WINDOW };
}

void show_list_box_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  ItemList items(arguments[ITEMS]);
  if (!items.complete()) return;
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  dialog.label_next_control("List");
  create_list_view_gadget(0, 0, 0, width, height - 30);
  dialog.add_ok_and_cancel(width, height);
  run_item_choice(dialog, items, result);
}

}  // namespace vantrel
