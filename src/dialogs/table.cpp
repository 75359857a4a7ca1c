#include "dialogs/table.h"

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/string_functions.h"

namespace vantrel {

Table::Table(StringVar text) : text_(text) {
  static char no_table[1] = "";
  char* data = text_ ? text_ : no_table;
  int32_t row_count = count_occurrences(data, "|");
  // Every ";" ends a cell and every line feed a piece: room for both.
  size_t cell_room = size_t(count_occurrences(data, ";")) + size_t(count_occurrences(data, "\n")) + 1;
  cells_ = static_cast<char**>(general_alloc_array(cell_room, sizeof(char*)));
  first_cell_ = static_cast<int32_t*>(general_alloc_array(size_t(row_count) + 1, sizeof(int32_t)));
  order_ = static_cast<int32_t*>(general_alloc_array(size_t(row_count) + 1, sizeof(int32_t)));
  if (!cells_ || !first_cell_ || !order_) return;
  int32_t cell = 0;
  char* field = data;
  for (char* c = data; *c; ++c) {
    if (*c == ';') {
      *c = 0;
      cells_[cell++] = field;
      field = c + 1;
    } else if (*c == '\n' && rows_ > 0) {
      *c = 0;  // a piece of a data cell; a header cell is a title whole
      cells_[cell++] = field;
      field = c + 1;
    } else if (*c == '|') {
      *c = 0;
      first_cell_[++rows_] = cell;  // text after the row's last ";" is dropped
      field = c + 1;
    }
  }
  // The pieces of a row's last cell after its last ";" belong to no cell.
  for (int32_t row = 0; row < data_rows(); ++row) order_[row] = row;
  complete_ = true;
}

Table::~Table() {
  general_free(cells_);
  general_free(first_cell_);
  general_free(order_);
  string_free(text_);
}

const char* Table::shown_text(int32_t row, int32_t column, char* scratch) const {
  if (row < 0 || row >= data_rows() || column < 0) return "";
  if (column == 0) return decimal_text(uint32_t(row + 1), scratch, 10);
  return column - 1 < cell_count(row + 1) ? cell(row + 1, column - 1) : "";
}

// The export asks for its lines place by place, and after a sort the rows
// lie all over the text. Where they lie is looked up for a run of places at
// a time, in a loop without branches to mispredict, so that the processor
// fetches the rows from memory side by side rather than one after another.
__attribute__((target("sse"))) void Table::fetch_run(int32_t place) const {
  constexpr int32_t RUN = 64;
  if (place >= fetched_from_ && place < fetched_to_) return;
  int32_t end = place + RUN < data_rows() ? place + RUN : data_rows();
  for (int32_t at = place; at < end; ++at) {
    // A prefetch does not fault, whatever it is given: a row without cells
    // gives the null of the next free slot, and its address is counted as a
    // number rather than moved as a pointer.
    auto text = reinterpret_cast<uintptr_t>(cells_[first_cell_[order_[at] + 1]]);
    __builtin_prefetch(reinterpret_cast<const void*>(text));
    __builtin_prefetch(reinterpret_cast<const void*>(text + 32));
  }
  fetched_from_ = place;
  fetched_to_ = end;
}

const char* Table::export_line(int32_t place, int32_t columns, int32_t p) const {
  if (place >= 0) fetch_run(place);
  int32_t row = place >= 0 && place < data_rows() ? order_[place] : -1;
  size_t length = 12;
  for (int32_t column = 1; row >= 0 && column < columns && column - 1 < cell_count(row + 1); ++column)
    length += strlen(cell(row + 1, column - 1)) + 1;
  length += size_t(columns > 0 ? columns : 0);
  char* at = buffer_reserve(int32_t(length), p);
  if (!at) return "";
  char scratch[12];
  for (int32_t column = 0; column < columns; ++column) {
    const char* text = shown_text(row, column, scratch);
    size_t n = strlen(text);
    memcpy(at, text, n);
    at += n;
    *at++ = '\t';
  }
  *at = 0;
  return buffer_address_at(p);
}

}  // namespace vantrel
