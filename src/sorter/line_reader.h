#pragma once
// Texts read line by line: CR LF, LF CR, a lone CR or a lone LF end a line.
#include <cstddef>
#include <cstdint>

namespace vantrel {

// The next line of the text at p (restart: from its beginning); "" at the end.
const char* read_text_line(const char* text, int restart, int32_t p);
// The first CR or LF at or after `at` in the text's first `length` bytes, or `length`.
size_t next_line_break(const char* text, size_t at, size_t length);

}  // namespace vantrel
