#pragma once
// Gadgets: numbered controls on a toolkit window. Each kind fills one table
// of operations; the generic operations below dispatch to it by number.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum GadgetKind : int32_t {
  KIND_BUTTON = 1,
  KIND_TEXT = 3,
  KIND_LIST_VIEW = 6,
  KIND_FRAME = 7,
  KIND_COMBO_BOX = 8,
  KIND_IMAGE = 9,
  KIND_LIST_ICON = 12,
  KIND_CALENDAR = 20,
  KIND_EDITOR = 22,
};

enum ColourType : int32_t {
  COLOUR_FRONT = 1,
  COLOUR_BACK = 2,
  COLOUR_LINE = 3,
  COLOUR_TITLE_FRONT = 4,
  COLOUR_TITLE_BACK = 5,
  COLOUR_TRAILING_TEXT = 6,
};

constexpr const char* GADGET_PROPERTY = "VX_ID";
constexpr const char* DROP_PROPERTY = "VX_DropAccept";
constexpr intptr_t DEFAULT_FONT = -1;

struct GadgetOperations;

// The last four words of a gadget record: the shared colour words, or the
// kind's own where it keeps other data.
struct ColourWords {
  int32_t back_colour;   // -1: system default
  int32_t front_colour;  // -1: system default
  HBRUSH back_brush;     // from the brush cache; none while back_colour is -1
  int32_t kind_word;
};

struct CalendarWords {
  uint32_t* day_state_table;  // entries of 13 words: the year, then a day mask per month
  int32_t day_state_capacity;
  int32_t colour_set_flags;
  int32_t last_date;
};

struct ImageListSet;

struct ListIconWords {
  uint32_t longest_text_length;  // longest cell text written since creation or the last clear
  ImageListSet* image_lists;     // made on the first row with an image
  int32_t line_colour;           // grid lines drawn in it; -1: none
  int32_t columns;               // the header's column count, kept as columns come and go
};

struct ImageWords {
  HANDLE shown_image;   // bitmap or icon; 0: none. The caller's: never copied or deleted
  int32_t button_down;  // 1 from a left press until its release or a drag start
  int32_t down_point;   // where that press was, packed as in a mouse message
};

struct GadgetRecord {
  HWND handle;
  const GadgetOperations* operations;
  WNDPROC previous_procedure;
  union {
    ColourWords colours;
    CalendarWords calendar;
    ListIconWords list_icon;
    ImageWords image;
  } words;
};

struct GadgetOperations {
  int32_t kind;
  LRESULT (*handle_message)(GadgetRecord*, HWND parent, UINT message, WPARAM, LPARAM);
  void (*release_gadget)(GadgetRecord*);
  int32_t (*get_state)(GadgetRecord*);
  void (*set_state)(GadgetRecord*, int32_t state);
  void (*get_text)(GadgetRecord*, int32_t p);
  int32_t (*set_text)(GadgetRecord*, const char* text);
  void (*add_item)(GadgetRecord*, int32_t position, const char* text, HANDLE image);
  void (*add_item_ex)(GadgetRecord*, int32_t position, const char* text, HANDLE image, int32_t flags);
  int32_t (*remove_item)(GadgetRecord*, int32_t item);
  void (*clear_items)(GadgetRecord*);
  void (*resize)(GadgetRecord*, int32_t x, int32_t y, int32_t width, int32_t height);
  int32_t (*count_items)(GadgetRecord*);
  int32_t (*get_item_state)(GadgetRecord*, int32_t item);
  void (*set_item_state)(GadgetRecord*, int32_t item, int32_t state);
  void (*get_item_text)(GadgetRecord*, int32_t item, int32_t column, int32_t p);
  void (*set_item_text)(GadgetRecord*, int32_t item, const char* text, int32_t column);
  int32_t (*get_x)(GadgetRecord*);
  int32_t (*get_y)(GadgetRecord*);
  int32_t (*get_width)(GadgetRecord*);
  int32_t (*get_height)(GadgetRecord*);
  void (*hide)(GadgetRecord*, int32_t flag);
  void (*add_column)(GadgetRecord*, int32_t position, const char* title, int32_t width);
  void (*remove_column)(GadgetRecord*, int32_t column);
  int32_t (*get_attribute)(GadgetRecord*, int32_t attribute);
  void (*set_attribute)(GadgetRecord*, int32_t attribute, int32_t value);
  int32_t (*get_item_attribute)(GadgetRecord*, int32_t item, int32_t attribute, int32_t column);
  void (*set_item_attribute)(GadgetRecord*, int32_t item, int32_t attribute, int32_t value, int32_t column);
  void (*set_colour)(GadgetRecord*, int32_t type, int32_t colour);
  int32_t (*get_colour)(GadgetRecord*, int32_t type);
  void (*set_item_colour)(GadgetRecord*, int32_t item, int32_t type, int32_t colour, int32_t column);
  int32_t (*get_item_colour)(GadgetRecord*, int32_t item, int32_t type, int32_t column);
  void (*set_item_data)(GadgetRecord*, int32_t item, intptr_t value);
  intptr_t (*get_item_data)(GadgetRecord*, int32_t item);
};

bool start_gadgets();
void stop_gadgets();  // after every window has closed

HWND begin_gadget_list(HWND window);
void set_gadget_font(int32_t number, intptr_t font);
// The font that new gadgets get.
HFONT gadget_list_font();

// Creation support for the kinds: a control made with the current parent
// and identifier -1, then registered under `number`.
HWND create_gadget_control(DWORD ex_style, const wchar_t* class_name, const char* text, DWORD style, int32_t x,
                           int32_t y, int32_t width, int32_t height, intptr_t control_id = -1);
// A "Static" control made as create_gadget_control makes one, but from the
// host's classes (platform.cpp says why); and its class's own procedure,
// for a kind that has taken over some of its messages.
HWND create_static_control(DWORD ex_style, const char* text, DWORD style, int32_t x, int32_t y, int32_t width,
                           int32_t height);
LRESULT call_static_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// Gives a freshly made control its gadget number (replacing the gadget that
// held it); `prepare` sets the kind's own words before registration. The
// control is destroyed when no record can be had; a control whose window is
// already gone is not adopted (0).
intptr_t adopt_gadget_control(int32_t number, HWND control, const GadgetOperations* operations,
                              void (*prepare)(GadgetRecord*) = nullptr);
GadgetRecord* find_gadget(int32_t number);
// Lets go of every gadget on `window` without destroying its control: each
// control gets its class's procedure back and its record is released. For a
// window that another thread owns and must destroy itself.
void hand_back_gadgets(HWND window);
// Routes a parent's message about `control` to its kind.
LRESULT route_to_gadget(HWND control, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);

// Generic operations by gadget number; a free number does nothing.
HWND gadget_handle(int32_t number);
bool is_gadget(int32_t number);
int32_t get_gadget_state(int32_t number);
void set_gadget_state(int32_t number, int32_t state);
const char* get_gadget_text(int32_t number, int32_t p);
// The kind's answer: -1 when a list has no such text, else 0.
int32_t set_gadget_text(int32_t number, const char* text);
void add_gadget_item(int32_t number, int32_t position, const char* text);
int32_t count_gadget_items(int32_t number);
const char* get_gadget_item_text(int32_t number, int32_t item, int32_t column, int32_t p);
void add_gadget_column(int32_t number, int32_t position, const char* title, int32_t width);
int32_t get_gadget_item_state(int32_t number, int32_t item);
void set_gadget_item_state(int32_t number, int32_t item, int32_t state);
void set_gadget_item_data(int32_t number, int32_t item, intptr_t value);
int32_t gadget_width(int32_t number);
void hide_gadget(int32_t number, int32_t flag);
void resize_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);
// Moves and sizes the control, a kept value (KEEP_VALUE) read from it: what
// every kind without a resize of its own gets.
void resize_gadget_control(GadgetRecord* record, int32_t x, int32_t y, int32_t width, int32_t height);

// The control's window text appended at p.
void append_window_text(HWND control, int32_t p);
// A control's text from one of the call's code page.
void set_window_text(HWND window, const char* text);

// Shared colour routines of the kinds that keep front and back colour words.
void set_shared_colour(GadgetRecord* gadget, int32_t type, int32_t colour);
int32_t get_shared_colour(GadgetRecord* gadget, int32_t type);
void release_shared_colour(GadgetRecord* gadget);

// The brush cache: one brush per colour, shared and counted.
void start_brushes();
void stop_brushes();
HBRUSH get_brush(COLORREF colour);
void release_brush(HBRUSH brush);

// Erases and repaints a control.
void redraw(HWND control);

// Room for the day states of `months` months, shared by every calendar and
// kept until the next call; null when memory runs out.
uint32_t* day_state_scratch(int32_t months);

uint32_t comctl_version();
bool themes_active();

}  // namespace vantrel
