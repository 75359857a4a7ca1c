// The table of the multi-column list: rows by "|", cells by ";" and line
// feeds, every cell within the text, and every shown text and export line
// ended within the buffer, in the table's order and reversed; a line
// written straight into room of any size is the export line or nothing.
#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/table.h"
#include "fuzz_input.h"

using namespace vantrel;
using fuzz::require;

namespace {

// The cells as a plain reading of the text finds them, row by row.
std::vector<std::vector<std::string>> plain_cells(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1);
  std::string piece;
  for (char c : text) {
    if (c == '|') {
      rows.emplace_back();
      piece.clear();  // text after the row's last ";" is no cell
    } else if (c == ';' || (c == '\n' && rows.size() > 1)) {
      rows.back().push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  rows.pop_back();  // text after the last "|" is no row
  return rows;
}

void check_cells(const Table& table, const char* begin, const char* end, const std::string& text) {
  std::vector<std::vector<std::string>> expected = plain_cells(text);
  require(size_t(table.rows()) == expected.size());
  for (int32_t row = 0; row < table.rows(); ++row) {
    require(size_t(table.cell_count(row)) == expected[size_t(row)].size());
    for (int32_t column = 0; column < table.cell_count(row); ++column) {
      const char* cell = table.cell(row, column);
      require(cell >= begin && cell + strlen(cell) < end);
      require(expected[size_t(row)][size_t(column)] == cell);
    }
  }
}

bool carriage_returns = false;  // in the text: lines are then written only through the reader

// The line written straight: the export line whole, or nothing, and never
// a byte past the room given; with room to spare it is written.
void check_written(const Table& table, int32_t place, int32_t columns, const char* line) {
  int32_t length = int32_t(strlen(line));
  int32_t ample = length + columns + 12;
  for (int32_t room : {length, length + 1, length / 2, 12, ample}) {
    std::vector<char> at(size_t(room > 0 ? room : 0) + 1, 0x5A);
    int32_t written = table.write_export_line(place, columns, at.data(), room);
    require(at[size_t(room > 0 ? room : 0)] == 0x5A);
    bool whole_row = place >= 0 && place < table.data_rows();
    require(written >= 0 || room < ample || carriage_returns || !whole_row || columns == 0);
    if (written < 0) continue;
    require(written == length && memcmp(at.data(), line, size_t(length)) == 0);
  }
}

void check_shown(const Table& table, int32_t columns) {
  char scratch[12];
  for (int32_t row = -1; row <= table.data_rows(); ++row)
    for (int32_t column = -1; column <= columns; ++column) (void)strlen(table.shown_text(row, column, scratch));
  for (int32_t place = -1; place <= table.data_rows(); ++place) {
    const char* line = table.export_line(place, columns, 0);
    fuzz::require_in_buffer(line);
    int32_t tabs = 0;
    for (const char* c = line; *c; ++c) tabs += *c == '\t';
    require(tabs >= columns);  // a cell's own tabs come on top
    check_written(table, place, columns, line);
    set_buffer_position(0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  int32_t columns = input.byte() % 40;
  StringVar text = nullptr;
  require(string_new(&text, input.rest()));
  size_t length = text ? strlen(text) : 0;
  int32_t rows = 0;
  for (size_t i = 0; i < length; ++i) rows += text[i] == '|';
  carriage_returns = length && memchr(text, '\r', length);
  const char* begin = text;
  std::string original(text ? text : "");
  Table table(text);  // takes the text over
  require(table.complete());
  require(table.rows() == rows);
  check_cells(table, begin, begin + length + 1, original);
  check_shown(table, columns);
  std::reverse(table.order(), table.order() + table.data_rows());
  check_shown(table, table.header_cells() + 1);
  return 0;
}
