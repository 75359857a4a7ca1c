#pragma once
// What the list icon's files share: its rows in the control (list_icon.cpp)
// or in their owner's memory (list_icon_virtual.cpp), its header and columns
// (list_icon_columns.cpp), and the selection, events and colours both row
// modes have.
#include <windows.h>

#include <cstdint>

#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace list_icon_parts {

ListIconWords& words_of(GadgetRecord* gadget);
LRESULT send(GadgetRecord* gadget, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
int32_t row_count(GadgetRecord* gadget);
bool is_owner_data(HWND list);
// A report-list control for the flags (style bits and extended styles),
// shown at once unless `visible` is false.
HWND make_list_icon_control(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags, DWORD extra_style,
                            bool visible = true);
void prepare_list_icon(GadgetRecord* gadget);
void release_list_icon_common(GadgetRecord* gadget);

// Clicks, selection changes, drag starts and custom drawing.
LRESULT handle_list_icon_message(GadgetRecord* gadget, HWND parent, UINT message, WPARAM wparam, LPARAM lparam);
int32_t get_list_icon_state(GadgetRecord* gadget);
void set_list_icon_state(GadgetRecord* gadget, int32_t row);
int32_t get_list_icon_item_state(GadgetRecord* gadget, int32_t row);
void set_list_icon_item_state(GadgetRecord* gadget, int32_t row, int32_t state);
void set_list_icon_colour(GadgetRecord* gadget, int32_t type, int32_t colour);
int32_t get_list_icon_colour(GadgetRecord* gadget, int32_t type);

// Rows' records follow the columns (the ordinary mode only).
void follow_columns(GadgetRecord* gadget, int32_t columns, int32_t at, bool inserted);

HWND header_of(HWND list);
int32_t column_count(HWND list);
void get_header_text(GadgetRecord* gadget, int32_t column, int32_t p);
void set_header_text(GadgetRecord* gadget, int32_t column, const char* text);
void add_list_icon_column(GadgetRecord* gadget, int32_t position, const char* title, int32_t width);
void remove_list_icon_column(GadgetRecord* gadget, int32_t column);
int32_t get_list_icon_item_attribute(GadgetRecord* gadget, int32_t row, int32_t attribute, int32_t column);
void set_list_icon_item_attribute(GadgetRecord* gadget, int32_t row, int32_t attribute, int32_t value, int32_t column);

}  // namespace list_icon_parts
}  // namespace vantrel
