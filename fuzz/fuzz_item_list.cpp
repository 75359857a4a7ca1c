// The item list of the list box and combo box dialogs: one item per "|",
// each lying within the list and holding no "|", text after the last "|"
// no item, and the byte count the items' own.
#include "dialogs/item_list.h"
#include "fuzz_input.h"

using namespace vantrel;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  char* list = input.rest();
  size_t length = strlen(list);
  int32_t separators = 0;
  for (size_t i = 0; i < length; ++i) separators += list[i] == '|';
  ItemList items(list);
  require(items.complete());
  require(items.count() == separators);
  int64_t bytes = 0;
  const char* next = list;
  for (int32_t i = 0; i < items.count(); ++i) {
    const char* item = items.items()[i];
    require(item == next);  // in order, none skipped
    size_t item_length = strlen(item);
    require(item + item_length < list + length + 1 && !memchr(item, '|', item_length));
    bytes += int64_t(item_length) + 1;
    next = item + item_length + 1;
  }
  require(items.bytes() == bytes);
  return 0;
}
