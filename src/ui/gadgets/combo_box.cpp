// The combo box: a drop-down list, or on request an editable drop-down.
#include <windows.h>
#include <commctrl.h>

#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/item_lists.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {
namespace {

constexpr uint32_t COMBO_EDITABLE = 2;

LRESULT send(GadgetRecord* gadget, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendMessageW(gadget->handle, message, wparam, lparam);
}

int32_t get_combo_state(GadgetRecord* gadget) { return int32_t(send(gadget, CB_GETCURSEL)); }
void set_combo_state(GadgetRecord* gadget, int32_t index) { send(gadget, CB_SETCURSEL, WPARAM(index)); }

int32_t set_combo_text(GadgetRecord* gadget, const char* text) {
  if (!(GetWindowLongA(gadget->handle, GWL_STYLE) & 1)) {  // editable: the text goes into the field
    set_window_text(gadget->handle, text);
    return 0;
  }
  if (!*text_or_empty(text)) {
    send(gadget, CB_SETCURSEL, WPARAM(-1));
    return 0;
  }
  // No match leaves the selection as it was.
  LRESULT found = send(gadget, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(WideText(text).get()));
  if (found < 0) return -1;
  send(gadget, CB_SETCURSEL, WPARAM(found));
  return 0;
}

void add_combo_item(GadgetRecord* gadget, int32_t position, const char* text, HANDLE) {
  if (position < -1) return;
  send(gadget, CB_INSERTSTRING, WPARAM(position), reinterpret_cast<LPARAM>(WideText(text).get()));
}

int32_t remove_combo_item(GadgetRecord* gadget, int32_t index) { return int32_t(send(gadget, CB_DELETESTRING, WPARAM(index))); }
void clear_combo(GadgetRecord* gadget) { send(gadget, CB_RESETCONTENT); }
int32_t count_combo_items(GadgetRecord* gadget) { return int32_t(send(gadget, CB_GETCOUNT)); }

void get_combo_item_text(GadgetRecord* gadget, int32_t index, int32_t, int32_t p) {
  append_item_text(gadget->handle, combo_box_messages, index, p);
}

void set_combo_item_text(GadgetRecord* gadget, int32_t index, const char* text, int32_t) {
  replace_item_text(gadget->handle, combo_box_messages, index, text);
}

void set_combo_item_data(GadgetRecord* gadget, int32_t index, intptr_t value) {
  send(gadget, CB_SETITEMDATA, WPARAM(index), LPARAM(value));
}
intptr_t get_combo_item_data(GadgetRecord* gadget, int32_t index) { return send(gadget, CB_GETITEMDATA, WPARAM(index)); }

constexpr GadgetOperations combo_box_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_COMBO_BOX;
  ops.get_state = get_combo_state;
  ops.set_state = set_combo_state;
  ops.set_text = set_combo_text;
  ops.add_item = add_combo_item;
  ops.remove_item = remove_combo_item;
  ops.clear_items = clear_combo;
  ops.count_items = count_combo_items;
  ops.get_item_text = get_combo_item_text;
  ops.set_item_text = set_combo_item_text;
  ops.set_item_data = set_combo_item_data;
  ops.get_item_data = get_combo_item_data;
  return ops;
}();

}  // namespace

intptr_t create_combo_box_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
  if (!(flags & COMBO_EDITABLE)) flags |= CBS_DROPDOWNLIST | WS_TABSTOP;
  HWND control = create_gadget_control(WS_EX_CLIENTEDGE, L"ComboBox", nullptr, flags | 0x50A20200, x, y, width, height);
  if (control && (flags & COMBO_EDITABLE)) {
    // Tabbing stops in the edit field rather than on the combo box.
    if (HWND field = GetWindow(control, GW_CHILD))
      SetWindowLongA(field, GWL_STYLE, GetWindowLongA(field, GWL_STYLE) | WS_TABSTOP);
  }
  return adopt_gadget_control(number, control, &combo_box_operations);
}

void show_combo_entries(int32_t number, int32_t entries) {
  GadgetRecord* gadget = find_gadget(number);
  if (!gadget || gadget->operations->kind != KIND_COMBO_BOX) return;
  if (entries < 1) entries = 1;
  // Version 6 of the common controls sizes the dropped list by a count...
  send(gadget, CB_SETMINVISIBLE, WPARAM(entries));
  // ...earlier versions (and hosts without a manifest) by the control's
  // height, which counts the field and the dropped list together.
  RECT field;
  GetWindowRect(gadget->handle, &field);
  int32_t item_height = int32_t(send(gadget, CB_GETITEMHEIGHT, 0));
  int32_t field_height = field.bottom - field.top;
  SetWindowPos(gadget->handle, nullptr, 0, 0, field.right - field.left, field_height + entries * item_height + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vantrel
