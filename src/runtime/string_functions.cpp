#include "runtime/string_functions.h"

#include <cstdlib>
#include <cstring>

#include "runtime/strings.h"

namespace vantrel {
namespace {

// Decimal digits after the blanks and one sign, wrapping like the unsigned type.
template <typename Unsigned>
Unsigned parse_digits(const char* text, bool* negative) {
  const char* c = text_or_empty(text);
  while (*c == ' ' || *c == '\t') ++c;
  *negative = *c == '-';
  if (*c == '-' || *c == '+') ++c;
  Unsigned value = 0;
  for (; *c >= '0' && *c <= '9'; ++c) value = value * 10 + Unsigned(*c - '0');
  return *negative ? Unsigned(0) - value : value;
}

// Writes `length` bytes of `source` (which may lie in the buffer) at p.
char* produce_bytes(const char* source, int32_t length, int32_t p) {
  BufferArgument argument(source);
  char* at = buffer_reserve(length, p);
  if (!at) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  copy_string_bytes(at, argument.get(), length);
  return at;
}

char* produce_empty(int32_t p) { return produce_bytes("", 0, p); }

int32_t clamp_count(int32_t n, int32_t length) { return n < 0 ? 0 : n > length ? length : n; }

}  // namespace

int32_t text_length(const char* text) { return text ? int32_t(strlen(text)) : 0; }

int32_t parse_integer(const char* text) {
  bool negative;
  return int32_t(parse_digits<uint32_t>(text, &negative));
}

int64_t parse_integer64(const char* text) {
  bool negative;
  return int64_t(parse_digits<uint64_t>(text, &negative));
}

double parse_float(const char* text) { return text ? atof(text) : 0.0; }
float parse_float_single(const char* text) { return float(parse_float(text)); }

int32_t find_string(const char* text, const char* pattern, int32_t start) {
  int32_t length = text_length(text);
  if (!length || !text_length(pattern)) return 0;
  if (start < 1) start = 1;
  if (start > length) return 0;
  const char* found = strstr(text + start - 1, pattern);
  return found ? int32_t(found - text) + 1 : 0;
}

int32_t count_occurrences(const char* text, const char* pattern) {
  size_t pattern_length = pattern ? strlen(pattern) : 0;
  if (!text || !pattern_length) return 0;
  int32_t count = 0;
  for (const char* c = strstr(text, pattern); c; c = strstr(c + pattern_length, pattern)) ++count;
  return count;
}

int compare_text(const char* a, const char* b, int ignore_case) {
  return ignore_case ? _stricmp(text_or_empty(a), text_or_empty(b))
                     : strcmp(text_or_empty(a), text_or_empty(b));
}

int32_t copy_string_to(char* destination, const char* text) {
  int32_t length = text_length(text);
  copy_string_bytes(destination, text_or_empty(text), length);
  return length;
}

int32_t copy_string_limited(char* destination, const char* text, int32_t n) {
  int32_t length = clamp_count(n, text_length(text));
  copy_string_bytes(destination, text_or_empty(text), length);
  return length;
}

const char* append_string(const char* text, int32_t p) {
  return produce_bytes(text, text_length(text), p);
}

const char* append_string_limited(const char* text, int32_t n, int32_t p) {
  return produce_bytes(text, clamp_count(n, text_length(text)), p);
}

const char* space_string(int32_t n, int32_t p) {
  if (n < 0) n = 0;
  char* at = buffer_reserve(n, p);
  if (!at) return produce_empty(buffer_position());
  memset(at, ' ', size_t(n));
  at[n] = 0;
  return at;
}

const char* number_to_string(int32_t value, int32_t p) {
  char digits[16];
  char* c = digits;
  uint32_t magnitude = value < 0 ? 0u - uint32_t(value) : uint32_t(value);
  if (value < 0) *c++ = '-';
  decimal_text(magnitude, c, 10);
  return append_string(digits, p);
}

const char* character_string(int32_t code, int32_t p) {
  char byte = char(code & 0xFF);
  return produce_bytes(&byte, 1, p);
}

const char* left_string(const char* text, int32_t n, int32_t p) {
  return produce_bytes(text, clamp_count(n, text_length(text)), p);
}

const char* right_string(const char* text, int32_t n, int32_t p) {
  int32_t length = text_length(text);
  int32_t count = clamp_count(n, length);
  return produce_bytes(text_or_empty(text) + length - count, count, p);
}

const char* mid_string(const char* text, int32_t start, int32_t length, int32_t p) {
  int32_t total = text_length(text);
  int32_t skip = start <= 1 ? 0 : (start - 1 > total ? total : start - 1);
  return produce_bytes(text_or_empty(text) + skip, clamp_count(length, total - skip), p);
}

const char* trim_string(const char* text, int32_t p) {
  const char* c = text_or_empty(text);
  int32_t length = text_length(c);
  int32_t first = 0;
  while (first < length && c[first] == ' ') ++first;
  int32_t end = length;
  while (end > first && c[end - 1] == ' ') --end;
  return produce_bytes(c + first, end - first, p);
}

const char* lower_case(const char* text, int32_t p) {
  char* at = produce_bytes(text, text_length(text), p);
  for (char* c = at; *c; ++c) {
    unsigned char byte = static_cast<unsigned char>(*c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE)) *c = char(byte + 32);
  }
  return at;
}

int32_t string_field(const char* text, int32_t index, const char* separator, int32_t p) {
  const char* c = text_or_empty(text);
  char split = text_or_empty(separator)[0];
  if (index < 1) index = 1;
  if (!split) {
    const char* whole = index == 1 ? c : "";
    int32_t length = text_length(whole);
    produce_bytes(whole, length, p);
    return length;
  }
  for (int32_t field = 1; field < index; ++field) {
    c = strchr(c, split);
    if (!c) {
      produce_empty(p);
      return 0;
    }
    ++c;
  }
  const char* end = strchr(c, split);
  int32_t length = end ? int32_t(end - c) : int32_t(strlen(c));
  produce_bytes(c, length, p);
  return length;
}

}  // namespace vantrel
