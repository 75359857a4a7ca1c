#pragma once
// Sorting the rows of a report list by one column: each row's text read
// once, made into a key by the column's type, the rows ordered stably by
// key, and the order handed to the control in one sort.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum ColumnType : int8_t {
  SORT_TEXT_NOCASE = 0,
  SORT_TEXT_CASE = 1,
  SORT_INTEGER = 2,
  SORT_FLOAT = 3,
  SORT_DATE_DMY = 4,
  SORT_DATE_MDY = 5,
  SORT_FILE_SIZE = 6,
  SORT_NONE = 7,
  SORT_DATETIME_DMY = 8,
  SORT_DATETIME_DMY2 = 9,
  SORT_CHAR_TABLE = 10,
  SORT_CALLBACK = 11,
  SORT_INTEGER64 = 12,
  SORT_DOUBLE = 13,
};

constexpr UINT MSG_LIST_SORTED = WM_USER + 1;  // sent to the list after a sort: column, 0
constexpr int32_t SORT_TEXT_LIMIT = 254;      // a cell sorts by its first 254 characters

// Set by the sorter right before each sort.
struct SortContext {
  HWND list;
  int8_t column_type;
  int32_t direction;  // +1 ascending, -1 descending
};
SortContext& sort_context();

// Sorts the list by the column under the sort context, renumbers the rows
// and tells the list (MSG_LIST_SORTED). Rows that compare equal keep their
// order. Returns 0.
int32_t sort_list_column(HWND list, int32_t column);
// Every row's item data becomes its index.
int32_t renumber_rows(HWND list);

// The order of two cell texts under a column type: negative, 0 or positive
// (ascending; the sort reverses it for descending).
int compare_cell_texts(int8_t type, const char* a, const char* b);

float size_value(const char* text);
const char* date_key_dmy(const char* text, int32_t p);
const char* date_key_mdy(const char* text, int32_t p);
const char* date_key_dmy_time(const char* text, int32_t p);
const char* date_key_dmy2_time(const char* text, int32_t p);
// 1-based position of the last occurrence of the pattern at or after start; 0 for none.
int32_t last_position(const char* text, const char* pattern, int32_t start);

}  // namespace vantrel
