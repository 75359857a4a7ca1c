// The list icon: a report list with columns. Rows carry a text per column,
// an optional image, per-cell colours and a data value; the list reports
// clicks, selection changes and drag starts, and can draw grid lines in a
// colour of its own.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/gadgets/list_icon_parts.h"
#include "ui/gadgets/report_lists.h"
#include "ui/windows/density.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace list_icon_parts {

constexpr const char* LAST_SELECTED_PROPERTY = "VX_LastSelected";

enum ListIconEvent : int32_t {
  EVENT_CLICK = 0,
  EVENT_RIGHT_CLICK = 1,
  EVENT_DOUBLE_CLICK = 2,
  EVENT_RIGHT_DOUBLE_CLICK = 3,
  EVENT_SELECTION_CHANGED = 768,
  EVENT_DRAG_START = 14002,
};

// The extended styles that flag bits ask for.
struct ExtendedStyleFlag {
  uint32_t flag;
  DWORD style;
};
constexpr ExtendedStyleFlag extended_style_flags[] = {
    {LIST_ICON_CHECKBOXES, LVS_EX_CHECKBOXES},
    {LIST_ICON_GRID_LINES, LVS_EX_GRIDLINES},
    {LIST_ICON_HEADER_DRAG_DROP, LVS_EX_HEADERDRAGDROP},
    {LIST_ICON_FULL_ROW_SELECT, LVS_EX_FULLROWSELECT},
};

bool defaults_read = false;
COLORREF default_text_colour = 0;
COLORREF default_back_colour = 0;

// Item record, the row's parameter value: the data value, then per column a
// front and a back colour, each stored plus one so that 0 means "not set"
// while black stays storable.
using ItemRecord = int32_t;
size_t record_bytes(int32_t columns) { return 4 + 8 * size_t(columns > 0 ? columns : 0); }
int32_t& front_of(ItemRecord* record, int32_t column) { return record[1 + 2 * column]; }
int32_t& back_of(ItemRecord* record, int32_t column) { return record[2 + 2 * column]; }

ListIconWords& words_of(GadgetRecord* gadget) { return gadget->words.list_icon; }

LRESULT send(GadgetRecord* gadget, UINT message, WPARAM wparam, LPARAM lparam) {
  return SendMessageW(gadget->handle, message, wparam, lparam);
}

// Cell texts go straight to the control's own procedure: no subclass has
// anything to do with them, and a large fill pays for every layer per row.
// Rows are inserted through every layer: a sorter watching the list
// renumbers its rows on each insertion.
LRESULT send_to_control(GadgetRecord* gadget, UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcW(gadget->previous_procedure, gadget->handle, message, wparam, lparam);
}

int32_t row_count(GadgetRecord* gadget) { return int32_t(send(gadget, LVM_GETITEMCOUNT)); }

ItemRecord* record_of_row(HWND list, int32_t row) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<ItemRecord*>(item.lParam);
}

void attach_record(HWND list, int32_t row, ItemRecord* record) {
  LVITEMW item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = reinterpret_cast<LPARAM>(record);
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

ItemRecord* new_record(GadgetRecord* gadget) {
  return static_cast<ItemRecord*>(general_alloc(record_bytes(words_of(gadget).columns)));
}

// The row's record, made for the current columns when it has none. Rows
// that live in their owner's memory keep no record: the control would not
// hold it, and it would be lost.
ItemRecord* record_for_row(GadgetRecord* gadget, int32_t row) {
  if (list_icon_row_source(gadget->handle)) return nullptr;
  if (ItemRecord* record = record_of_row(gadget->handle, row)) return record;
  ItemRecord* record = new_record(gadget);
  if (record) attach_record(gadget->handle, row, record);
  return record;
}

// Lets go of every row's record, for a list whose rows will not tell us
// (a list handed back to another thread).
void free_records(GadgetRecord* gadget) {
  for (int32_t row = row_count(gadget) - 1; row >= 0; --row) {
    if (ItemRecord* record = record_of_row(gadget->handle, row)) {
      attach_record(gadget->handle, row, nullptr);
      general_free(record);
    }
  }
}

void raise_longest(GadgetRecord* gadget, const char* text) {
  size_t length = strlen(text_or_empty(text));
  if (length > words_of(gadget).longest_text_length) words_of(gadget).longest_text_length = uint32_t(length);
}

void set_cell_text(GadgetRecord* gadget, int32_t row, int32_t column, const char* text) {
  WideText wide(text);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(wide.get());
  send_to_control(gadget, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  raise_longest(gadget, text);
}

// Writes the "\n"-separated parts of `rest` into columns 1, 2, ... of the row;
// a trailing "\n" adds nothing.
void set_sub_item_texts(GadgetRecord* gadget, int32_t row, char* rest) {
  for (int32_t column = 1; rest && *rest; ++column) {
    char* end = strchr(rest, '\n');
    if (end) *end = 0;
    set_cell_text(gadget, row, column, rest);
    rest = end ? end + 1 : nullptr;
  }
}

// A private copy of the text split at its first "\n": the copy holds column
// 0's text, `rest` the remaining parts (null when there are none).
char* split_row_text(const char* text, char** rest) {
  *rest = nullptr;
  size_t size = strlen(text) + 1;
  auto* copy = static_cast<char*>(general_alloc(size));
  if (!copy) return nullptr;
  memcpy(copy, text, size);
  if (char* end = strchr(copy, '\n')) {
    *end = 0;
    *rest = end + 1;
  }
  return copy;
}

void post_selection_changed(GadgetRecord* gadget, int32_t row) {
  SetPropA(gadget->handle, LAST_SELECTED_PROPERTY, reinterpret_cast<HANDLE>(intptr_t(row)));
  post_gadget_event(gadget->handle, EVENT_SELECTION_CHANGED);
}

// A click that leaves nothing selected ends the selection once.
void check_deselection(GadgetRecord* gadget) {
  if (send(gadget, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) != -1) return;
  if (reinterpret_cast<intptr_t>(GetPropA(gadget->handle, LAST_SELECTED_PROPERTY)) == -1) return;
  post_selection_changed(gadget, -1);
}

bool report_view(HWND list) { return (GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT; }

LRESULT custom_draw(GadgetRecord* gadget, NMLVCUSTOMDRAW* draw) {
  auto* record = reinterpret_cast<ItemRecord*>(draw->nmcd.lItemlParam);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return IsWindowEnabled(gadget->handle) ? CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT : 0;
    case CDDS_ITEMPREPAINT:
      if (!record) return 0;
      if (report_view(gadget->handle)) return CDRF_NOTIFYSUBITEMDRAW;
      if (front_of(record, 0)) draw->clrText = COLORREF(front_of(record, 0) - 1);
      if (back_of(record, 0)) draw->clrTextBk = COLORREF(back_of(record, 0) - 1);
      return 0;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      int32_t column = draw->iSubItem;
      if (!record || column < 0 || column >= words_of(gadget).columns) return 0;
      draw->clrText = front_of(record, column) ? COLORREF(front_of(record, column) - 1)
                                               : COLORREF(send(gadget, LVM_GETTEXTCOLOR));
      draw->clrTextBk = back_of(record, column) ? COLORREF(back_of(record, column) - 1)
                                                : COLORREF(send(gadget, LVM_GETBKCOLOR));
      return 0;
    }
    case CDDS_POSTPAINT:
      if (words_of(gadget).line_colour != -1 && report_view(gadget->handle) &&
          (send(gadget, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_GRIDLINES))
        draw_grid_lines(gadget->handle, draw->nmcd.hdc, COLORREF(words_of(gadget).line_colour));
      return 0;
    default:
      return NOT_HANDLED;
  }
}

LRESULT handle_list_icon_message(GadgetRecord* gadget, HWND, UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_NOTIFY) return NOT_HANDLED;
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  auto* change = reinterpret_cast<NMLISTVIEW*>(lparam);
  switch (header->code) {
    case NM_CUSTOMDRAW:
      return custom_draw(gadget, reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
    case NM_CLICK:
      check_deselection(gadget);
      post_gadget_event(gadget->handle, EVENT_CLICK);
      return 0;
    case NM_RCLICK:
      check_deselection(gadget);
      post_gadget_event(gadget->handle, EVENT_RIGHT_CLICK);
      return 0;
    case NM_DBLCLK:
      post_gadget_event(gadget->handle, EVENT_DOUBLE_CLICK);
      return 0;
    case NM_RDBLCLK:
      post_gadget_event(gadget->handle, EVENT_RIGHT_DOUBLE_CLICK);
      return 0;
    case LVN_ITEMCHANGED:
      // Once per newly selected row: a focus change on a selected row is no change.
      if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
          !(change->uOldState & LVIS_SELECTED))
        post_selection_changed(gadget, change->iItem);
      return 0;
    case LVN_BEGINDRAG:
      post_gadget_event(gadget->handle, EVENT_DRAG_START);
      return 0;
    case LVN_DELETEALLITEMS:
      return FALSE;  // one LVN_DELETEITEM per row follows, which frees its record
    case LVN_DELETEITEM:
      // Every way a row goes (removal, clearing, the control's destruction)
      // ends here, so no record outlives its row.
      general_free(reinterpret_cast<ItemRecord*>(change->lParam));
      return 0;
    default:
      return NOT_HANDLED;
  }
}

int32_t get_list_icon_state(GadgetRecord* gadget) { return int32_t(send(gadget, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }

void set_row_selection(GadgetRecord* gadget, int32_t row, bool selected) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
  send(gadget, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void set_list_icon_state(GadgetRecord* gadget, int32_t row) {
  if (row >= 0) {
    set_row_selection(gadget, row, true);
    return;
  }
  if (row != -1) return;
  // One by one until none is left, bounded in case a row refuses.
  for (int32_t left = row_count(gadget); left >= 0; --left) {
    int32_t selected = get_list_icon_state(gadget);
    if (selected < 0) break;
    set_row_selection(gadget, selected, false);
  }
}

void get_list_icon_item_text(GadgetRecord* gadget, int32_t row, int32_t column, int32_t p);

void get_list_icon_text(GadgetRecord* gadget, int32_t p) {
  int32_t row = get_list_icon_state(gadget);
  if (row < 0) buffer_terminate();
  else get_list_icon_item_text(gadget, row, 0, p);
}

int32_t set_list_icon_text(GadgetRecord* gadget, const char* text) {
  int32_t row = get_list_icon_state(gadget);
  if (row < 0) return 0;
  char* rest = nullptr;
  char* copy = split_row_text(text_or_empty(text), &rest);
  if (!copy) return 0;
  set_cell_text(gadget, row, 0, copy);
  set_sub_item_texts(gadget, row, rest);
  general_free(copy);
  return 0;
}

void add_list_icon_item(GadgetRecord* gadget, int32_t position, const char* text, HANDLE image) {
  if (position == -1) position = row_count(gadget);
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = position;
  // Every row gets its record as it goes in: made later, each would cost the
  // control a change and its parent two notifications, and the sorter numbers
  // every row before its first sort.
  item.lParam = reinterpret_cast<LPARAM>(new_record(gadget));
  if (image) {
    ListIconWords& words = words_of(gadget);
    if (!words.image_lists && (words.image_lists = new_image_list_set(true))) {
      send(gadget, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(words.image_lists->small_list));
      send(gadget, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(words.image_lists->large_list));
    }
    int32_t index = add_image_to_lists(image, words.image_lists);
    if (index >= 0) {
      item.mask |= LVIF_IMAGE;
      item.iImage = index;
    }
  }
  char* rest = nullptr;
  char* copy = text ? split_row_text(text, &rest) : nullptr;
  WideText first(copy);
  item.pszText = const_cast<wchar_t*>(first.get());
  raise_longest(gadget, copy);
  int32_t row = int32_t(send(gadget, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row >= 0) set_sub_item_texts(gadget, row, rest);
  else general_free(reinterpret_cast<ItemRecord*>(item.lParam));
  general_free(copy);
}

int32_t remove_list_icon_item(GadgetRecord* gadget, int32_t row) { return int32_t(send(gadget, LVM_DELETEITEM, WPARAM(row))); }

void clear_list_icon(GadgetRecord* gadget) {
  send(gadget, LVM_DELETEALLITEMS);
  words_of(gadget).longest_text_length = 0;
  if (words_of(gadget).image_lists) clear_image_lists(words_of(gadget).image_lists);
}

int32_t count_list_icon_items(GadgetRecord* gadget) { return row_count(gadget); }

int32_t get_list_icon_item_state(GadgetRecord* gadget, int32_t row) {
  int32_t state = (send(gadget, LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED) ? 1 : 0;
  if (send(gadget, LVM_GETEXTENDEDLISTVIEWSTYLE) & LVS_EX_CHECKBOXES) {
    UINT image = UINT(send(gadget, LVM_GETITEMSTATE, WPARAM(row), LVIS_STATEIMAGEMASK)) >> 12;
    if (image == 2) state |= 2;
  }
  return state;
}

void set_list_icon_item_state(GadgetRecord* gadget, int32_t row, int32_t state) {
  set_row_selection(gadget, row, state & 1);
  LVITEMW item = {};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK((state & 2) ? 2 : 1);
  send(gadget, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

void get_list_icon_item_text(GadgetRecord* gadget, int32_t row, int32_t column, int32_t p) {
  if (row == -1) return get_header_text(gadget, column, p);
  // The control writes the text and its zero: room for both. The longest
  // text put in is counted in bytes, never fewer than its UTF-16 units.
  int32_t room = int32_t(words_of(gadget).longest_text_length) + 1;
  WideBuffer text(room);
  if (!text.get()) return buffer_terminate();
  text.get()[0] = 0;
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text.get();
  item.cchTextMax = room;
  LRESULT length = row >= 0 ? send(gadget, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item)) : 0;
  append_wide(text.get(), length >= 0 && length < room ? length : 0, p);
}

void set_list_icon_item_text(GadgetRecord* gadget, int32_t row, const char* text, int32_t column) {
  if (row != -1) set_cell_text(gadget, row, column, text);
  else set_header_text(gadget, column, text);
}

// Every row's record follows the columns: `columns` is the new count, and
// `at` the column inserted or removed. A record that cannot be resized is
// dropped with its colours rather than left too small for the columns.
void follow_columns(GadgetRecord* gadget, int32_t columns, int32_t at, bool inserted) {
  if (is_owner_data(gadget->handle)) return;  // its rows have no records
  for (int32_t row = row_count(gadget) - 1; row >= 0; --row) {
    ItemRecord* record = record_of_row(gadget->handle, row);
    if (!record) continue;
    if (!inserted && at < columns) memmove(&front_of(record, at), &front_of(record, at + 1), 8 * size_t(columns - at));
    auto* resized = static_cast<ItemRecord*>(general_realloc(record, record_bytes(columns)));
    if (!resized) {
      general_free(record);
    } else if (inserted) {
      memmove(&front_of(resized, at + 1), &front_of(resized, at), 8 * size_t(columns - 1 - at));
      front_of(resized, at) = back_of(resized, at) = 0;
    }
    attach_record(gadget->handle, row, resized);
  }
}

void set_list_icon_colour(GadgetRecord* gadget, int32_t type, int32_t colour) {
  if (type == COLOUR_FRONT) {
    send(gadget, LVM_SETTEXTCOLOR, 0, colour == -1 ? LPARAM(default_text_colour) : LPARAM(colour));
  } else if (type == COLOUR_BACK) {
    LPARAM value = colour == -1 ? LPARAM(default_back_colour) : LPARAM(colour);
    send(gadget, LVM_SETBKCOLOR, 0, value);
    send(gadget, LVM_SETTEXTBKCOLOR, 0, value);
  } else if (type == COLOUR_LINE) {
    words_of(gadget).line_colour = colour;
  }
  redraw(gadget->handle);
}

int32_t get_list_icon_colour(GadgetRecord* gadget, int32_t type) {
  if (type == COLOUR_FRONT) return int32_t(send(gadget, LVM_GETTEXTCOLOR));
  if (type == COLOUR_BACK) return int32_t(send(gadget, LVM_GETBKCOLOR));
  if (type == COLOUR_LINE) return words_of(gadget).line_colour;
  return -1;
}

void colour_cells(GadgetRecord* gadget, int32_t row, int32_t type, int32_t colour, int32_t column) {
  int32_t columns = words_of(gadget).columns;
  if (column != -1 && (column < 0 || column >= columns)) return;
  ItemRecord* record = record_for_row(gadget, row);
  if (!record) return;
  for (int32_t c = column == -1 ? 0 : column; c < (column == -1 ? columns : column + 1); ++c) {
    if (type == COLOUR_FRONT) front_of(record, c) = colour + 1;
    else if (type == COLOUR_BACK) back_of(record, c) = colour + 1;
  }
}

void set_list_icon_item_colour(GadgetRecord* gadget, int32_t row, int32_t type, int32_t colour, int32_t column) {
  int32_t rows = row_count(gadget);
  if (row == -1) {
    for (int32_t r = 0; r < rows; ++r) colour_cells(gadget, r, type, colour, column);
  } else if (row >= 0 && row < rows) {
    colour_cells(gadget, row, type, colour, column);
  } else {
    return;
  }
  redraw(gadget->handle);
}

int32_t get_list_icon_item_colour(GadgetRecord* gadget, int32_t row, int32_t type, int32_t column) {
  if (column < 0) column = 0;
  ItemRecord* record = row >= 0 ? record_of_row(gadget->handle, row) : nullptr;
  if (!record || column >= words_of(gadget).columns) return -1;
  if (type == COLOUR_FRONT) return front_of(record, column) - 1;
  if (type == COLOUR_BACK) return back_of(record, column) - 1;
  return -1;
}

void set_list_icon_item_data(GadgetRecord* gadget, int32_t row, intptr_t value) {
  if (row < 0 || row >= row_count(gadget)) return;
  if (ItemRecord* record = record_for_row(gadget, row)) record[0] = int32_t(value);
}

intptr_t get_list_icon_item_data(GadgetRecord* gadget, int32_t row) {
  ItemRecord* record = row >= 0 ? record_of_row(gadget->handle, row) : nullptr;
  return record ? record[0] : 0;
}

void release_list_icon_common(GadgetRecord* gadget) {
  RemovePropA(gadget->handle, LAST_SELECTED_PROPERTY);
  free_image_list_set(words_of(gadget).image_lists);
  words_of(gadget).image_lists = nullptr;
}

void release_list_icon(GadgetRecord* gadget) {
  free_records(gadget);
  release_list_icon_common(gadget);
}

void prepare_list_icon(GadgetRecord* gadget) { words_of(gadget).line_colour = -1; }

constexpr GadgetOperations list_icon_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_LIST_ICON;
  ops.handle_message = handle_list_icon_message;
  ops.release_gadget = release_list_icon;
  ops.get_state = get_list_icon_state;
  ops.set_state = set_list_icon_state;
  ops.get_text = get_list_icon_text;
  ops.set_text = set_list_icon_text;
  ops.add_item = add_list_icon_item;
  ops.remove_item = remove_list_icon_item;
  ops.clear_items = clear_list_icon;
  ops.count_items = count_list_icon_items;
  ops.get_item_state = get_list_icon_item_state;
  ops.set_item_state = set_list_icon_item_state;
  ops.get_item_text = get_list_icon_item_text;
  ops.set_item_text = set_list_icon_item_text;
  ops.add_column = add_list_icon_column;
  ops.remove_column = remove_list_icon_column;
  ops.get_item_attribute = get_list_icon_item_attribute;
  ops.set_item_attribute = set_list_icon_item_attribute;
  ops.set_colour = set_list_icon_colour;
  ops.get_colour = get_list_icon_colour;
  ops.set_item_colour = set_list_icon_item_colour;
  ops.get_item_colour = get_list_icon_item_colour;
  ops.set_item_data = set_list_icon_item_data;
  ops.get_item_data = get_list_icon_item_data;
  return ops;
}();

bool is_owner_data(HWND list) { return (GetWindowLongA(list, GWL_STYLE) & LVS_OWNERDATA) != 0; }

void read_defaults(HWND list);

HWND make_list_icon_control(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags, DWORD extra_style,
                            bool visible) {
  DWORD style = flags | 0x50010041 | extra_style;
  if (!visible) style &= ~DWORD(WS_VISIBLE);
  if (flags & LIST_ICON_MULTI_SELECT) style &= ~DWORD(LVS_SINGLESEL);
  else style |= LVS_SINGLESEL;
  DWORD extended = 0;
  for (const ExtendedStyleFlag& f : extended_style_flags)
    if (flags & f.flag) extended |= f.style;
  HWND control = create_gadget_control(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, style, x, y, width, height, 0);
  if (!control) return nullptr;
  read_defaults(control);
  if (extended) SendMessageW(control, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  return control;
}

void read_defaults(HWND list) {
  if (defaults_read) return;
  defaults_read = true;
  comctl_version();
  default_text_colour = COLORREF(SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
  default_back_colour = COLORREF(SendMessageW(list, LVM_GETBKCOLOR, 0, 0));
}

}  // namespace list_icon_parts

using namespace list_icon_parts;

intptr_t create_list_icon_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* title,
                                 int32_t title_width, uint32_t flags) {
  HWND control = make_list_icon_control(x, y, width, height, flags, 0);
  if (!control) return 0;
  intptr_t result = adopt_gadget_control(number, control, &list_icon_operations, prepare_list_icon);
  if (result) add_list_icon_column(find_gadget(GetDlgCtrlID(control)), 0, title, title_width);
  return result;
}

bool number_list_icon_rows(int32_t number) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_LIST_ICON) return false;
  if (list_icon_row_source(gadget->handle)) return true;  // their order is their owner's, and no record is kept
  for (int32_t row = row_count(gadget) - 1; row >= 0; --row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    send_to_control(gadget, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    auto* record = reinterpret_cast<ItemRecord*>(item.lParam);
    if (!record) {
      record = new_record(gadget);
      if (!record) continue;
      item.lParam = reinterpret_cast<LPARAM>(record);
      send_to_control(gadget, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    record[0] = row;
  }
  return true;
}

bool list_icon_data_slots(int32_t number, const int32_t** slots, int32_t count) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_LIST_ICON || count > row_count(gadget)) return false;
  for (int32_t row = 0; row < count; ++row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    send_to_control(gadget, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    slots[row] = reinterpret_cast<const ItemRecord*>(item.lParam);
    if (!slots[row]) return false;
  }
  return true;
}

void hold_list_icon_drawing(int32_t number, bool hold, int32_t rows_to_come) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_LIST_ICON) return;
  if (hold) {
    if (rows_to_come > 0) send(gadget, LVM_SETITEMCOUNT, WPARAM(row_count(gadget) + rows_to_come), LVSICF_NOINVALIDATEALL);
    send(gadget, WM_SETREDRAW, FALSE);
  } else {
    send(gadget, WM_SETREDRAW, TRUE);
    InvalidateRect(gadget->handle, nullptr, TRUE);
  }
}

}  // namespace vantrel
