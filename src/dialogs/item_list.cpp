#include "dialogs/item_list.h"

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"

namespace vantrel {

ItemList::ItemList(char* list) {
  // A "|" ends an item where it stands as a character of the call's code
  // page, not as the second byte of a double-byte one.
  const LeadBytes& lead_bytes = text_lead_bytes();
  int32_t separators = 0;
  for (const char* c = lead_bytes.find(list, '|'); c; c = lead_bytes.find(c + 1, '|')) ++separators;
  if (separators == 0) return;
  items_ = static_cast<const char**>(general_alloc_array(size_t(separators), sizeof(char*)));
  failed_ = !items_;
  if (failed_) return;
  char* field = list;
  for (char* c; (c = const_cast<char*>(lead_bytes.find(field, '|')));) {
    *c = 0;
    items_[count_++] = field;
    bytes_ += int32_t(c - field) + 1;
    field = c + 1;
  }
}

ItemList::~ItemList() { general_free(items_); }

}  // namespace vantrel
