#include "sorter/line_reader.h"

#include <cstring>

#include "runtime/strings.h"

namespace vantrel {
namespace {

size_t reader_position = 0;

}  // namespace

const char* read_text_line(const char* text, int restart, int32_t p) {
  const char* c = text_or_empty(text);
  if (restart) reader_position = 0;
  size_t start = reader_position, end = start;
  while (c[end] && c[end] != '\r' && c[end] != '\n') ++end;
  size_t next = end;
  if (c[next]) {
    char first = c[next++];
    if (c[next] && first + c[next] == 23) ++next;  // CR LF or LF CR
  }
  reader_position = next;
  // Copied by its own length: measuring the rest of a large text for every
  // line would make reading it quadratic.
  int32_t length = int32_t(end - start);
  char* at = buffer_reserve(length, p);
  if (!at) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  memcpy(at, c + start, size_t(length));
  at[length] = 0;
  return at;
}

// Eight bytes at a time where it can.
size_t next_line_break(const char* text, size_t at, size_t length) {
  constexpr uint64_t ONES = 0x0101010101010101ull, HIGHS = 0x8080808080808080ull;
  for (; at + 8 <= length; at += 8) {
    uint64_t word;
    memcpy(&word, text + at, 8);
    uint64_t cr = word ^ (ONES * '\r'), lf = word ^ (ONES * '\n');
    if (((cr - ONES) & ~cr & HIGHS) | ((lf - ONES) & ~lf & HIGHS)) break;  // a byte of either
  }
  while (at < length && text[at] != '\r' && text[at] != '\n') ++at;
  return at;
}

}  // namespace vantrel
