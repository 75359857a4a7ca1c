#include "sorter/sorter.h"

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "runtime/linked_list.h"
#include "runtime/object_table.h"
#include "runtime/platform_calls.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "sorter/sort_engine.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/graphics/images.h"

namespace vantrel {
namespace {

constexpr int32_t COLUMNS = 256;
constexpr int32_t TITLE_LIMIT = 254;

struct SortedList {
  HWND top_window;
  int32_t gadget;
  HWND list;
  int8_t column_types[COLUMNS];
  int32_t arrow_style;
  int32_t rows_numbered;
  int32_t next_direction;
  HWND last_list;
  int32_t last_column;
  wchar_t saved_title[TITLE_LIMIT + 1];
};

struct WindowEntry {
  HWND window;
  WNDPROC previous;
};

constexpr LayoutEntry string_layout[] = {0, LAYOUT_END};

List sorted_lists = {};
List strings = {};
List windows = {};
bool direction_given = false;
HBITMAP arrows[2] = {};  // ascending, descending

// The arrows as 12 x 12 BMP file images of 8 bits per pixel: a black frame on
// white and a black arrow with an eight-pixel head and a two-pixel stem.
constexpr int ARROW_SIZE = 12;
constexpr size_t ARROW_FILE_SIZE = 14 + 40 + 2 * 4 + ARROW_SIZE * ARROW_SIZE;

constexpr std::array<unsigned char, ARROW_FILE_SIZE> arrow_file_image(bool up) {
  std::array<unsigned char, ARROW_FILE_SIZE> b = {};
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, ARROW_FILE_SIZE);
  put32(10, 14 + 40 + 8);
  put32(14, 40);
  put32(18, ARROW_SIZE);
  put32(22, ARROW_SIZE);
  b[26] = 1;   // planes
  b[28] = 8;   // bits per pixel
  put32(46, 2);  // colours used: black, white
  put32(54, 0x000000);
  put32(58, 0xFFFFFF);
  // Rows of the arrow from its tip: the head widens by two a row, then the stem.
  constexpr int widths[] = {2, 4, 6, 8, 2, 2, 2, 2};
  for (int y = 0; y < ARROW_SIZE; ++y) {      // y from the top
    for (int x = 0; x < ARROW_SIZE; ++x) {
      bool black = x == 0 || y == 0 || x == ARROW_SIZE - 1 || y == ARROW_SIZE - 1;
      int arrow_row = up ? y - 2 : (ARROW_SIZE - 1 - y) - 2;
      if (arrow_row >= 0 && arrow_row < 8) {
        int half = widths[arrow_row] / 2;
        black = black || (x >= 6 - half && x < 6 + half);
      }
      int file_row = ARROW_SIZE - 1 - y;  // bottom-up
      b[62 + size_t(file_row) * ARROW_SIZE + size_t(x)] = black ? 0 : 1;
    }
  }
  return b;
}

constexpr auto ascending_arrow = arrow_file_image(true);
constexpr auto descending_arrow = arrow_file_image(false);

SortedList* record_of_gadget(int32_t gadget) {
  list_reset(&sorted_lists);
  while (ListElement* e = list_next(&sorted_lists)) {
    auto* record = static_cast<SortedList*>(element_data(e));
    if (record->gadget == gadget) return record;
  }
  return nullptr;
}

SortedList* record_of_list(HWND list) {
  list_reset(&sorted_lists);
  while (ListElement* e = list_next(&sorted_lists)) {
    auto* record = static_cast<SortedList*>(element_data(e));
    if (record->list == list) return record;
  }
  return nullptr;
}

// The window's entry, or null. Entries of windows that are gone are dropped
// when a window is not found, not on every message the watched windows get.
WindowEntry* entry_of_window(HWND window) {
  list_reset(&windows);
  while (ListElement* e = list_next(&windows)) {
    auto* entry = static_cast<WindowEntry*>(element_data(e));
    if (entry->window == window && IsWindow(window)) return entry;
  }
  list_reset(&windows);
  while (ListElement* e = list_next(&windows)) {
    if (!IsWindow(static_cast<WindowEntry*>(element_data(e))->window)) list_delete(&windows);
  }
  return nullptr;
}

LRESULT CALLBACK sorter_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

void forget_window(HWND window) {
  list_reset(&windows);
  while (ListElement* e = list_next(&windows)) {
    if (static_cast<WindowEntry*>(element_data(e))->window == window) list_delete(&windows);
  }
}

void subclass_window_once(HWND window) {
  if (!window || entry_of_window(window)) return;
  ListElement* e = list_add(&windows);
  if (!e) return;
  auto* entry = static_cast<WindowEntry*>(element_data(e));
  entry->window = window;
  entry->previous = replace_window_procedure(window, sorter_window_procedure);
}

bool class_is_toolkit_window(HWND window) {
  char name[12] = {};
  GetClassNameA(window, name, sizeof name);
  return strncmp(name, "WindowClass", 11) == 0;
}

int8_t column_type_of(SortedList* record, int32_t column) {
  return column >= 0 && column < COLUMNS ? record->column_types[column] : int8_t(SORT_TEXT_NOCASE);
}

HWND header_of(HWND list) { return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)); }

// The column's title as far as TITLE_LIMIT units, a pair kept whole.
void read_column_title(HWND list, int32_t column, wchar_t (&title)[TITLE_LIMIT + 1]) {
  LVCOLUMNW info = {};
  info.mask = LVCF_TEXT;
  info.pszText = title;
  info.cchTextMax = TITLE_LIMIT + 1;
  title[0] = 0;
  SendMessageW(list, LVM_GETCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&info));
  title[whole_units(title, wcsnlen(title, TITLE_LIMIT))] = 0;
}

void write_column_title(HWND list, int32_t column, const wchar_t* title) {
  LVCOLUMNW info = {};
  info.mask = LVCF_TEXT;
  info.pszText = const_cast<wchar_t*>(title);
  SendMessageW(list, LVM_SETCOLUMNW, WPARAM(column), reinterpret_cast<LPARAM>(&info));
}


// Marks the sorted column in its header as the record's arrow style says.
void mark_column(SortedList* record, HWND list, int32_t column, int32_t direction) {
  bool ascending = direction != -1;
  switch (record->arrow_style) {
    case ARROWS_TEXT: {
      // The marks are guillemets, « and », pointing the way the column runs.
      wchar_t title[TITLE_LIMIT + 8] = {ascending ? L'\x00AB' : L'\x00BB', L' '};
      wcscpy(title + 2, record->saved_title);
      wcscat(title, ascending ? L" \x00BB" : L" \x00AB");
      write_column_title(list, column, title);
      break;
    }
    case ARROWS_IMAGE_LEFT:
      set_header_image(list, sorter_arrow(ascending), column, 0);
      break;
    case ARROWS_IMAGE_RIGHT:
      set_header_image(list, sorter_arrow(ascending), column, HDF_BITMAP_ON_RIGHT);
      break;
    default:
      break;
  }
}

void click_column(SortedList* record, HWND list, int32_t column) {
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0) return;
  SortContext& context = sort_context();
  context.column_type = column_type_of(record, column);
  if (context.column_type == SORT_NONE) return;
  if (column != record->last_column || list != record->last_list) {
    if (!direction_given) record->next_direction = 1;  // a new column starts ascending
    if (record->arrow_style == ARROWS_TEXT) {
      if (record->last_list) write_column_title(record->last_list, record->last_column, record->saved_title);
      read_column_title(list, column, record->saved_title);
    } else if (record->arrow_style == ARROWS_IMAGE_LEFT || record->arrow_style == ARROWS_IMAGE_RIGHT) {
      if (record->last_list) clear_header_image(record->last_list, record->last_column);
    }
  }
  // Only a list that holds its rows is kept from drawing while they move:
  // one whose rows live in their owner's memory moves none, and taking up
  // drawing again costs as much as drawing what it shows.
  bool hold_drawing = !list_icon_row_source(list);
  if (hold_drawing) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  context.list = list;
  if (!direction_given) context.direction = record->next_direction;
  if (!record->rows_numbered) {
    renumber_rows(list);
    record->rows_numbered = 1;
  }
  sort_list_column(list, column);
  record->last_column = column;
  record->last_list = list;
  record->next_direction = -context.direction;
  mark_column(record, list, column, context.direction);
  direction_given = false;
  if (hold_drawing) SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void filter_changed(HWND list, const NMHEADERW* change) {
  wchar_t text[TITLE_LIMIT + 1] = {};
  HD_TEXTFILTERW filter = {text, TITLE_LIMIT + 1};
  HDITEMW item = {};
  item.mask = HDI_FILTER;
  item.type = HDFT_ISSTRING;
  item.pvFilter = &filter;
  SendMessageW(change->hdr.hwndFrom, HDM_GETITEMW, WPARAM(change->iItem), reinterpret_cast<LPARAM>(&item));
  text[whole_units(text, wcsnlen(text, TITLE_LIMIT))] = 0;
  char wanted[TITLE_LIMIT * 3 + 1];  // room for every unit in any code page
  narrow_text(text, -1, wanted, sizeof wanted);
  find_row_by_text(list, wanted, change->iItem);
}

LRESULT after_message(HWND window, UINT message, LPARAM lparam, LRESULT result) {
  switch (message) {
    case LVM_DELETEALLITEMS:
      if (SortedList* record = record_of_list(window)) record->rows_numbered = 0;
      break;
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
    case LVM_DELETEITEM:
      renumber_rows(window);
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      if (header->code == HDN_FILTERCHANGE || header->code == HDN_FILTERBTNCLICK) {
        filter_changed(window, reinterpret_cast<NMHEADERW*>(lparam));
      } else if (header->code == LVN_COLUMNCLICK) {
        if (SortedList* record = record_of_list(header->hwndFrom)) {
          click_column(record, header->hwndFrom, reinterpret_cast<NMLISTVIEW*>(lparam)->iSubItem);
          return 0;
        }
      }
      break;
    }
    default:
      break;
  }
  return result;
}

LRESULT CALLBACK sorter_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    WindowEntry* entry = entry_of_window(window);
    if (!entry) return DefWindowProcW(window, message, wparam, lparam);
    WNDPROC previous = entry->previous;
    LRESULT result = CallWindowProcW(previous, window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      forget_window(window);  // its handle may later name another window
      return result;
    }
    return after_message(window, message, lparam, result);
  } catch (...) {
    return 0;
  }
}

// Gives every watched window that still lives its previous procedure back,
// so no window is left calling into a sorter that has stopped.
void restore_windows() {
  list_reset(&windows);
  while (ListElement* e = list_next(&windows)) {
    auto* entry = static_cast<WindowEntry*>(element_data(e));
    if (IsWindow(entry->window) &&
        window_procedure(entry->window) == sorter_window_procedure)
      replace_window_procedure(entry->window, entry->previous);
  }
}

HBITMAP make_arrow(const unsigned char* file_image, size_t size) {
  int32_t number = int32_t(catch_image(OBJECT_ANY, file_image, 0, size));
  return number ? static_cast<HBITMAP>(image_handle(number)) : nullptr;
}

}  // namespace

bool sorter_start() {
  bool made = list_new(&sorted_lists, sizeof(SortedList), nullptr) && list_new(&strings, sizeof(char*), string_layout) &&
              list_new(&windows, sizeof(WindowEntry), nullptr);
  arrows[0] = make_arrow(ascending_arrow.data(), ascending_arrow.size());
  arrows[1] = make_arrow(descending_arrow.data(), descending_arrow.size());
  return made;
}

void sorter_stop() {
  // The arrow bitmaps go with the images: no header may still show one.
  list_reset(&sorted_lists);
  while (ListElement* e = list_next(&sorted_lists)) {
    auto* record = static_cast<SortedList*>(element_data(e));
    bool images = record->arrow_style == ARROWS_IMAGE_LEFT || record->arrow_style == ARROWS_IMAGE_RIGHT;
    if (images && record->last_list && IsWindow(record->last_list)) clear_header_image(record->last_list, record->last_column);
  }
  restore_windows();
  list_free(&windows);
  list_free(&sorted_lists);
  list_free(&strings);
  // The arrows belong to the image table, which frees them when it stops.
  arrows[0] = arrows[1] = nullptr;
  direction_given = false;
}

HBITMAP sorter_arrow(bool ascending) { return arrows[ascending ? 0 : 1]; }

int32_t sorter_register(int32_t gadget, int32_t arrow_style) {
  GadgetRecord* record = find_gadget(gadget);
  if (!record) return SORTER_NO_GADGET;
  SortedList* sorted = record_of_gadget(gadget);
  if (!sorted) {
    ListElement* e = list_add(&sorted_lists);
    if (!e) return SORTER_NO_GADGET;
    sorted = static_cast<SortedList*>(element_data(e));
  }
  HWND list = record->handle;
  subclass_window_once(list);
  HWND top = GetParent(list);
  while (top) {
    subclass_window_once(top);
    if (class_is_toolkit_window(top)) break;
    HWND parent = GetParent(top);
    if (!parent) break;
    top = parent;
  }
  sorted->top_window = top;
  sorted->gadget = gadget;
  sorted->list = list;
  sorted->last_list = nullptr;
  sorted->next_direction = 1;
  sorted->arrow_style = arrow_style;
  return SORTER_DONE;
}

int32_t sorter_column_count(int32_t gadget) {
  GadgetRecord* record = find_gadget(gadget);
  HWND header = record ? header_of(record->handle) : nullptr;
  return header ? int32_t(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int32_t sorter_set_column_type(int32_t gadget, int32_t column, int32_t type) {
  if (!find_gadget(gadget)) return SORTER_NO_GADGET;
  SortedList* sorted = record_of_gadget(gadget);
  if (!sorted) return SORTER_NOT_REGISTERED;
  if (column < 0 || column >= COLUMNS) return SORTER_BAD_COLUMN;
  sorted->column_types[column] = int8_t(type);
  return SORTER_DONE;
}

int32_t sorter_sort_column(int32_t gadget, int32_t column, int32_t direction) {
  if (!find_gadget(gadget)) return SORTER_NO_GADGET;
  SortedList* sorted = record_of_gadget(gadget);
  if (!sorted) return SORTER_NOT_REGISTERED;
  if (column < 0 || column >= COLUMNS) return SORTER_BAD_COLUMN;
  if (SendMessageW(sorted->list, LVM_GETITEMCOUNT, 0, 0) <= 0) return SORTER_DONE;
  sort_context().direction = direction;
  direction_given = true;
  NMLISTVIEW click = {};
  click.hdr.hwndFrom = sorted->list;
  click.hdr.idFrom = 0;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = 0;
  click.iSubItem = column;
  SendMessageW(sorted->top_window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  direction_given = false;  // also when the click did not reach a sort
  return SORTER_DONE;
}

const char* get_column_title(HWND list, int32_t column, int32_t p) {
  wchar_t title[TITLE_LIMIT + 1];
  read_column_title(list, column, title);
  return append_wide(title, -1, p);
}

void set_column_title(HWND list, int32_t column, const char* text) { write_column_title(list, column, WideText(text).get()); }

namespace {

// The header item's format; its title is left alone, so a title of any
// length stays whole.
int header_format(HWND header, int32_t column) {
  HDITEMW item = {};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, WPARAM(column), reinterpret_cast<LPARAM>(&item));
  return item.fmt;
}

void set_header_format(HWND header, int32_t column, int format, HBITMAP bitmap) {
  HDITEMW item = {};
  item.mask = HDI_FORMAT | HDI_BITMAP;
  item.fmt = format;
  item.hbm = bitmap;
  SendMessageW(header, HDM_SETITEMW, WPARAM(column), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void set_header_image(HWND list, HBITMAP bitmap, int32_t column, int32_t extra_format) {
  HWND header = header_of(list);
  set_header_format(header, column, header_format(header, column) | HDF_BITMAP | HDF_STRING | extra_format, bitmap);
}

void clear_header_image(HWND list, int32_t column) {
  HWND header = header_of(list);
  int format = header_format(header, column);
  set_header_format(header, column, (format & ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT)) | HDF_STRING, nullptr);
}

void find_row_by_text(HWND list, const char* text, int32_t column) {
  if (!text || !*text) return;
  int32_t gadget = GetDlgCtrlID(list);
  if (!is_gadget(gadget)) return;
  int32_t rows = count_gadget_items(gadget);
  int32_t found = -1;
  for (int32_t row = 0; row < rows && found < 0; ++row) {
    int32_t p = buffer_position();
    if (strcmp(get_gadget_item_text(gadget, row, column, p), text) == 0) found = row;
    set_buffer_position(p);
  }
  if (found < 0) return;
  RECT first = {LVIR_BOUNDS};
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  int height = first.bottom - first.top;
  SendMessageW(list, LVM_SCROLL, 0, -rows * height);
  SendMessageW(list, LVM_SCROLL, 0, found * height);
  set_gadget_item_state(gadget, found, get_gadget_item_state(gadget, found) | 1);
}

}  // namespace vantrel
