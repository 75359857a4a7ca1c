// Static text lines, optionally in colours of their own.
#include <cstring>

#include "runtime/heaps.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/density.h"
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

namespace {

// Beyond this a text is taken as too long for any box: measuring it would
// cost more than showing it in a box that scrolls.
constexpr size_t LONGEST_MEASURED = 32768;

// Whether the text, wrapped as a static control wraps it in the font that
// new gadgets get, fits `height`.
bool text_fits(const char* text, int32_t width, int32_t height, DWORD style) {
  if (strlen(text) > LONGEST_MEASURED) return false;
  HDC dc = GetDC(nullptr);
  if (!dc) return true;
  HGDIOBJ old = SelectObject(dc, gadget_list_font());
  RECT r = {0, 0, width, 0};
  UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
  WideText wide(text);
  DrawTextW(dc, wide.get(), wide.length(), &r, format);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom - r.top <= height;
}

// A box shows at most this many bytes of its text, cut where a character
// ends: the platform's box lays out its lines in a time that grows with the
// square of the text (under Wine: 0.2 s for 8 KB, 1.8 s for 16 KB), and no
// one reads further in an about box.
constexpr size_t LONGEST_BOX_TEXT = 10000;

// A box's lines end with "\r\n": each lone "\n" or "\r" becomes one.
char* with_box_line_ends(const char* text) {
  size_t whole = strlen(text);
  size_t kept = whole_characters(text, whole, LONGEST_BOX_TEXT, text_code_page());
  size_t breaks = 0, length = 0;
  for (const char* c = text; length < kept; ++c, ++length)
    if (*c == '\n' || *c == '\r') ++breaks;
  auto* copy = static_cast<char*>(general_alloc(length + breaks + 1));
  if (!copy) return nullptr;
  char* at = copy;
  for (const char* c = text; c < text + kept; ++c) {
    if (*c == '\r' && c + 1 < text + kept && c[1] == '\n') {
      *at++ = *c++;
      *at++ = *c;
    } else if (*c == '\n' || *c == '\r') {
      *at++ = '\r';
      *at++ = '\n';
    } else {
      *at++ = *c;
    }
  }
  *at = 0;
  return copy;
}

// A read-only box that scrolls, aligned as the static text would be.
HWND create_scrolling_text(const char* text, DWORD ex_style, uint32_t flags, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
  DWORD align = (flags & SS_TYPEMASK) == SS_CENTER ? ES_CENTER : (flags & SS_TYPEMASK) == SS_RIGHT ? ES_RIGHT : ES_LEFT;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                ES_AUTOVSCROLL | align;
  char* box_text = with_box_line_ends(text);
  HWND control = create_gadget_control(ex_style, L"Edit", box_text ? box_text : text, style, x, y, width, height);
  general_free(box_text);
  return control;
}

}  // namespace

intptr_t create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            uint32_t flags) {
  DWORD ex_style = (flags & TEXT_BORDER) ? WS_EX_CLIENTEDGE : 0;
  text = text_or_empty(text);
  bool scrolls =
      (flags & TEXT_SCROLLS_WHEN_LONG) && !text_fits(text, scale_to_layout(width), scale_to_layout(height), flags);
  flags &= ~TEXT_SCROLLS_WHEN_LONG;
  HWND control = scrolls ? create_scrolling_text(text, ex_style, flags, x, y, width, height)
                         : create_static_control(ex_style, text, flags | WS_CHILD | WS_VISIBLE | WS_GROUP, x, y, width, height);
  return adopt_gadget_control(number, control, &text_operations, prepare_text);
}

}  // namespace vantrel
