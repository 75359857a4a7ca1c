#include "dialogs/table.h"

#include <cstring>

#include "runtime/heaps.h"

namespace vantrel {

Table::Table(StringVar text) : text_(text) {
  static char no_table[1] = "";
  char* data = text_ ? text_ : no_table;
  // Every "|" ends a row, and every ";" a cell and every line feed a piece:
  // room for all of them, counted in one pass.
  size_t row_count = 0, cell_room = 1;
  for (const char* c = data; *c; ++c) {
    row_count += *c == '|';
    cell_room += *c == ';' || *c == '\n';
  }
  cells_ = static_cast<char**>(general_alloc_array(cell_room, sizeof(char*)));
  first_cell_ = static_cast<int32_t*>(general_alloc_array(row_count + 1, sizeof(int32_t)));
  order_ = static_cast<int32_t*>(general_alloc_array(row_count + 1, sizeof(int32_t)));
  if (!cells_ || !first_cell_ || !order_) return;
  int32_t cell = 0;
  char* field = data;
  for (char* c = data; *c; ++c) {
    if (*c == '\r') {
      carriage_returns_ = true;
    } else if (*c == ';' || (*c == '\n' && rows_ > 0)) {  // a header cell is a title whole
      *c = 0;
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
// lie all over the text. Where the rows of a run of places lie is looked up
// in one tight loop, so that the processor has many of those reads under
// way at once; each row's text is then fetched a few places before it is
// written. (Prefetching the texts of a whole run at once gained nothing
// here: the first rows of the run came before their texts.)
__attribute__((target("sse"))) void Table::fetch_run(int32_t place) const {
  constexpr int32_t LEAD = 8;
  auto prefetch = [](const char* text) {
    // A prefetch does not fault, whatever it is given: a row without cells
    // gives the null of the next free slot, and its address is counted as a
    // number rather than moved as a pointer.
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(text)));
  };
  if (place >= fetched_from_ && place < fetched_to_) {
    if (place + LEAD < fetched_to_) prefetch(run_text_[place + LEAD - fetched_from_]);
    return;
  }
  int32_t end = place + FETCH_RUN < data_rows() ? place + FETCH_RUN : data_rows();
  for (int32_t at = place; at < end; ++at) run_text_[at - place] = cells_[first_cell_[order_[at] + 1]];
  for (int32_t at = place; at < end && at <= place + LEAD; ++at) prefetch(run_text_[at - place]);
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

namespace {

// The number's digits at `at`, by a constant divisor (a multiplication);
// what follows them.
char* write_decimal(uint32_t value, char* at) {
  char digits[10];
  int count = 0;
  do {
    digits[count++] = char('0' + value % 10);
    value /= 10;
  } while (value);
  while (count) *at++ = digits[--count];
  return at;
}

}  // namespace

// A row's pieces lie side by side in the text, each ended by a zero: the
// ones the line takes are copied as one run, each zero made the tab after
// its piece.
int32_t Table::write_export_line(int32_t place, int32_t columns, char* at, int32_t room) const {
  if (place < 0 || place >= data_rows() || room < 12 || carriage_returns_) return -1;
  if (columns <= 0) return 0;
  fetch_run(place);
  int32_t row = order_[place] + 1;
  char* out = write_decimal(uint32_t(row), at);
  *out++ = '\t';  // the row number's column
  int32_t wanted = columns - 1, pieces = cell_count(row);
  int32_t used = pieces < wanted ? pieces : wanted;
  // Room for the pieces and their tabs, with the missing pieces' tabs kept back.
  int64_t free_bytes = int64_t(room) - (out - at) - (wanted - used);
  const char* c = used > 0 ? cell(row, 0) : nullptr;
  for (int32_t ends = used; ends > 0; ++c, --free_bytes) {
    if (free_bytes <= 0) return -1;
    char byte = *c;
    if (!byte) {
      byte = '\t';
      --ends;
    }
    *out++ = byte;
  }
  if (free_bytes < 0) return -1;
  for (int32_t missing = used; missing < wanted; ++missing) *out++ = '\t';
  return int32_t(out - at);
}

}  // namespace vantrel
