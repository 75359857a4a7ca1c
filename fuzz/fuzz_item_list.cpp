// The item list of the list box and combo box dialogs: one item per "|",
// each lying within the list and holding no "|", text after the last "|"
// no item, and the byte count the items' own. The first byte chooses the
// code page: single-byte, or double-byte as 932 is, where a "|" that is the
// second byte of a character ends nothing.
#include "dialogs/item_list.h"

#include <vector>

#include "runtime/lead_bytes.h"
#include "fuzz_input.h"

using namespace vantrel;
using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  LeadBytes lead_bytes;
  if (size > 0 && data[0] & 1) {
    lead_bytes.add(0x81, 0x9F);
    lead_bytes.add(0xE0, 0xFC);
  }
  LeadBytes before = swap_text_lead_bytes(lead_bytes);
  char* list = input.rest();
  size_t length = strlen(list);
  // Where each character starts, and how many of them are "|".
  std::vector<bool> starts(length + 1, false);
  int32_t separators = 0;
  for (size_t i = 0; i < length; i += lead_bytes.length_at(list + i)) {
    starts[i] = true;
    separators += list[i] == '|';
  }
  auto holds_separator = [&](const char* item, size_t item_length) {
    for (size_t i = 0; i < item_length; ++i)
      if (item[i] == '|' && starts[size_t(item - list) + i]) return true;
    return false;
  };
  ItemList items(list);
  require(items.complete());
  require(items.count() == separators);
  int64_t bytes = 0;
  const char* next = list;
  for (int32_t i = 0; i < items.count(); ++i) {
    const char* item = items.items()[i];
    require(item == next);  // in order, none skipped
    size_t item_length = strlen(item);
    require(item + item_length < list + length + 1 && !holds_separator(item, item_length));
    bytes += int64_t(item_length) + 1;
    next = item + item_length + 1;
  }
  require(items.bytes() == bytes);
  swap_text_lead_bytes(before);
  return 0;
}
