// Static text lines, optionally in colours of their own.
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

LRESULT handle_text_message(GadgetRecord* gadget, HWND, UINT message, WPARAM wparam, LPARAM) {
  if (message != WM_CTLCOLORSTATIC) return NOT_HANDLED;
  HDC dc = reinterpret_cast<HDC>(wparam);
  LRESULT result = NOT_HANDLED;
  if (gadget->words.colours.front_colour != -1) {
    SetTextColor(dc, COLORREF(gadget->words.colours.front_colour));
    if (gadget->words.colours.back_colour == -1) {
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  if (gadget->words.colours.back_colour != -1) {
    SetBkColor(dc, COLORREF(gadget->words.colours.back_colour));
    result = reinterpret_cast<LRESULT>(gadget->words.colours.back_brush);
  }
  return result;
}

void prepare_text(GadgetRecord* gadget) {
  gadget->words.colours.back_colour = -1;
  gadget->words.colours.front_colour = -1;
}

constexpr GadgetOperations text_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_TEXT;
  ops.handle_message = handle_text_message;
  ops.release_gadget = release_shared_colour;
  ops.set_colour = set_shared_colour;
  ops.get_colour = get_shared_colour;
  return ops;
}();

}  // namespace

intptr_t create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            uint32_t flags) {
  DWORD ex_style = (flags & TEXT_BORDER) ? WS_EX_CLIENTEDGE : 0;
  HWND control = create_gadget_control(ex_style, "Static", text, flags | WS_CHILD | WS_VISIBLE | WS_GROUP, x, y,
                                       width, height);
  return adopt_gadget_control(number, control, &text_operations, prepare_text);
}

}  // namespace vantrel
