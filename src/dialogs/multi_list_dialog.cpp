// ShowMultiListBox: one row picked from a table that sorts by its headers.
#include <cstring>
#include <new>

#include "dialogs/dialogs.h"
#include "dialogs/skeleton.h"
#include "dialogs/table.h"
#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"
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

// The table is the rows' storage while the list shows it: the list holds
// none of them, and the table goes with the list.
struct TableRows : RowSource {
  Table table;
  explicit TableRows(StringVar text) : table(text) {
    rows = table.data_rows();
    order = table.order();
    this->text = shown;
    release = [](RowSource* source) { delete static_cast<TableRows*>(source); };
  }
  static const char* shown(const RowSource* source, int32_t row, int32_t column, char* scratch) {
    return static_cast<const TableRows*>(source)->table.shown_text(row, column, scratch);
  }
};

void add_header(const Table& table, int32_t width) {
  int32_t count = table.header_cells();
  char* cell = count > 0 ? const_cast<char*>(table.cell(0, 0)) : nullptr;
  for (int32_t j = 0; j < count; ++j, cell += strlen(cell) + 1) {
    char* mark = const_cast<char*>(text_lead_bytes().find(cell, '~'));  // a character, not a second byte
    if (mark) {
      *mark = 0;
      add_gadget_column(TABLE_LIST, j + 1, mark + 1, parse_integer(cell));
      *mark = '~';
    } else {
      add_gadget_column(TABLE_LIST, j + 1, cell, (width - 10) / count);
    }
  }
}

// The export's rows in the list's order, straight from the table.
const char* read_row(const void* owner, int32_t place, int32_t columns, int32_t p) {
  return static_cast<const Table*>(owner)->export_line(place, columns, p);
}
int32_t write_row(const void* owner, int32_t place, int32_t columns, char* at, int32_t room) {
  return static_cast<const Table*>(owner)->write_export_line(place, columns, at, room);
}

}  // namespace

void show_multi_list_dialog(StringVar* arguments, StringVar* result) {
  int32_t width = parse_extent(arguments[WIDTH]);
  int32_t height = parse_extent(arguments[HEIGHT]);
  // The table keeps the argument's text as its storage: split in place, not copied.
  auto* rows = new (std::nothrow) TableRows(arguments[TABLE]);
  if (rows) arguments[TABLE] = nullptr;
  if (!rows || !rows->table.complete()) {
    delete rows;
    return;
  }
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], width, height, arguments[HOST_WINDOW], 9)) {
    delete rows;
    return;
  }
  dialog.label_next_control("Table");
  // From here on the list owns the rows, and frees them when it goes.
  const Table* table = create_virtual_list_icon_gadget(TABLE_LIST, 5, 5, width - 10, height - 37, "Row", 0,
                                                       TABLE_STYLE, rows)
                           ? &rows->table
                           : nullptr;
  find_list_icon_rows_by_typing(TABLE_LIST);  // by the first column people see, not the hidden row number
  dialog.add_ok_and_cancel(width, height);
  // The columns go in before the list shows with its rows.
  if (table && table->rows() > 0) add_header(*table, width);
  show_list_icon_rows(TABLE_LIST);
  if (sorter_register(TABLE_LIST, ARROWS_IMAGE_LEFT) == SORTER_DONE) {
    for (int32_t column = 2; column <= sorter_column_count(TABLE_LIST); ++column)
      sorter_set_column_type(TABLE_LIST, column, 0);
    sorter_sort_column(TABLE_LIST, 2, 1);
  }
  focus_list_icon_row(TABLE_LIST);
  SetFocus(gadget_handle(TABLE_LIST));
  // The whole row has the header's cells: a short or long last row must not
  // cut or pad every answer.
  int32_t row_cells = table ? table->header_cells() : 0;
  int32_t result_column = parse_integer(arguments[RESULT_COLUMN]);

  DialogSkeleton::Ending ending = dialog.wait_for_ending();
  if (ending == DialogSkeleton::Ending::Replaced) return;  // the table went with its list
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
  // A file that cannot be written does not stop the answer.
  if (table) export_rows_to_file(TABLE_LIST, EXPORT_FILE, read_row, table, write_row);
}

}  // namespace vantrel
