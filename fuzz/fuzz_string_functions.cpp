// The string functions and parse_integer on any text and any numbers: every
// result lies in the shared buffer, ended, and is the part of the text it
// names, also when the argument itself lies in the buffer.
#include <cstdlib>
#include <string>

#include "fuzz_input.h"
#include "runtime/string_functions.h"

using namespace vantrel;
using fuzz::require;

namespace {

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

int32_t clamp(int32_t n, int32_t length) { return n < 0 ? 0 : n > length ? length : n; }

// The produced text is `expected`; the buffer is rewound for the next one.
void require_produced(const char* made, const std::string& expected) {
  fuzz::require_in_buffer(made);
  require(made == expected);
  set_buffer_position(0);
}

void check_counts(const char* text, const char* pattern, int32_t n) {
  int32_t length = text_length(text);
  require(size_t(length) == strlen(text));
  int32_t found = find_string(text, pattern, n);
  require(found >= 0 && found <= length);
  if (found) require(found >= n && strncmp(text + found - 1, pattern, strlen(pattern)) == 0);
  int32_t count = count_occurrences(text, pattern);
  require(count >= 0 && (count == 0) == (find_string(text, pattern, 1) == 0));
  require(sign(compare_text(text, pattern, 1)) == -sign(compare_text(pattern, text, 1)));
  require(sign(compare_text(text, pattern, 0)) == -sign(compare_text(pattern, text, 0)));
  require(compare_text(text, text, 1) == 0);
}

void check_numbers(const char* text, int32_t n) {
  (void)parse_integer(text);
  (void)parse_integer64(text);
  (void)parse_float(text);
  (void)parse_float_single(text);
  require(parse_integer(number_to_string(n, 0)) == n);
  set_buffer_position(0);
  const char* byte = character_string(n, 0);
  require(strlen(byte) == ((n & 0xFF) ? 1u : 0u));
  set_buffer_position(0);
}

void check_cuts(const char* text, const char* pattern, int32_t n, int32_t m) {
  std::string whole = text;
  int32_t length = int32_t(whole.size());
  require_produced(left_string(text, n, 0), whole.substr(0, size_t(clamp(n, length))));
  require_produced(right_string(text, n, 0), whole.substr(size_t(length - clamp(n, length))));
  require_produced(append_string_limited(text, n, 0), whole.substr(0, size_t(clamp(n, length))));
  int32_t skip = n <= 1 ? 0 : (n - 1 > length ? length : n - 1);
  require_produced(mid_string(text, n, m, 0), whole.substr(size_t(skip), size_t(clamp(m, length - skip))));
  size_t first = whole.find_first_not_of(' ');
  require_produced(trim_string(text, 0),
                   first == std::string::npos ? "" : whole.substr(first, whole.find_last_not_of(' ') - first + 1));
  const char* lower = lower_case(text, 0);
  fuzz::require_in_buffer(lower);
  require(strlen(lower) == whole.size());
  set_buffer_position(0);
  int32_t field = string_field(text, n, pattern, 0);
  require(field >= 0 && size_t(field) == strlen(buffer_address_at(0)));
  set_buffer_position(0);
  std::string destination(size_t(length) + 1, '\x7F');
  int32_t copied = copy_string_limited(&destination[0], text, n);
  require(copied == clamp(n, length) && destination[size_t(copied)] == 0);
  // Spaces by the thousand; a count no heap can hold gives "".
  require_produced(space_string(n & 0xFFFF, 0), std::string(size_t(n & 0xFFFF), ' '));
  require_produced(space_string(INT32_MAX, 0), "");
}

// A producer whose argument lies in the buffer, writing over or after it.
void check_arguments_in_buffer(const char* text, int32_t n, int32_t m) {
  std::string whole = text;
  int32_t length = int32_t(whole.size());
  int32_t skip = n <= 1 ? 0 : (n - 1 > length ? length : n - 1);
  std::string expected = whole.substr(size_t(skip), size_t(clamp(m, length - skip)));
  const char* in_buffer = append_string(text, 0);
  fuzz::require_in_buffer(in_buffer);
  const char* after = mid_string(in_buffer, n, m, buffer_position());
  fuzz::require_in_buffer(after);
  require(after == expected);
  set_buffer_position(0);
  in_buffer = append_string(text, 0);
  require_produced(mid_string(in_buffer, n, m, 0), expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  int32_t n = input.number(), m = input.number();
  const char* pattern = input.text();
  const char* text = input.rest();
  check_counts(text, pattern, n);
  check_numbers(text, n);
  check_cuts(text, pattern, n, m);
  check_arguments_in_buffer(text, n, m);
  return 0;
}
