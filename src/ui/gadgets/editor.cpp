// The multi-line editor on a rich-edit control, read and written whole or
// by line.
#include <richedit.h>

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/platform_calls.h"
#include "runtime/strings.h"
#include "runtime/system_library.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

// The editor keeps its empty-line state in the kind word, and its colours in
// the shared colour words (without a brush: the control paints itself).
enum EmptyLineState : int32_t { LINES_NORMAL = 0, EMPTY_LINE_PENDING = 1, EMPTY_LINE_WRITTEN = 2 };

bool riched20_loaded = false;
bool library_tried = false;
WNDPROC rich_edit_procedure = nullptr;

LRESULT send(GadgetRecord* gadget, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  return SendMessageW(gadget->handle, message, wparam, lparam);
}

void replace_selection(GadgetRecord* gadget, const char* text) {
  send(gadget, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(WideText(text).get()));
}

void clear_editor(GadgetRecord* gadget) {
  SetWindowTextW(gadget->handle, L"");
  gadget->words.colours.kind_word = LINES_NORMAL;
}

// The whole text handed to the control as plain UTF-16, unit for unit: text
// that happens to start with "{\rtf" is the host's text, not markup.
struct PlainText {
  const wchar_t* next;
  const wchar_t* end;
};

DWORD CALLBACK read_plain_text(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* text = reinterpret_cast<PlainText*>(cookie);
  LONG units = wanted > 0 ? wanted / LONG(sizeof(wchar_t)) : 0;
  if (text->end - text->next <= units) {
    units = LONG(text->end - text->next);
  } else if (units > 1 && text->next[units - 1] >= 0xD800 && text->next[units - 1] <= 0xDBFF) {
    --units;  // a surrogate pair goes whole into the next read
  }
  memcpy(buffer, text->next, size_t(units) * sizeof(wchar_t));
  text->next += units;
  *given = units * LONG(sizeof(wchar_t));
  return 0;
}

int32_t set_editor_text(GadgetRecord* gadget, const char* text) {
  if (!text || !*text) {
    clear_editor(gadget);
    return 0;
  }
  WideText wide(text);
  PlainText plain = {wide.get(), wide.get() + wide.length()};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&plain), 0, read_plain_text};
  send(gadget, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
  return 0;
}

constexpr UINT UTF16_CODE_PAGE = 1200;

// The whole text with CR LF line breaks, read as UTF-16.
void get_editor_text(GadgetRecord* gadget, int32_t p) {
  GETTEXTLENGTHEX how = {GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, UTF16_CODE_PAGE};
  LRESULT length = send(gadget, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how));
  WideBuffer text(length > 0 ? length : -1);
  if (!text.get()) {  // none, or a control without the message
    append_window_text(gadget->handle, p);
    return;
  }
  GETTEXTEX ex = {DWORD(length + 1) * DWORD(sizeof(wchar_t)), GT_USECRLF, UTF16_CODE_PAGE, nullptr, nullptr};
  LRESULT actual = send(gadget, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&ex), reinterpret_cast<LPARAM>(text.get()));
  append_wide(text.get(), actual >= 0 && actual <= length ? actual : 0, p);
}

void add_editor_line(GadgetRecord* gadget, int32_t position, const char* text, HANDLE) {
  LRESULT start = send(gadget, EM_LINEINDEX, WPARAM(position));
  send(gadget, EM_HIDESELECTION, 1);
  if (start == -1 || position == -1) {
    LRESULT length = send(gadget, WM_GETTEXTLENGTH);
    send(gadget, EM_SETSEL, WPARAM(length), length);
    if (gadget->words.colours.kind_word == EMPTY_LINE_PENDING) {
      replace_selection(gadget, "\n");
      gadget->words.colours.kind_word = EMPTY_LINE_WRITTEN;
    }
    if (length) replace_selection(gadget, "\n");
    else if (!*text_or_empty(text) && gadget->words.colours.kind_word == LINES_NORMAL) gadget->words.colours.kind_word = EMPTY_LINE_PENDING;
    replace_selection(gadget, text_or_empty(text));
  } else {
    send(gadget, EM_SETSEL, WPARAM(start), start);
    replace_selection(gadget, text_or_empty(text));
    replace_selection(gadget, "\n");
  }
  send(gadget, EM_HIDESELECTION, 0);
}

int32_t remove_editor_line(GadgetRecord* gadget, int32_t line) {
  LRESULT start = send(gadget, EM_LINEINDEX, WPARAM(line));
  LRESULT end = send(gadget, EM_LINEINDEX, WPARAM(line + 1));
  send(gadget, EM_HIDESELECTION, 1);
  send(gadget, EM_SETSEL, WPARAM(start), end);
  replace_selection(gadget, "");
  send(gadget, EM_HIDESELECTION, 0);
  int32_t length = int32_t(send(gadget, WM_GETTEXTLENGTH));
  if (length == 0) gadget->words.colours.kind_word = LINES_NORMAL;
  return length;
}

int32_t count_editor_lines(GadgetRecord* gadget) {
  if (send(gadget, WM_GETTEXTLENGTH) == 0 && gadget->words.colours.kind_word == LINES_NORMAL) return 0;
  return int32_t(send(gadget, EM_GETLINECOUNT));
}

void get_editor_line(GadgetRecord* gadget, int32_t line, int32_t, int32_t p) {
  LRESULT start = send(gadget, EM_LINEINDEX, WPARAM(line));
  // A line that does not exist reads as "" (the control would give the last one).
  if (start < 0) {
    buffer_terminate();
    return;
  }
  LRESULT characters = send(gadget, EM_LINELENGTH, WPARAM(start));
  WideBuffer text(characters + 1);
  if (!text.get()) {
    buffer_terminate();
    return;
  }
  LRESULT count = 0;
  if (characters + 1 <= 0xFFFF) {
    *reinterpret_cast<WORD*>(text.get()) = WORD(characters + 1);
    count = send(gadget, EM_GETLINE, WPARAM(line), reinterpret_cast<LPARAM>(text.get()));
  } else {
    // EM_GETLINE's room is a 16-bit count: a longer line is read as the
    // range of characters it spans, which the control ends with a zero.
    TEXTRANGEW range = {{LONG(start), LONG(start + characters)}, text.get()};
    text.get()[0] = 0;
    send(gadget, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.get()[characters] = 0;
    count = LRESULT(wcslen(text.get()));
  }
  if (count < 0 || count > characters + 1) count = 0;
  if (count > 0 && text.get()[count - 1] == L'\r') --count;
  append_wide(text.get(), count, p);
}

void set_editor_line(GadgetRecord* gadget, int32_t line, const char* text, int32_t) {
  LRESULT start = send(gadget, EM_LINEINDEX, WPARAM(line));
  LRESULT length = send(gadget, EM_LINELENGTH, WPARAM(start));
  send(gadget, EM_HIDESELECTION, 1);
  send(gadget, EM_SETSEL, WPARAM(start), start + length);
  replace_selection(gadget, text_or_empty(text));
  send(gadget, EM_HIDESELECTION, 0);
}

int32_t get_editor_attribute(GadgetRecord* gadget, int32_t attribute) {
  if (attribute != ATTRIBUTE_READ_ONLY) return 0;
  return (send(gadget, EM_GETOPTIONS) & ECO_READONLY) ? 1 : 0;
}

void set_editor_attribute(GadgetRecord* gadget, int32_t attribute, int32_t value) {
  if (attribute != ATTRIBUTE_READ_ONLY) return;
  if (value) send(gadget, EM_SETOPTIONS, ECOOP_OR, ECO_READONLY);
  else send(gadget, EM_SETOPTIONS, ECOOP_AND, ~LPARAM(ECO_READONLY));
}

void set_editor_colour(GadgetRecord* gadget, int32_t type, int32_t colour) {
  if (type == COLOUR_BACK) {
    send(gadget, EM_SETBKGNDCOLOR, colour == -1 ? 1 : 0, colour == -1 ? 0 : LPARAM(colour));
    gadget->words.colours.back_colour = colour;
  } else if (type == COLOUR_FRONT) {
    CHARFORMATW format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.dwEffects = colour == -1 ? CFE_AUTOCOLOR : 0;
    format.crTextColor = colour == -1 ? 0 : COLORREF(colour);
    send(gadget, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    send(gadget, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    gadget->words.colours.front_colour = colour;
  }
}

int32_t get_editor_colour(GadgetRecord* gadget, int32_t type) {
  return type == COLOUR_BACK ? gadget->words.colours.back_colour : type == COLOUR_FRONT ? gadget->words.colours.front_colour : -1;
}

// A new font would reset the text colour: put it back.
LRESULT CALLBACK editor_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = CallWindowProcW(rich_edit_procedure, window, message, wparam, lparam);
  if (message != WM_SETFONT) return result;
  int32_t id = int32_t(GetWindowLongA(window, GWL_ID));
  GadgetRecord* gadget = reinterpret_cast<intptr_t>(GetPropA(window, GADGET_PROPERTY)) == id ? find_gadget(id) : nullptr;
  if (gadget && gadget->handle == window) set_editor_colour(gadget, COLOUR_FRONT, gadget->words.colours.front_colour);
  return 0;
}

void prepare_editor(GadgetRecord* gadget) {
  gadget->words.colours.back_colour = -1;
  gadget->words.colours.front_colour = -1;
  gadget->words.colours.kind_word = LINES_NORMAL;
}

constexpr GadgetOperations editor_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_EDITOR;
  ops.get_text = get_editor_text;
  ops.set_text = set_editor_text;
  ops.add_item = add_editor_line;
  ops.remove_item = remove_editor_line;
  ops.clear_items = clear_editor;
  ops.count_items = count_editor_lines;
  ops.get_item_text = get_editor_line;
  ops.set_item_text = set_editor_line;
  ops.get_attribute = get_editor_attribute;
  ops.set_attribute = set_editor_attribute;
  ops.set_colour = set_editor_colour;
  ops.get_colour = get_editor_colour;
  return ops;
}();

void load_rich_edit() {
  if (library_tried) return;
  library_tried = true;
  riched20_loaded = load_system_library(L"riched20.dll") != nullptr;
  if (!riched20_loaded) load_system_library(L"riched32.dll");
}

}  // namespace

intptr_t create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
  load_rich_edit();
  HWND control = create_gadget_control(WS_EX_CLIENTEDGE, riched20_loaded ? L"RichEdit20W" : L"RichEdit", nullptr,
                                       flags | 0x503111C4, x, y, width, height);
  if (!control) return 0;
  WNDPROC replaced = replace_window_procedure(control, editor_procedure);
  if (!rich_edit_procedure) rich_edit_procedure = replaced;
  flush_messages();
  return adopt_gadget_control(number, control, &editor_operations, prepare_editor);
}

}  // namespace vantrel
