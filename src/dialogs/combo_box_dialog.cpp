// ShowComboBox: one entry picked from a drop-down list.
#include "dialogs/dialogs.h"
#include "dialogs/item_choice.h"
#include "dialogs/skeleton.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {
enum ComboArgument { TITLE, ITEMS, WIDTH, HEIGHT, HOST_WINDOW };
constexpr int32_t MOST_ENTRIES_SHOWN = 12;
}  // namespace

void show_combo_box_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  ItemList items(arguments[ITEMS]);
  if (!items.complete()) return;
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  dialog.label_next_control("List");
  create_combo_box_gadget(0, 5, 5, width - 10, 30);
  // Created 30 high, the dropped list would have no room at all.
  show_combo_entries(0, items.count() < MOST_ENTRIES_SHOWN ? items.count() : MOST_ENTRIES_SHOWN);
  dialog.add_ok_and_cancel(width, height);
  run_item_choice(dialog, items, result);
}

}  // namespace vantrel
