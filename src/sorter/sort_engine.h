#pragma once
// Sorting the rows of a report list by one column: each row's text read
// once, made into a key by the column's type, the rows ordered stably by
// key, and the order handed to the control in one sort.
#include <windows.h>

#include <cstdint>

#include "sorter/sort_keys.h"

namespace vantrel {

constexpr UINT MSG_LIST_SORTED = WM_USER + 1;  // sent to the list after a sort: column, 0

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

}  // namespace vantrel
