#pragma once
// Constructors of the gadget kinds. Each returns, for a named number, the
// control's handle, for OBJECT_ANY the new number, and 0 on failure.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "dates/dates.h"

namespace vantrel {

intptr_t create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                              uint32_t flags = 0);
intptr_t create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                            uint32_t flags = 0);
intptr_t create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags = 0);
intptr_t create_list_view_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t flags = 0);
// Flag 2: an editable drop-down; otherwise a drop-down list.
intptr_t create_combo_box_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                 uint32_t flags = 0);
// Gives a combo box's dropped list room for that many entries.
void show_combo_entries(int32_t number, int32_t entries);
// A group box with the text as caption (type 0), or an edged rectangle that
// lets the window show through: sunken (1), thin (2), flat (any other).
enum FrameType : int32_t { FRAME_GROUP_BOX = 0, FRAME_SUNKEN = 1, FRAME_THIN = 2, FRAME_FLAT = 3 };
intptr_t create_frame_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, const char* text,
                             int32_t type = FRAME_GROUP_BOX);
// A picture that takes the bitmap's or icon's size; the handle stays the caller's.
intptr_t create_image_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, HANDLE image,
                             DWORD ex_style = 0);
// A date of 0 selects today.
intptr_t create_calendar_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                int32_t date = 0, uint32_t flags = 0);
// The selected day by its parts, for every day the control can show (a date
// value, its state, holds 1970 to 2038 only); false without a calendar.
bool get_calendar_day(int32_t number, DateParts* day);
// Selects the day; false when the control cannot show it.
bool set_calendar_day(int32_t number, const DateParts& day);

// A report list with one column of that title and width. Flags: below.
intptr_t create_list_icon_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                 const char* title, int32_t title_width, uint32_t flags = 0);
// Holds a list icon's drawing while many rows go in (room made for
// `rows_to_come` of them), and lets it draw again, once, afterwards.
void hold_list_icon_drawing(int32_t number, bool hold, int32_t rows_to_come = 0);

// Sets every row's data value to its index in one pass; false for a number
// that holds no list icon.
bool number_list_icon_rows(int32_t number);
// Where each of the first `count` rows keeps its data value, in row order;
// false unless each has one. A slot stays with its row when the rows move,
// as long as the columns do not change.
bool list_icon_data_slots(int32_t number, const int32_t** slots, int32_t count);

// Rows that live in their owner's memory: a list icon in this mode holds no
// rows (the platform's owner-data list) and asks the source for the texts it
// shows. order[place] is the source's row shown at that place; sorting
// reorders it. The source is released when the list goes.
struct RowSource {
  int32_t rows;
  int32_t* order;
  // The text of the source's row in a column; `scratch` (12 bytes) may hold it.
  const char* (*text)(const RowSource* source, int32_t row, int32_t column, char* scratch);
  void (*release)(RowSource* source);
};
intptr_t create_virtual_list_icon_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                                         const char* title, int32_t title_width, uint32_t flags, RowSource* source);
// The source of a list icon in that mode, or null.
RowSource* list_icon_row_source(HWND list);
// Shows the source's rows: a list made from a source is not shown until
// then, so that its columns and rows go in without drawing for each.
void show_list_icon_rows(int32_t number);

// Makes the selected row, else the first, the row with the keyboard focus,
// so that a screen reader has a row to read once the list has the focus.
void focus_list_icon_row(int32_t number);

// Typing in the list finds the first row, in the list's order, whose first
// visible column starts with what was typed (letter case ignored; a pause
// of a second starts anew), and selects, focuses and shows it.
bool find_list_icon_rows_by_typing(int32_t number);
// The first column in the header's order that is wider than 0 pixels.
int32_t first_visible_column(HWND list);
// The first row in [from, to) whose text in `column` starts with the
// `length` UTF-16 units at `typed` (letter case ignored); -1 when none does.
int32_t find_row_starting_with(HWND list, int32_t column, const wchar_t* typed, size_t length, int32_t from,
                               int32_t to);

// List icon flags: bits of its fixed style, reused to ask for extended styles.
constexpr uint32_t LIST_ICON_CHECKBOXES = 0x1;
constexpr uint32_t LIST_ICON_MULTI_SELECT = 0x4;
constexpr uint32_t LIST_ICON_GRID_LINES = 0x10000;
constexpr uint32_t LIST_ICON_HEADER_DRAG_DROP = 0x10000000;
constexpr uint32_t LIST_ICON_FULL_ROW_SELECT = 0x40000000;

constexpr uint32_t TEXT_BORDER = 0x20000;
// A text too long for its gadget scrolls (a read-only box) instead of being cut.
constexpr uint32_t TEXT_SCROLLS_WHEN_LONG = 0x80000;
constexpr int32_t ATTRIBUTE_READ_ONLY = 2048;
constexpr int32_t ATTRIBUTE_COLUMN_WIDTH = 1;
constexpr int32_t CALENDAR_MINIMUM = 1;
constexpr int32_t CALENDAR_MAXIMUM = 2;

}  // namespace vantrel
