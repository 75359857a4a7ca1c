#pragma once
// Click-to-sort for list icon gadgets: a registered list sorts on every
// header click (ascending, then alternating on the same column), marks the
// sorted column, keeps every row's item data equal to its index, and finds
// a row by text typed into the header's filter.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum SorterResult : int32_t {
  SORTER_DONE = 1,
  SORTER_NO_GADGET = 2,
  SORTER_BAD_COLUMN = 3,
  SORTER_NOT_REGISTERED = 4,
};

enum ArrowStyle : int32_t {
  ARROWS_NONE = 0,
  ARROWS_TEXT = 1,        // « Title » ascending, » Title « descending
  ARROWS_IMAGE_LEFT = 2,  // an arrow bitmap left of the title
  ARROWS_IMAGE_RIGHT = 3,
};

bool sorter_start();
void sorter_stop();

int32_t sorter_register(int32_t gadget, int32_t arrow_style);
int32_t sorter_column_count(int32_t gadget);
int32_t sorter_set_column_type(int32_t gadget, int32_t column, int32_t type);
// Sorts as a click on the column would, in the given direction (1 or -1).
int32_t sorter_sort_column(int32_t gadget, int32_t column, int32_t direction);

// Header and row helpers on a list window.
const char* get_column_title(HWND list, int32_t column, int32_t p);
void set_column_title(HWND list, int32_t column, const char* text);
void set_header_image(HWND list, HBITMAP bitmap, int32_t column, int32_t extra_format);
void clear_header_image(HWND list, int32_t column);
void find_row_by_text(HWND list, const char* text, int32_t column);
// The two arrow bitmaps: ascending, then descending.
HBITMAP sorter_arrow(bool ascending);

}  // namespace vantrel
