#pragma once
// The table of ShowMultiListBox: the table text split in one pass in place,
// kept as the rows' storage while the list shows it, and the order in
// which the list shows its rows. Rows end with "|" and cells with ";";
// text after a row's last ";" and after the last "|" is no cell and no row;
// empty cells are kept. Row 0 is the header. A line feed in a data cell
// ends a piece, and each piece stands in a column of its own, as the
// platform's list would place it.
#include <cstddef>
#include <cstdint>

#include "runtime/lead_bytes.h"
#include "runtime/strings.h"

namespace vantrel {

class Table {
 public:
  // Takes the text over (it is freed with the table); null is an empty table.
  explicit Table(StringVar text);
  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  bool complete() const { return complete_; }
  int32_t rows() const { return rows_; }  // the header included
  int32_t data_rows() const { return rows_ > 1 ? rows_ - 1 : 0; }
  int32_t cell_count(int32_t row) const { return first_piece_[row + 1] - first_piece_[row]; }
  // A row's pieces lie one after another, each ended by a zero: a piece is
  // found by passing the ones before it.
  const char* cell(int32_t row, int32_t column) const;
  int32_t header_cells() const { return rows_ > 0 ? cell_count(0) : 0; }

  // What the list shows for data row `row` (from 0) in list column
  // `column`: its number in the table (from 1) in column 0, its pieces after.
  // The number is written into `scratch` (12 bytes).
  const char* shown_text(int32_t row, int32_t column, char* scratch) const;

  // Where each data row stands: order()[place] is the data row shown there.
  int32_t* order() { return order_; }

  // The export's line for the row at `place`: its number, then each of its
  // first `columns - 1` pieces, each followed by a tab, at p.
  const char* export_line(int32_t place, int32_t columns, int32_t p) const;
  // The same line written at `at` in at most `room` bytes; its length, or
  // -1 when it does not fit or the table holds a carriage return (a line
  // break in the file, which export_line's reader cuts the line at).
  int32_t write_export_line(int32_t place, int32_t columns, char* at, int32_t room) const;

 private:
  void fetch_run(int32_t place) const;
  template <bool DOUBLE_BYTE>
  void split(char* data, size_t length, const LeadBytes& lead_bytes);

  StringVar text_ = nullptr;
  const char* data_ = "";
  // Per row, where its first piece starts in the text, and how many pieces
  // the rows before it hold (one more entry ends the last row): 8 bytes a
  // row, where a pointer per piece took 12 to 24.
  uint32_t* row_start_ = nullptr;
  int32_t* first_piece_ = nullptr;
  int32_t* order_ = nullptr;
  int32_t rows_ = 0;
  bool complete_ = false;
  bool carriage_returns_ = false;  // anywhere in the text
  static constexpr int32_t FETCH_RUN = 64;
  mutable int32_t fetched_from_ = 0, fetched_to_ = 0;  // the run of places fetch_run last looked up
  mutable const char* run_text_[FETCH_RUN] = {};       // where each of its rows' text starts
};

}  // namespace vantrel
