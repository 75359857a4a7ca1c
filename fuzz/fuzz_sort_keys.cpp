// The sort keys of every column type: two texts order one way or the
// other (never both), a text equals itself, and a text key of a many-row
// sort orders as the library's comparison of the same 254 characters.
#include <string>

#include "fuzz_input.h"
#include "runtime/string_functions.h"
#include "sorter/sort_keys.h"

using namespace vantrel;
using fuzz::require;

namespace {

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

void check_text_keys(const char* a, const char* b, bool fold) {
  TextKey first = {}, second = {};
  set_text_key(&first, a, fold);
  set_text_key(&second, b, fold);
  std::string limited_a = std::string(a).substr(0, SORT_TEXT_LIMIT), limited_b = std::string(b).substr(0, SORT_TEXT_LIMIT);
  require(sign(compare_text_keys(first, second, fold)) ==
          sign(compare_text(limited_a.c_str(), limited_b.c_str(), fold ? 1 : 0)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  int8_t type = int8_t(input.byte() % 14);
  const char* a = input.text();
  const char* b = input.rest();
  require(sign(compare_cell_texts(type, a, b)) == -sign(compare_cell_texts(type, b, a)));
  require(compare_cell_texts(type, a, a) == 0);
  (void)size_value(a);
  for (auto key : {date_key_dmy, date_key_mdy, date_key_dmy_time, date_key_dmy2_time}) {
    fuzz::require_in_buffer(key(a, 0));
    set_buffer_position(0);
  }
  check_text_keys(a, b, true);
  check_text_keys(a, b, false);
  return 0;
}
