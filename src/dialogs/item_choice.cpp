#include "dialogs/item_choice.h"

#include "runtime/string_functions.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/item_lists.h"

namespace vantrel {

void run_item_choice(DialogSkeleton& dialog, const ItemList& items, StringVar* result) {
  constexpr int32_t LIST = 0;
  fill_gadget_items(LIST, items.items(), items.count(), items.bytes());
  SetFocus(gadget_handle(LIST));
  dialog.answer_when_ended(result, [](int32_t p) {
    // Nothing chosen answers like Cancel.
    if (get_gadget_state(LIST) > -1) get_gadget_text(LIST, p);
    else append_string("CANCEL", p);
  });
}

}  // namespace vantrel
