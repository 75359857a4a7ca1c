// The list icon's header and columns: column titles, widths, and the
// header texts that row -1 reads and writes. Shared by both row modes.
#include <windows.h>
#include <commctrl.h>

#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/gadgets/list_icon_parts.h"
#include "ui/windows/density.h"

namespace vantrel {
namespace list_icon_parts {

constexpr int32_t HEADER_TEXT_LIMIT = 4096;

HWND header_of(HWND list) { return reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)); }

int32_t column_count(HWND list) {
  HWND header = header_of(list);
  return header ? int32_t(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void get_header_text(GadgetRecord* gadget, int32_t column, int32_t p) {
  WideBuffer text(HEADER_TEXT_LIMIT);
  if (!text.get()) return buffer_terminate();
  text.get()[0] = 0;
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = text.get();
  item.cchTextMax = HEADER_TEXT_LIMIT;
  HWND header = header_of(gadget->handle);
  if (!header || !SendMessageW(header, HDM_GETITEMW, WPARAM(column), reinterpret_cast<LPARAM>(&item))) text.get()[0] = 0;
  text.get()[HEADER_TEXT_LIMIT - 1] = 0;
  append_wide(text.get(), ptrdiff_t(whole_units(text.get(), wcslen(text.get()))), p);
}

void set_header_text(GadgetRecord* gadget, int32_t column, const char* text) {
  WideText wide(text);
  HDITEMW item = {};
  item.mask = HDI_TEXT;
  item.pszText = const_cast<wchar_t*>(wide.get());
  if (HWND header = header_of(gadget->handle)) SendMessageW(header, HDM_SETITEMW, WPARAM(column), reinterpret_cast<LPARAM>(&item));
}

void add_list_icon_column(GadgetRecord* gadget, int32_t position, const char* title, int32_t width) {
  WideText wide(title);
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = scale_to_layout(width);
  column.pszText = const_cast<wchar_t*>(wide.get());
  column.iSubItem = position;
  int32_t inserted = int32_t(send(gadget, LVM_INSERTCOLUMNW, WPARAM(position), reinterpret_cast<LPARAM>(&column)));
  if (inserted < 0) return;
  words_of(gadget).columns = column_count(gadget->handle);
  follow_columns(gadget, words_of(gadget).columns, inserted, true);
}

void remove_list_icon_column(GadgetRecord* gadget, int32_t column) {
  int32_t before = column_count(gadget->handle);
  if (column < 0 || column >= before || !send(gadget, LVM_DELETECOLUMN, WPARAM(column))) return;
  words_of(gadget).columns = before - 1;
  follow_columns(gadget, before - 1, column, false);
}

int32_t get_list_icon_item_attribute(GadgetRecord* gadget, int32_t, int32_t attribute, int32_t column) {
  return attribute == ATTRIBUTE_COLUMN_WIDTH ? int32_t(send(gadget, LVM_GETCOLUMNWIDTH, WPARAM(column))) : 0;
}

void set_list_icon_item_attribute(GadgetRecord* gadget, int32_t, int32_t attribute, int32_t value, int32_t column) {
  if (attribute == ATTRIBUTE_COLUMN_WIDTH) send(gadget, LVM_SETCOLUMNWIDTH, WPARAM(column), LOWORD(scale_to_layout(value)));
}

}  // namespace list_icon_parts
}  // namespace vantrel
