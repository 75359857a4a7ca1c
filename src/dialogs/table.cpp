#include "dialogs/table.h"

#include <cstring>
#include <initializer_list>

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"

namespace vantrel {

namespace {

// How many of the text's first `length` bytes are `byte`, eight at a time.
size_t count_byte(const char* text, size_t length, char byte) {
  constexpr uint64_t ONES = 0x0101010101010101ull, LOWS = 0x7F7F7F7F7F7F7F7Full;
  const uint64_t pattern = ONES * uint8_t(byte);
  size_t count = 0, at = 0;
  for (; at + 8 <= length; at += 8) {
    uint64_t word;
    memcpy(&word, text + at, 8);
    uint64_t x = word ^ pattern;
    uint64_t zero = ~(((x & LOWS) + LOWS) | x | LOWS);  // the high bit of exactly each zero byte of x
    count += size_t(((zero >> 7) * ONES) >> 56);
  }
  for (; at < length; ++at) count += text[at] == byte;
  return count;
}

// The bytes the split stops at; every other byte is passed over.
constexpr struct SplitBytes {
  bool stops[256] = {};
  constexpr SplitBytes() {
    for (unsigned char c : {'|', ';', '\n', '\r'}) stops[c] = true;
  }
} split_bytes;

// How many `byte`s stand as characters of their own in the text: the byte
// after a lead byte is the second half of its character.
size_t count_characters(const char* text, size_t length, char byte, const LeadBytes& lead_bytes) {
  size_t count = 0;
  for (const char* at = text; (at = lead_bytes.find(at, length - size_t(at - text), byte)); ++at) ++count;
  return count;
}

}  // namespace

Table::Table(StringVar text) : text_(text) {
  static char no_table[1] = "";
  char* data = text_ ? text_ : no_table;
  data_ = data;
  size_t length = strlen(data);
  const LeadBytes& lead_bytes = text_lead_bytes();
  size_t row_count = lead_bytes.any() ? count_characters(data, length, '|', lead_bytes) : count_byte(data, length, '|');
  row_start_ = static_cast<uint32_t*>(general_alloc_array(row_count + 1, sizeof(uint32_t)));
  first_piece_ = static_cast<int32_t*>(general_alloc_array(row_count + 1, sizeof(int32_t)));
  order_ = static_cast<int32_t*>(general_alloc_array(row_count + 1, sizeof(int32_t)));
  if (!row_start_ || !first_piece_ || !order_) return;
  if (lead_bytes.any()) split<true>(data, length, lead_bytes);
  else split<false>(data, length, lead_bytes);
  for (int32_t row = 0; row < data_rows(); ++row) order_[row] = row;
  complete_ = true;
}

// Every ";" ends a cell, and every line feed a piece of a data row's cell
// (a header cell is a title whole); every "|" ends a row, and the text after
// a row's last ";" is no cell. In a code page of double-byte characters, a
// separator's byte that is a character's second half is passed over.
template <bool DOUBLE_BYTE>
void Table::split(char* data, size_t length, const LeadBytes& lead_bytes) {
  int32_t pieces = 0;
  for (size_t at = 0; at < length; ++at) {
    char byte = data[at];
    if (!split_bytes.stops[static_cast<unsigned char>(byte)]) {
      if constexpr (DOUBLE_BYTE) at += lead_bytes.lead(byte) && at + 1 < length;
      continue;
    }
    if (byte == '\r') {
      carriage_returns_ = true;
    } else if (byte == ';' || (byte == '\n' && rows_ > 0)) {
      data[at] = 0;
      ++pieces;
    } else if (byte == '|') {
      data[at] = 0;
      ++rows_;
      first_piece_[rows_] = pieces;
      row_start_[rows_] = uint32_t(at + 1);
    }
  }
}

Table::~Table() {
  general_free(row_start_);
  general_free(first_piece_);
  general_free(order_);
  string_free(text_);
}

const char* Table::cell(int32_t row, int32_t column) const {
  const char* piece = data_ + row_start_[row];
  for (; column > 0; --column) piece += strlen(piece) + 1;
  return piece;
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
  auto prefetch = [](const char* text) { __builtin_prefetch(text); };
  if (place >= fetched_from_ && place < fetched_to_) {
    if (place + LEAD < fetched_to_) prefetch(run_text_[place + LEAD - fetched_from_]);
    return;
  }
  int32_t end = place + FETCH_RUN < data_rows() ? place + FETCH_RUN : data_rows();
  for (int32_t at = place; at < end; ++at) run_text_[at - place] = data_ + row_start_[order_[at] + 1];
  for (int32_t at = place; at < end && at <= place + LEAD; ++at) prefetch(run_text_[at - place]);
  fetched_from_ = place;
  fetched_to_ = end;
}

const char* Table::export_line(int32_t place, int32_t columns, int32_t p) const {
  if (place >= 0) fetch_run(place);
  int32_t row = place >= 0 && place < data_rows() ? order_[place] + 1 : -1;
  int32_t pieces = row >= 0 ? cell_count(row) : 0;
  int32_t taken = columns - 1 < pieces ? columns - 1 : pieces;
  // The row's first `taken` pieces lie side by side from its start.
  const char* first = row >= 0 ? data_ + row_start_[row] : "";
  const char* end = first;
  for (int32_t piece = 0; piece < taken; ++piece) end += strlen(end) + 1;
  size_t length = 12 + size_t(end - first) + size_t(columns > 0 ? columns : 0);
  char* at = buffer_reserve(int32_t(length), p);
  if (!at) return "";
  if (columns > 0) {
    char scratch[12];
    const char* number = row >= 0 ? decimal_text(uint32_t(row), scratch, 10) : "";
    size_t n = strlen(number);
    memcpy(at, number, n);
    at += n;
    *at++ = '\t';
  }
  for (const char* c = first; c < end; ++c) *at++ = *c ? *c : '\t';
  for (int32_t missing = taken; missing < columns - 1; ++missing) *at++ = '\t';
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
  const char* c = data_ + row_start_[row];
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
