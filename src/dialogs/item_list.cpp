#include "dialogs/item_list.h"

#include "runtime/heaps.h"
#include "runtime/string_functions.h"

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

}  // namespace vantrel
