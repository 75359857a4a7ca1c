// Type-to-find for report lists whose first column is not the one people
// read (a hidden row number, say): typed letters find the first row, in the
// list's order, whose first visible column starts with them.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "runtime/heaps.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

constexpr UINT_PTR FIND_SUBCLASS = 0x7646;  // "vF"
constexpr DWORD RESET_AFTER_MS = 1000;       // a pause longer than this starts a new search
constexpr size_t LONGEST_TYPED = 255;

// What was typed, in UTF-16 units: a character beyond the basic plane
// comes as two.
struct TypedText {
  wchar_t text[LONGEST_TYPED + 1];
  size_t length;
  DWORD last_key;
};

bool wide_starts_with(const wchar_t* cell, size_t cell_length, const wchar_t* typed, size_t length) {
  if (cell_length < length) return false;
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, cell, int(length), typed, int(length)) == CSTR_EQUAL;
}

// A cell of the call's code page, as far as the typed text reaches.
bool starts_with(const char* cell, const wchar_t* typed, size_t length) {
  wchar_t start[LONGEST_TYPED + 1];
  return wide_starts_with(start, wide_prefix(cell, length, start), typed, length);
}

// The row's text in `column`, as far as `length` units.
bool row_starts_with(HWND list, int32_t row, int32_t column, const wchar_t* typed, size_t length) {
  wchar_t cell[LONGEST_TYPED + 2] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = cell;
  item.cchTextMax = int(length + 1);
  SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  return wide_starts_with(cell, wcslen(cell), typed, length);
}

void select_found_row(HWND list, int32_t row) {
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
  SendMessageA(list, LVM_SETSELECTIONMARK, 0, row);
  SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

bool one_letter_repeated(const TypedText& typed) {
  for (size_t i = 1; i < typed.length; ++i)
    if (typed.text[i] != typed.text[0]) return false;
  return typed.length > 1;
}

void find_typed(HWND list, const TypedText& typed) {
  int32_t column = first_visible_column(list);
  int32_t rows = int32_t(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  int32_t found = find_row_starting_with(list, column, typed.text, typed.length, 0, rows);
  // The same letter again steps to the next row that starts with it, as
  // the platform's lists do.
  if (found < 0 && one_letter_repeated(typed)) {
    auto focused = int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
    found = find_row_starting_with(list, column, typed.text, 1, focused + 1, rows);
    if (found < 0) found = find_row_starting_with(list, column, typed.text, 1, 0, rows);
  }
  if (found >= 0) select_found_row(list, found);
}

LRESULT CALLBACK find_procedure(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  auto* typed = reinterpret_cast<TypedText*>(data);
  if (message == WM_CHAR && wparam >= 0x20) {
    DWORD now = GetTickCount();
    if (now - typed->last_key > RESET_AFTER_MS) typed->length = 0;
    typed->last_key = now;
    if (typed->length < LONGEST_TYPED) typed->text[typed->length++] = wchar_t(wparam);
    typed->text[typed->length] = 0;
    find_typed(list, *typed);
    return 0;  // the list's own search would look at the first column
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(list, find_procedure, FIND_SUBCLASS);
    general_free(typed);
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

int32_t first_visible_column(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  int columns = header ? int(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  if (columns <= 0) return 0;
  auto* order = static_cast<int*>(general_alloc_array(size_t(columns), sizeof(int)));
  int32_t first = 0;
  if (order && SendMessageA(list, LVM_GETCOLUMNORDERARRAY, WPARAM(columns), reinterpret_cast<LPARAM>(order))) {
    for (int i = 0; i < columns; ++i) {
      if (SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(order[i]), 0) > 0) {
        first = order[i];
        break;
      }
    }
  }
  general_free(order);
  return first;
}

int32_t find_row_starting_with(HWND list, int32_t column, const wchar_t* typed, size_t length, int32_t from,
                               int32_t to) {
  if (length == 0 || length > LONGEST_TYPED) return -1;
  if (const RowSource* source = list_icon_row_source(list)) {  // rows in their owner's memory: read directly
    char scratch[12];
    for (int32_t row = from < 0 ? 0 : from; row < to && row < source->rows; ++row)
      if (starts_with(source->text(source, source->order[row], column, scratch), typed, length)) return row;
    return -1;
  }
  for (int32_t row = from < 0 ? 0 : from; row < to; ++row)
    if (row_starts_with(list, row, column, typed, length)) return row;
  return -1;
}

bool find_list_icon_rows_by_typing(int32_t number) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_LIST_ICON) return false;
  auto* typed = static_cast<TypedText*>(general_alloc(sizeof(TypedText)));
  if (!typed) return false;
  *typed = {};
  if (SetWindowSubclass(gadget->handle, find_procedure, FIND_SUBCLASS, reinterpret_cast<DWORD_PTR>(typed))) return true;
  general_free(typed);
  return false;
}

}  // namespace vantrel
