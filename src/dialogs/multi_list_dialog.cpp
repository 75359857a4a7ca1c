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

}  // namespace

void show_multi_list_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_integer(arguments[WIDTH]);
  int32_t height = parse_integer(arguments[HEIGHT]);
  Table table(arguments[TABLE]);
  if (!table.complete) return;
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) return;
  create_list_icon_gadget(TABLE_LIST, 5, 5, width - 10, height - 37, "Row", 0, TABLE_STYLE);
  dialog.add_ok_and_cancel(width, height);
  if (table.rows > 0) {
    add_header(table, width);
    add_rows(table);
  }
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
  sorter_export_to_file(TABLE_LIST, EXPORT_FILE);  // a file that cannot be written does not stop the answer
}

}  // namespace vantrel
