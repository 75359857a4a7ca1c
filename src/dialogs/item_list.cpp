#include "dialogs/item_list.h"

#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/item_lists.h"

namespace vantrel {

ItemList::ItemList(char* list) {
  int32_t separators = count_occurrences(list, "|");
  if (separators == 0) return;
  items_ = static_cast<const char**>(general_alloc_array(size_t(separators), sizeof(char*)));
  failed_ = !items_;
  if (failed_) return;
  char* field = list;
  for (char* c = list; *c; ++c) {
    if (*c != '|') continue;
    *c = 0;
    items_[count_++] = field;
    bytes_ += int32_t(c - field) + 1;
    field = c + 1;
  }
}

ItemList::~ItemList() { general_free(items_); }

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
