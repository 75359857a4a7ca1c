// How long the column sorter takes to sort a list icon gadget of three
// columns (text, integer, date dd/mm/yyyy) by each column in both
// directions, against the best the bare report list can do in the same run:
// every row's text of the column read once, the order settled once with a
// stable sort of the same keys, and one sort message whose comparison only
// compares ranks. Printed for 10,000 and 100,000 rows, so that the growth
// can be compared with n log n.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/library.h"
#include "runtime/string_functions.h"
#include "sorter/sort_engine.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/windows.h"

using namespace vantrel;

#include "bench_common.h"

namespace {

using bench::now_seconds;
using bench::by_rank;

struct Row {
  std::string cells[3];
};

std::vector<Row> make_rows(int count) {
  static const char* words[] = {"apple", "Banana", "cherry", "date", "Elder", "fig", "grape", "kiwi", "Lemon", "mango"};
  std::vector<Row> rows;
  unsigned seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
  for (int i = 0; i < count; ++i) {
    char date[16];
    std::snprintf(date, sizeof date, "%02u/%02u/%04u", next() % 28 + 1, next() % 12 + 1, 1990 + next() % 40);
    rows.push_back({std::string(words[next() % 10]) + " " + std::to_string(next() % 1000),
                    std::to_string(int(next() % 2000000) - 1000000), date});
  }
  return rows;
}

constexpr int8_t types[3] = {SORT_TEXT_NOCASE, SORT_INTEGER, SORT_DATE_DMY};

HWND fill_bare(HWND parent, const std::vector<Row>& rows) {
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", 0x50010045, 5, 5, 390, 250, parent, nullptr, nullptr,
                              nullptr);
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM, 0, 120, const_cast<char*>("c"), 0, c};
    SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(c), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(rows.size()), 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = int(i);
    item.lParam = LPARAM(i);
    item.pszText = const_cast<char*>(rows[i].cells[0].c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 1; c < 3; ++c) {
      item.iSubItem = c;
      item.pszText = const_cast<char*>(rows[i].cells[c].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  return list;
}

// The bare control's best: texts read once, keys compared as the sorter
// compares them, one rank sort.
double bare_sort(HWND list, int column, int direction) {
  double start = now_seconds();
  int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  struct Key {
    int id;
    std::string text;
  };
  std::vector<Key> keys(static_cast<size_t>(count));
  char text[256];
  for (int i = 0; i < count; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    keys[size_t(i)] = {int(item.lParam), std::string(text, size_t(length))};
  }
  int8_t type = types[column];
  std::vector<int64_t> numbers;
  if (type == SORT_INTEGER) {
    for (Key& k : keys) numbers.push_back(parse_integer(k.text.c_str()));
  } else if (type == SORT_DATE_DMY) {
    for (Key& k : keys) k.text = k.text.substr(6, 4) + k.text.substr(3, 2) + k.text.substr(0, 2);
  }
  std::vector<int> order(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) order[size_t(i)] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    int c = type == SORT_INTEGER ? (numbers[size_t(a)] < numbers[size_t(b)] ? -1 : numbers[size_t(a)] > numbers[size_t(b)])
                                 : _stricmp(keys[size_t(a)].text.c_str(), keys[size_t(b)].text.c_str());
    return c * direction < 0;
  });
  std::vector<int> ranks(static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) ranks[size_t(keys[size_t(order[size_t(r)])].id)] = r;
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(ranks.data()), reinterpret_cast<LPARAM>(by_rank));
  return now_seconds() - start;
}

}  // namespace

int main() {
  if (bench::refuse_emulated_machine()) return 0;
  std::printf("%s\n", bench::build_and_machine().c_str());
  if (!start_library(GetModuleHandleA(nullptr))) return 1;
  bool within = true;
  double ours_at[2] = {}, bare_at[2] = {};
  int sizes[2] = {10000, 100000};
  for (int s = 0; s < 2; ++s) {
    std::vector<Row> rows = make_rows(sizes[s]);
    HWND window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "sort bench", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    create_list_icon_gadget(3, 5, 5, 390, 250, "Text", 120, 0x50000008);
    add_gadget_column(3, 1, "Integer", 100);
    add_gadget_column(3, 2, "Date", 100);
    hold_list_icon_drawing(3, true, int32_t(rows.size()));
    for (const Row& row : rows) add_gadget_item(3, -1, (row.cells[0] + "\n" + row.cells[1] + "\n" + row.cells[2]).c_str());
    hold_list_icon_drawing(3, false);
    sorter_register(3, 2);
    for (int c = 0; c < 3; ++c) sorter_set_column_type(3, c, types[c]);
    HWND bare_window = CreateWindowExA(0, "Static", "bare", WS_CAPTION | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                       nullptr, nullptr);
    HWND bare = fill_bare(bare_window, rows);
    for (int column = 0; column < 3; ++column) {
      for (int direction : {1, -1}) {
        double start = now_seconds();
        sorter_sort_column(3, column, direction);
        double ours = now_seconds() - start;
        double theirs = bare_sort(bare, column, direction);
        ours_at[s] += ours;
        bare_at[s] += theirs;
        double ratio = ours / theirs;
        if (sizes[s] == 100000) within = within && ratio <= 1.5;
        std::printf("%6d rows, column %d (%s), %s: sorter %.3f s, bare %.3f s, ratio %.2f\n", sizes[s], column,
                    column == 0 ? "text" : column == 1 ? "integer" : "date", direction == 1 ? "ascending " : "descending",
                    ours, theirs, ratio);
      }
    }
    DestroyWindow(bare_window);
    close_window(0);
  }
  double nlogn = (100000.0 * std::log(100000.0)) / (10000.0 * std::log(10000.0));
  std::printf("growth from 10,000 to 100,000 rows: sorter %.1f x, bare %.1f x (n log n: %.1f x)\n",
              ours_at[1] / ours_at[0], bare_at[1] / bare_at[0], nlogn);
  stop_library();
  return within ? 0 : 1;
}
