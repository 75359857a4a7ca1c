#pragma once
// The item-list argument of the list box and combo box dialogs: items each
// followed by "|"; text after the last "|" is not an item.
#include <cstdint>

#include "dialogs/skeleton.h"
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

// Fills gadget 0 with the items, runs the modal loop, and sets the result:
// the selected item's text, or "CANCEL".
void run_item_choice(DialogSkeleton& dialog, const ItemList& items, StringVar* result);

}  // namespace vantrel
