// The line reader: the lines it gives, joined by their breaks, are the text
// (CR LF and LF CR one break each, a lone CR or LF one too), and the break
// finder stops at the first CR or LF of any bytes, zeros included.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "sorter/line_reader.h"

using namespace vantrel;
using fuzz::require;

namespace {

// The lines as a plain reading of the text finds them.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end;
    if (at < text.size()) {
      char first = text[at++];
      if (at < text.size() && (text[at] == '\r' || text[at] == '\n') && text[at] != first) ++at;
    }
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  std::vector<char> bytes(data, data + size);
  for (size_t at = 0; at <= size; at += 1 + at / 8) {
    size_t expected = at;
    while (expected < size && bytes[expected] != '\r' && bytes[expected] != '\n') ++expected;
    require(next_line_break(bytes.data(), at, size) == expected);
  }
  fuzz::Input input(data, size);
  const char* text = input.rest();
  std::vector<std::string> lines = lines_of(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const char* line = read_text_line(text, i == 0, 0);
    fuzz::require_in_buffer(line);
    require(line == lines[i]);
    set_buffer_position(0);
  }
  require(*read_text_line(text, lines.empty(), 0) == 0);  // the end, and it stays there
  require(*read_text_line(text, 0, 0) == 0);
  set_buffer_position(0);
  return 0;
}
