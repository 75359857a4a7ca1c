// The list view: a single-column list box whose selection is the state.
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/item_lists.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

LRESULT send(GadgetRecord* gadget, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendMessageW(gadget->handle, message, wparam, lparam);
}

LRESULT handle_list_message(GadgetRecord* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_COMMAND) {
    // Every notification is handled here: only these two become events.
    if (HIWORD(wparam) == LBN_DBLCLK) post_gadget_event(gadget->handle, 2);
    if (HIWORD(wparam) == LBN_SELCHANGE) post_gadget_event(gadget->handle, 0);
    return 0;
  }
  if (message != WM_CTLCOLORLISTBOX) return NOT_HANDLED;
  const ColourWords& words = gadget->words.colours;
  HDC dc = reinterpret_cast<HDC>(wparam);
  LRESULT result = NOT_HANDLED;
  if (words.front_colour != -1) {
    SetTextColor(dc, COLORREF(words.front_colour));
    if (words.back_colour == -1) {
      SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
  }
  if (words.back_colour != -1) {
    SetBkColor(dc, COLORREF(words.back_colour));
    result = reinterpret_cast<LRESULT>(words.back_brush);
  }
  return result;
}

int32_t get_list_state(GadgetRecord* gadget) { return int32_t(send(gadget, LB_GETCURSEL)); }
void set_list_state(GadgetRecord* gadget, int32_t index) { send(gadget, LB_SETCURSEL, WPARAM(index)); }

void get_list_text(GadgetRecord* gadget, int32_t p) {
  int32_t selected = get_list_state(gadget);
  if (selected < 0) buffer_terminate();
  else append_item_text(gadget->handle, list_box_messages, selected, p);
}

// An exact match (letter case aside) is selected; no match clears the selection.
int32_t set_list_text(GadgetRecord* gadget, const char* text) {
  LRESULT found = send(gadget, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(WideText(text).get()));
  send(gadget, LB_SETCURSEL, WPARAM(found));
  return found < 0 ? -1 : 0;
}

void add_list_item(GadgetRecord* gadget, int32_t position, const char* text, HANDLE) {
  send(gadget, LB_INSERTSTRING, WPARAM(position), reinterpret_cast<LPARAM>(WideText(text).get()));
}

int32_t remove_list_item(GadgetRecord* gadget, int32_t index) { return int32_t(send(gadget, LB_DELETESTRING, WPARAM(index))); }
void clear_list(GadgetRecord* gadget) { send(gadget, LB_RESETCONTENT); }
int32_t count_list_items(GadgetRecord* gadget) { return int32_t(send(gadget, LB_GETCOUNT)); }
int32_t get_list_item_state(GadgetRecord* gadget, int32_t index) { return int32_t(send(gadget, LB_GETSEL, WPARAM(index))); }
void set_list_item_state(GadgetRecord* gadget, int32_t index, int32_t state) {
  send(gadget, LB_SETSEL, state ? 1 : 0, LPARAM(index));
}

void get_list_item_text(GadgetRecord* gadget, int32_t index, int32_t, int32_t p) {
  append_item_text(gadget->handle, list_box_messages, index, p);
}

void set_list_item_text(GadgetRecord* gadget, int32_t index, const char* text, int32_t) {
  replace_item_text(gadget->handle, list_box_messages, index, text);
}

void set_list_item_data(GadgetRecord* gadget, int32_t index, intptr_t value) {
  send(gadget, LB_SETITEMDATA, WPARAM(index), LPARAM(value));
}
intptr_t get_list_item_data(GadgetRecord* gadget, int32_t index) { return send(gadget, LB_GETITEMDATA, WPARAM(index)); }

void prepare_list(GadgetRecord* gadget) {
  gadget->words.colours.back_colour = -1;
  gadget->words.colours.front_colour = -1;
}

constexpr GadgetOperations list_view_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_LIST_VIEW;
  ops.handle_message = handle_list_message;
  ops.release_gadget = release_shared_colour;
  ops.get_state = get_list_state;
  ops.set_state = set_list_state;
  ops.get_text = get_list_text;
  ops.set_text = set_list_text;
  ops.add_item = add_list_item;
  ops.remove_item = remove_list_item;
  ops.clear_items = clear_list;
  ops.count_items = count_list_items;
  ops.get_item_state = get_list_item_state;
  ops.set_item_state = set_list_item_state;
  ops.get_item_text = get_list_item_text;
  ops.set_item_text = set_list_item_text;
  ops.set_colour = set_shared_colour;
  ops.get_colour = get_shared_colour;
  ops.set_item_data = set_list_item_data;
  ops.get_item_data = get_list_item_data;
  return ops;
}();

}  // namespace

intptr_t create_list_view_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
  HWND control = create_gadget_control(WS_EX_CLIENTEDGE, L"ListBox", nullptr, flags | 0x50330141, x, y, width, height);
  return adopt_gadget_control(number, control, &list_view_operations, prepare_list);
}

}  // namespace vantrel
