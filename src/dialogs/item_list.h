#pragma once
// The item-list argument of the list box and combo box dialogs: items each
// followed by "|"; text after the last "|" is not an item.
#include <cstdint>

#include "runtime/strings.h"

namespace vantrel {

class ItemList {
 public:
  // Splits the list in one pass, in place (the list is the export's own copy).
  explicit ItemList(char* list);
  ~ItemList();
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;

  const char* const* items() const { return items_; }
  int32_t count() const { return count_; }
  int32_t bytes() const { return bytes_; }
  bool complete() const { return !failed_; }

 private:
  const char** items_ = nullptr;
  int32_t count_ = 0;
  int32_t bytes_ = 0;
  bool failed_ = false;
};

}  // namespace vantrel
