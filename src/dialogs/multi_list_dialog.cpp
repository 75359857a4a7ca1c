// ShowMultiListBox: one row picked from a table that sorts by its headers.
#include <cstring>

#include "dialogs/dialogs.h"
#include "dialogs/skeleton.h"
#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "sorter/sorter.h"
#include "sorter/text_files.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {

enum MultiListArgument { TITLE, TABLE, RESULT_COLUMN, WIDTH, HEIGHT, HOST_WINDOW };
constexpr int32_t TABLE_LIST = 3;
constexpr uint32_t TABLE_STYLE = 0x50000008;  // full-row select, header drag-and-drop, selection always shown
constexpr const char* EXPORT_FILE = "C:\\Items.txt";

// The table split in one pass, in place in the export's own copy: rows end
// with "|" and cells with ";"; text after a row's last ";" and after the
// last "|" is no cell and no row; empty cells are kept.
struct Table {
  char** cells = nullptr;       // every cell of every row, in order
  int32_t* first_cell = nullptr;  // per row, its first cell's index; one more entry ends the last row
  int32_t rows = 0;
  bool complete = false;
  bool line_feeds = false;  // a "\n" in a cell splits it in the list as it does a row's text

  explicit Table(char* data) {
    static char no_table[1] = "";
    if (!data) data = no_table;  // a null argument is an empty table
    int32_t row_count = count_occurrences(data, "|");
    int32_t cell_count = count_occurrences(data, ";");
    cells = static_cast<char**>(general_alloc_array(size_t(cell_count) + 1, sizeof(char*)));
    first_cell = static_cast<int32_t*>(general_alloc_array(size_t(row_count) + 1, sizeof(int32_t)));
    if (!cells || !first_cell) return;
    int32_t cell = 0;
    char* field = data;
    for (char* c = data; *c; ++c) {
      if (*c == ';') {
        *c = 0;
        cells[cell++] = field;
        field = c + 1;
      } else if (*c == '|') {
        *c = 0;
        first_cell[++rows] = cell;  // text after the row's last ";" is dropped
        field = c + 1;
      } else if (*c == '\n') {
        line_feeds = true;
      }
    }
    // Cells after the last "|" belong to no row.
    complete = true;
  }
  ~Table() {
    general_free(cells);
    general_free(first_cell);
  }
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  int32_t cell_count(int32_t row) const { return first_cell[row + 1] - first_cell[row]; }
  const char* cell(int32_t row, int32_t column) const { return cells[first_cell[row] + column]; }
};

void add_header(const Table& table, int32_t width) {
  int32_t count = table.cell_count(0);
  for (int32_t j = 0; j < count; ++j) {
    char* cell = const_cast<char*>(table.cell(0, j));
    char* mark = strchr(cell, '~');
    if (mark) {
      *mark = 0;
      add_gadget_column(TABLE_LIST, j + 1, mark + 1, parse_integer(cell));
      *mark = '~';
    } else {
      add_gadget_column(TABLE_LIST, j + 1, cell, (width - 10) / count);
    }
  }
}

// Each data row as "number\ncell\ncell...", the list's way to fill the columns.
bool add_rows(const Table& table) {
  size_t capacity = 256;
  auto* text = static_cast<char*>(general_alloc(capacity));
  if (!text) return false;
  hold_list_icon_drawing(TABLE_LIST, true, table.rows - 1);
  for (int32_t row = 1; row < table.rows; ++row) {
    size_t needed = 16;
    for (int32_t j = 0; j < table.cell_count(row); ++j) needed += strlen(table.cell(row, j)) + 1;
    if (needed > capacity) {
      auto* grown = static_cast<char*>(general_realloc(text, needed));
      if (!grown) break;
      text = grown;
      capacity = needed;
    }
    char* at = decimal_text(uint32_t(row), text, 10);
    at = text + strlen(text);
    for (int32_t j = 0; j < table.cell_count(row); ++j) {
      *at++ = '\n';
      size_t length = strlen(table.cell(row, j));
      memcpy(at, table.cell(row, j), length);
      at += length;
    }
    *at = 0;
    add_gadget_item(TABLE_LIST, -1, text);
  }
  hold_list_icon_drawing(TABLE_LIST, false);
  general_free(text);
  return true;
}

// The export reads its rows from the table rather than from the list: a
// sort leaves each row's new index in its data value, so the table's rows
// follow the list's order without a message per cell. Once the list holds
// the cells, each row's run of cells under the header becomes its line of
// the export in place: the zeros that ended its cells turn into tabs.
class TableExport {
 public:
  explicit TableExport(Table& table)
      : rows_(table.rows > 1 ? table.rows - 1 : 0), header_cells_(table.rows > 0 ? table.cell_count(0) : 0) {
    runs_ = static_cast<RowRun*>(general_alloc_array(size_t(rows_) + 1, sizeof(RowRun)));
    ordered_ = static_cast<RowRun*>(general_alloc_array(size_t(rows_) + 1, sizeof(RowRun)));
    slots_ = static_cast<const int32_t**>(general_alloc_array(size_t(rows_) + 1, sizeof(int32_t*)));
    // The rows stand in the table's order until the first sort.
    watching_ = !table.line_feeds && runs_ && ordered_ && slots_ && list_icon_data_slots(TABLE_LIST, slots_, rows_);
    for (int32_t row = 0; watching_ && row < rows_; ++row) runs_[row] = line_of(table, row + 1);
  }
  ~TableExport() {
    general_free(runs_);
    general_free(ordered_);
    general_free(slots_);
  }
  TableExport(const TableExport&) = delete;
  TableExport& operator=(const TableExport&) = delete;

  // From the table when the list still has its rows and columns and their
  // places make a whole order, else from the list.
  void write(const char* file_name) {
    if (count_gadget_items(TABLE_LIST) == rows_ && sorter_column_count(TABLE_LIST) == header_cells_ + 1 &&
        settle_order())
      export_rows_to_file(TABLE_LIST, file_name, read_row, this);
    else
      sorter_export_to_file(TABLE_LIST, file_name);
  }

 private:
  struct RowRun {
    const char* start;  // the row's cells under the header, each followed by a tab
    int32_t length;
    int32_t missing;  // header cells the row lacks: a tab each
    int32_t number;   // the row's number in the table
  };
  RowRun line_of(Table& table, int32_t row) const {
    int32_t cells = table.cell_count(row) < header_cells_ ? table.cell_count(row) : header_cells_;
    if (cells == 0) return {"", 0, header_cells_, row};
    char* start = const_cast<char*>(table.cell(row, 0));
    const char* last = table.cell(row, cells - 1);
    auto length = int32_t(last + strlen(last) + 1 - start);
    for (int32_t i = 0; i < length; ++i)
      if (!start[i]) start[i] = '\t';
    return {start, length, header_cells_ - cells, row};
  }

  // Each row's run goes to its place in the list's order.
  bool settle_order() {
    if (!watching_) return false;
    for (int32_t place = 0; place < rows_; ++place) ordered_[place].start = nullptr;
    for (int32_t row = 0; row < rows_; ++row) {
      int32_t place = *slots_[row];
      if (place < 0 || place >= rows_ || ordered_[place].start) return false;
      ordered_[place] = runs_[row];
    }
    return true;
  }

  // The row's number, then its cells each followed by a tab.
  static const char* read_row(const void* owner, int32_t row, int32_t, int32_t p) {
    auto* self = static_cast<const TableExport*>(owner);
    // The runs lie scattered over the table: the ones a little ahead are
    // fetched while this one is copied.
    if (row + 16 < self->rows_) __builtin_prefetch(self->ordered_[row + 16].start);
    const RowRun& run = self->ordered_[row];
    char* at = buffer_reserve(12 + run.length + run.missing, p);
    if (!at) return "";
    decimal_text(uint32_t(run.number), at, 10);
    at += strlen(at);
    *at++ = '\t';
    memcpy(at, run.start, size_t(run.length));
    at += run.length;
    for (int32_t i = 0; i < run.missing; ++i) *at++ = '\t';
    *at = 0;
    return buffer_address_at(p);
  }

  int32_t rows_;
  int32_t header_cells_;
  RowRun* runs_ = nullptr;     // in the table's order
  RowRun* ordered_ = nullptr;  // in the list's order, settled for each export
  const int32_t** slots_ = nullptr;
  bool watching_ = false;
};

}  // namespace

void show_multi_list_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  Table table(arguments[TABLE]);
  if (!table.complete) return;
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  create_list_icon_gadget(TABLE_LIST, 5, 5, width - 10, height - 37, "Row", 0, TABLE_STYLE);
  find_list_icon_rows_by_typing(TABLE_LIST);  // by the first column people see, not the hidden row number
  dialog.add_ok_and_cancel(width, height);
  if (table.rows > 0) {
    add_header(table, width);
    add_rows(table);
  }
  TableExport table_export(table);
  if (sorter_register(TABLE_LIST, ARROWS_IMAGE_LEFT) == SORTER_DONE) {
    for (int32_t column = 2; column <= sorter_column_count(TABLE_LIST); ++column)
      sorter_set_column_type(TABLE_LIST, column, 0);
    sorter_sort_column(TABLE_LIST, 2, 1);
  }
  SetFocus(gadget_handle(TABLE_LIST));
  // The whole row has the header's cells: a short or long last row must not
  // cut or pad every answer.
  int32_t row_cells = table.rows > 0 ? table.cell_count(0) : 0;
  int32_t result_column = parse_integer(arguments[RESULT_COLUMN]);

  DialogSkeleton::Ending ending = dialog.wait_for_ending();
  if (ending == DialogSkeleton::Ending::Replaced) return;
  int32_t selected = ending == DialogSkeleton::Ending::Ok ? get_gadget_state(TABLE_LIST) : -1;
  if (selected < 0) {
    string_assign(result, "");
    return;
  }
  int32_t p = buffer_position();
  buffer_terminate();
  if (result_column == -1) {
    for (int32_t j = 1; j <= row_cells; ++j) {
      get_gadget_item_text(TABLE_LIST, selected, j, buffer_position());
      append_string("|", buffer_position());
    }
  } else {
    get_gadget_item_text(TABLE_LIST, selected, result_column, p);
  }
  string_take(result, p);
  table_export.write(EXPORT_FILE);  // a file that cannot be written does not stop the answer
}

}  // namespace vantrel
