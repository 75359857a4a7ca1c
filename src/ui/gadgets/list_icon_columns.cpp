// The list icon's header and columns: column titles, widths, and the
// header texts that row -1 reads and writes. Shared by both row modes.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "runtime/strings.h"
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
  char* at = buffer_reserve(HEADER_TEXT_LIMIT, p);
  if (!at) return buffer_terminate();
  at[0] = 0;
  HDITEMA item = {};
  item.mask = HDI_TEXT;
  item.pszText = at;
  item.cchTextMax = HEADER_TEXT_LIMIT;
  HWND header = header_of(gadget->handle);
  if (!header || !SendMessageA(header, HDM_GETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item))) at[0] = 0;
  at[HEADER_TEXT_LIMIT - 1] = 0;
  buffer_give_back(HEADER_TEXT_LIMIT - int32_t(strlen(at)));
}

void set_header_text(GadgetRecord* gadget, int32_t column, const char* text) {
  HDITEMA item = {};
  item.mask = HDI_TEXT;
  item.pszText = const_cast<char*>(text_or_empty(text));
  if (HWND header = header_of(gadget->handle)) SendMessageA(header, HDM_SETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
}

void add_list_icon_column(GadgetRecord* gadget, int32_t position, const char* title, int32_t width) {
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = scale_to_layout(width);
  column.pszText = const_cast<char*>(text_or_empty(title));
  column.iSubItem = position;
  int32_t inserted = int32_t(send(gadget, LVM_INSERTCOLUMNA, WPARAM(position), reinterpret_cast<LPARAM>(&column)));
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
