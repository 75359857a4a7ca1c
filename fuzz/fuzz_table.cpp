// The table of the multi-column list: rows by "|", cells by ";" and line
// feeds, every cell within the text, and every shown text and export line
// ended within the buffer, in the table's order and reversed.
#include <algorithm>

#include "dialogs/table.h"
#include "fuzz_input.h"

using namespace vantrel;
using fuzz::require;

namespace {

void check_cells(const Table& table, const char* begin, const char* end) {
  for (int32_t row = 0; row < table.rows(); ++row) {
    require(table.cell_count(row) >= 0);
    for (int32_t column = 0; column < table.cell_count(row); ++column) {
      const char* cell = table.cell(row, column);
      require(cell >= begin && cell + strlen(cell) < end);
    }
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
  const char* begin = text;
  Table table(text);  // takes the text over
  require(table.complete());
  require(table.rows() == rows);
  check_cells(table, begin, begin + length + 1);
  check_shown(table, columns);
  std::reverse(table.order(), table.order() + table.data_rows());
  check_shown(table, table.header_cells() + 1);
  return 0;
}
