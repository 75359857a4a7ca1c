// The list icon with rows that live in their owner's memory (the platform's
// owner-data report list): the control holds a count, not rows, and asks
// for the texts it draws; inserting, sorting and destroying cost nothing
// per row. The row source answers for the texts, in its own order.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/gadgets/list_icon_parts.h"

namespace vantrel {

using namespace list_icon_parts;

namespace {

constexpr const char* ROWS_PROPERTY = "VX_Rows";

RowSource* source_of(GadgetRecord* gadget) { return list_icon_row_source(gadget->handle); }

// The text shown at `place` in `column`.
const char* text_at(const RowSource* source, int32_t place, int32_t column, char* scratch) {
  if (!source || place < 0 || place >= source->rows || column < 0) return "";
  return source->text(source, source->order[place], column, scratch);
}

// The list is a Unicode window: it asks for UTF-16 texts, cut to its room
// without splitting a pair.
void answer_display_info(GadgetRecord* gadget, LVITEMW* item) {
  if (!(item->mask & LVIF_TEXT) || !item->pszText || item->cchTextMax <= 0) return;
  char scratch[12];
  const char* text = text_at(source_of(gadget), item->iItem, item->iSubItem, scratch);
  size_t written = wide_prefix(text, size_t(item->cchTextMax - 1), item->pszText);
  item->pszText[whole_units(item->pszText, written)] = 0;
}

// LVM_FINDITEM on the list: a row whose first visible column is the text
// (or starts with it), letter case aside, from the start row on, round to
// the top if asked.
LRESULT find_item(GadgetRecord* gadget, const LVFINDINFOW& find, int32_t start) {
  if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz) return -1;
  int32_t rows = row_count(gadget), column = first_visible_column(gadget->handle);
  int length = int(wcslen(find.psz));
  bool partial = (find.flags & LVFI_PARTIAL) != 0;
  auto matches = [&](int32_t row) {
    char scratch[12];
    WideText text(text_at(source_of(gadget), row, column, scratch));
    if (partial && text.length() < length) return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.get(), partial ? length : text.length(),
                          find.psz, length) == CSTR_EQUAL;
  };
  if (start < 0) start = 0;
  for (int32_t row = start; row < rows; ++row)
    if (matches(row)) return row;
  if (find.flags & LVFI_WRAP)
    for (int32_t row = 0; row < start && row < rows; ++row)
      if (matches(row)) return row;
  return -1;
}

LRESULT handle_virtual_message(GadgetRecord* gadget, HWND parent, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    switch (header->code) {
      case LVN_GETDISPINFOW:
        answer_display_info(gadget, &reinterpret_cast<NMLVDISPINFOW*>(lparam)->item);
        return 0;
      case LVN_ODFINDITEMW: {
        auto* find = reinterpret_cast<NMLVFINDITEMW*>(lparam);
        return find_item(gadget, find->lvfi, find->iStart);
      }
      case LVN_ODCACHEHINT:
        return 0;  // every row is at hand
      default:
        break;
    }
  }
  return handle_list_icon_message(gadget, parent, message, wparam, lparam);
}

void get_virtual_text(GadgetRecord* gadget, int32_t p) {
  char scratch[12];
  append_string(text_at(source_of(gadget), get_list_icon_state(gadget), 0, scratch), p);
}

void get_virtual_item_text(GadgetRecord* gadget, int32_t row, int32_t column, int32_t p) {
  if (row == -1) return get_header_text(gadget, column, p);
  char scratch[12];
  append_string(text_at(source_of(gadget), row, column, scratch), p);
}

void set_virtual_item_text(GadgetRecord* gadget, int32_t row, const char* text, int32_t column) {
  if (row == -1) set_header_text(gadget, column, text);  // the rows' texts are the source's
}

int32_t count_virtual_rows(GadgetRecord* gadget) { return row_count(gadget); }

void release_virtual(GadgetRecord* gadget) {
  RowSource* source = source_of(gadget);
  RemovePropA(gadget->handle, ROWS_PROPERTY);
  if (source && source->release) source->release(source);
  release_list_icon_common(gadget);
}

constexpr GadgetOperations virtual_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_LIST_ICON;
  ops.handle_message = handle_virtual_message;
  ops.release_gadget = release_virtual;
  ops.get_state = get_list_icon_state;
  ops.set_state = set_list_icon_state;
  ops.get_text = get_virtual_text;
  ops.count_items = count_virtual_rows;
  ops.get_item_state = get_list_icon_item_state;
  ops.set_item_state = set_list_icon_item_state;
  ops.get_item_text = get_virtual_item_text;
  ops.set_item_text = set_virtual_item_text;
  ops.add_column = add_list_icon_column;
  ops.remove_column = remove_list_icon_column;
  ops.get_item_attribute = get_list_icon_item_attribute;
  ops.set_item_attribute = set_list_icon_item_attribute;
  ops.set_colour = set_list_icon_colour;
  ops.get_colour = get_list_icon_colour;
  return ops;
}();

}  // namespace

RowSource* list_icon_row_source(HWND list) {
  return list ? static_cast<RowSource*>(GetPropA(list, ROWS_PROPERTY)) : nullptr;
}

intptr_t create_virtual_list_icon_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                         const char* title, int32_t title_width, uint32_t flags, RowSource* source) {
  // Unseen until its rows show: a visible list lays itself out and draws
  // again for each column put in and for its row count (20 ms a time here).
  HWND control = source ? make_list_icon_control(x, y, width, height, flags, LVS_OWNERDATA, false) : nullptr;
  if (control) SetPropA(control, ROWS_PROPERTY, source);
  intptr_t result = control ? adopt_gadget_control(number, control, &virtual_operations, prepare_list_icon) : 0;
  if (!result) {
    // The gadget took the source over: without a gadget it goes now.
    if (control && IsWindow(control)) RemovePropA(control, ROWS_PROPERTY);
    if (source && source->release) source->release(source);
    return 0;
  }
  add_list_icon_column(find_gadget(GetDlgCtrlID(control)), 0, title, title_width);
  return result;
}

void show_list_icon_rows(int32_t number) {
  GadgetRecord* gadget = find_gadget(number);
  RowSource* source = gadget ? source_of(gadget) : nullptr;
  if (!source) return;
  send(gadget, LVM_SETITEMCOUNT, WPARAM(source->rows), LVSICF_NOSCROLL);
  InvalidateRect(gadget->handle, nullptr, FALSE);
  if (!(GetWindowLongA(gadget->handle, GWL_STYLE) & WS_VISIBLE)) ShowWindow(gadget->handle, SW_SHOWNA);
}

}  // namespace vantrel
