// The multi-line editor on a rich-edit control, read and written whole or
// by line.
#include <richedit.h>

#include <cstring>

#include "runtime/strings.h"
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
  return SendMessageA(gadget->handle, message, wparam, lparam);
}

void replace_selection(GadgetRecord* gadget, const char* text) {
  send(gadget, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

void clear_editor(GadgetRecord* gadget) {
  SetWindowTextA(gadget->handle, "");
  gadget->words.colours.kind_word = LINES_NORMAL;
}

// The longest character of the ANSI code page in bytes: 2 on the Chinese,
// Japanese and Korean code pages, where the control counts characters.
int32_t ansi_character_bytes() {
  CPINFO info;
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1 ? int32_t(info.MaxCharSize) : 1;
}

// The whole text handed to the control as plain text, byte for byte: text
// that happens to start with "{\rtf" is the host's text, not markup.
struct PlainText {
  const char* next;
  const char* end;
  UINT code_page;
};

// How many of the first `wanted` bytes end on a character boundary, so that
// no multi-byte character is split between two reads.
LONG whole_characters(const PlainText& text, LONG wanted) {
  if (text.end - text.next <= wanted) return LONG(text.end - text.next);
  if (!text.code_page) return wanted;
  LONG whole = 0;
  if (text.code_page == CP_UTF8) {
    whole = wanted;
    while (whole > 0 && (static_cast<unsigned char>(text.next[whole]) & 0xC0) == 0x80) --whole;
  } else {
    for (LONG at = 0; at < wanted;) {
      at += IsDBCSLeadByteEx(text.code_page, BYTE(text.next[at])) ? 2 : 1;
      if (at <= wanted) whole = at;
    }
  }
  return whole > 0 ? whole : wanted;
}

DWORD CALLBACK read_plain_text(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* text = reinterpret_cast<PlainText*>(cookie);
  LONG count = wanted > 0 ? whole_characters(*text, wanted) : 0;
  memcpy(buffer, text->next, size_t(count));
  text->next += count;
  *given = count;
  return 0;
}

int32_t set_editor_text(GadgetRecord* gadget, const char* text) {
  if (!text || !*text) {
    clear_editor(gadget);
    return 0;
  }
  UINT code_page = ansi_character_bytes() > 1 ? GetACP() : 0;  // 0: every byte is a character
  PlainText plain = {text, text + strlen(text), code_page};
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&plain), 0, read_plain_text};
  send(gadget, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  return 0;
}

// The whole text as the ANSI code page has it, with CR LF line breaks. The
// length is asked in bytes: the window-text length of a rich edit counts
// characters, too few for a multi-byte code page.
void get_editor_text(GadgetRecord* gadget, int32_t p) {
  GETTEXTLENGTHEX how = {GTL_NUMBYTES | GTL_PRECISE | GTL_USECRLF, CP_ACP};
  LRESULT length = send(gadget, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how));
  if (length <= 0 || length >= 0x7FFFFFF0) {  // none, or a control without the message
    append_window_text(gadget->handle, p);
    return;
  }
  char* at = buffer_reserve(int32_t(length), p);
  if (!at) {
    buffer_terminate();
    return;
  }
  GETTEXTEX ex = {DWORD(length + 1), GT_USECRLF, CP_ACP, nullptr, nullptr};
  LRESULT actual = send(gadget, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&ex), reinterpret_cast<LPARAM>(at));
  if (actual < 0 || actual > length) actual = 0;
  at[actual] = 0;
  buffer_give_back(int32_t(length - actual));
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
  // The line length counts characters; the line arrives in ANSI bytes.
  LRESULT characters = send(gadget, EM_LINELENGTH, WPARAM(start));
  int32_t size = int32_t(characters) * ansi_character_bytes() + 3;
  char* at = buffer_reserve(size, p);
  if (!at) {
    buffer_terminate();
    return;
  }
  int32_t count = 0;
  if (size <= 0xFFFF) {
    *reinterpret_cast<WORD*>(at) = WORD(size);
    count = int32_t(send(gadget, EM_GETLINE, WPARAM(line), reinterpret_cast<LPARAM>(at)));
  } else {
    // EM_GETLINE's room is a 16-bit count: a longer line is read as the
    // range of characters it spans, which the control ends with a zero.
    TEXTRANGEA range = {{LONG(start), LONG(start + characters)}, at};
    at[0] = 0;
    send(gadget, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    at[size - 1] = 0;
    count = int32_t(strlen(at));
  }
  if (count < 0 || count > size) count = 0;
  if (count > 0 && at[count - 1] == '\r') --count;
  at[count] = 0;
  buffer_give_back(size - count);
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
    CHARFORMATA format = {};
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

// On a multi-byte code page a typed double-byte character reaches the
// control as two WM_CHAR messages, lead byte then trail byte. Some rich edit
// controls read each byte on its own and type two wrong characters; the
// pair is put together here and typed whole. True when the byte was taken.
bool typed_double_byte(HWND window, WPARAM character) {
  static HWND lead_window = nullptr;
  static BYTE lead = 0;
  BYTE byte = BYTE(character);
  if (lead && lead_window == window) {
    const char pair[3] = {char(lead), char(byte), 0};
    lead = 0;
    CallWindowProcA(rich_edit_procedure, window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pair));
    return true;
  }
  lead = 0;
  if (ansi_character_bytes() < 2 || !IsDBCSLeadByte(byte)) return false;
  if (CallWindowProcA(rich_edit_procedure, window, EM_GETOPTIONS, 0, 0) & ECO_READONLY) return false;
  lead = byte;
  lead_window = window;
  return true;
}

// A new font would reset the text colour: put it back.
LRESULT CALLBACK editor_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CHAR && typed_double_byte(window, wparam)) return 0;
  LRESULT result = CallWindowProcA(rich_edit_procedure, window, message, wparam, lparam);
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
  riched20_loaded = LoadLibraryA("RICHED20.DLL") != nullptr;
  if (!riched20_loaded) LoadLibraryA("RICHED32.DLL");
}

}  // namespace

intptr_t create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags) {
  load_rich_edit();
  HWND control = create_gadget_control(WS_EX_CLIENTEDGE, riched20_loaded ? "RichEdit20A" : "RichEdit", nullptr,
                                       flags | 0x503111C4, x, y, width, height);
  if (!control) return 0;
  WNDPROC replaced = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editor_procedure)));
  if (!rich_edit_procedure) rich_edit_procedure = replaced;
  flush_messages();
  return adopt_gadget_control(number, control, &editor_operations, prepare_editor);
}

}  // namespace vantrel
