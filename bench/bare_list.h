#pragma once
// The bare report list doing the table dialog's work at its best: every row
// inserted with redrawing off and storage reserved, one rank sort on keys
// read once, for the multi-column list benchmark to hold the dialog against.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_common.h"

namespace bench {

struct Row {
  std::string cells[3];
};

struct Bare {
  double insert = 0, keys = 0, sort = 0, total = 0, resort = 0, destroy = -1;
};

// Keys of one column read once, ordered stably without regard to case, applied by one rank sort.
inline void bare_sort(HWND list, int column, double* keys_seconds, double* sort_seconds) {
  double start = now_seconds();
  int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> keys(static_cast<size_t>(count));
  std::vector<int> ids(static_cast<size_t>(count));
  char text[256];
  for (int i = 0; i < count; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    keys[size_t(i)] = text;
    ids[size_t(i)] = int(item.lParam);
  }
  std::vector<int> order(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) order[size_t(i)] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return _stricmp(keys[size_t(a)].c_str(), keys[size_t(b)].c_str()) < 0; });
  std::vector<int> ranks(static_cast<size_t>(count));
  for (int r = 0; r < count; ++r) ranks[size_t(ids[size_t(order[size_t(r)])])] = r;
  double sort_start = now_seconds();
  SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(ranks.data()), reinterpret_cast<LPARAM>(by_rank));
  *keys_seconds = sort_start - start;
  *sort_seconds = now_seconds() - sort_start;
}

// The bare list from nothing until it holds every row, sorted by column 2;
// then a re-sort by column 3 and, where it ends in seconds, its destruction.
inline Bare measure_bare(const std::vector<Row>& rows, bool destroy) {
  Bare bare;
  double start = now_seconds();
  HWND window = CreateWindowExA(0, "Static", "bare", WS_CAPTION | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr,
                                nullptr, nullptr);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", 0x50010045 | LVS_SHOWSELALWAYS, 5, 5, 590, 363,
                              window, nullptr, nullptr, nullptr);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0x10000020, 0x10000020);
  for (int c = 0; c < 4; ++c) {
    LVCOLUMNA column = {LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM, 0, c ? 190 : 0, const_cast<char*>("c"), 0, c};
    SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(c), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(rows.size()), 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string number = std::to_string(i + 1);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = int(i);
    item.lParam = LPARAM(i);
    item.pszText = const_cast<char*>(number.c_str());
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int c = 0; c < 3; ++c) {
      item.iSubItem = c + 1;
      item.pszText = const_cast<char*>(rows[i].cells[c].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
  }
  bare.insert = now_seconds() - start;
  bare_sort(list, 2, &bare.keys, &bare.sort);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  UpdateWindow(window);
  bare.total = now_seconds() - start;
  double keys = 0, sort = 0;
  bare_sort(list, 3, &keys, &sort);
  bare.resort = keys + sort;
  if (destroy) {
    double destroy_start = now_seconds();
    DestroyWindow(window);
    bare.destroy = now_seconds() - destroy_start;
  }
  return bare;
}

}  // namespace bench
