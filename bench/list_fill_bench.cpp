// How long ShowListBox and ShowComboBox take, from the call until the dialog
// waits with 100,000 items in place, against the bare platform control
// filled the fastest way it can be: same style, storage reserved, redrawing
// held. Both are measured in this process and run; the best of a few rounds
// of each is compared. The library is loaded afresh for every dialog round,
// so that no round also pays for closing the previous round's dialog (which
// the bare control, created from nothing, does not).
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench_common.h"

namespace {

using bench::now_seconds;
using bench::library_beside_program;

using Show5 = const char*(__stdcall*)(const char*, const char*, const char*, const char*, const char*);

constexpr int ITEMS = 100000;
constexpr int ROUNDS = 3;

struct Control {
  const char* class_name;
  DWORD style;
  UINT init_storage, insert, get_count;
  const char* export_name;
  int width, height, x, y, control_width, control_height;
};

constexpr Control list_box = {"ListBox", 0x50330141, LB_INITSTORAGE, LB_INSERTSTRING, LB_GETCOUNT,
                              "ShowListBox", 300, 400, 0, 0, 300, 370};
constexpr Control combo_box = {"ComboBox", 0x50A20200 | CBS_DROPDOWNLIST | WS_TABSTOP, CB_INITSTORAGE,
                               CB_INSERTSTRING, CB_GETCOUNT, "ShowComboBox", 300, 80, 5, 5, 290, 30};

double bare_fill(const Control& c, const std::vector<std::string>& items, int total_bytes) {
  double start = now_seconds();
  HWND window = CreateWindowExA(0, "Static", "bare", WS_CAPTION | WS_VISIBLE, 0, 0, c.width, c.height, nullptr,
                                nullptr, nullptr, nullptr);
  HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, c.class_name, "", c.style, c.x, c.y, c.control_width,
                                 c.control_height, window, nullptr, nullptr, nullptr);
  SendMessageA(control, c.init_storage, ITEMS, total_bytes);
  SendMessageA(control, WM_SETREDRAW, FALSE, 0);
  for (const std::string& item : items)
    SendMessageA(control, c.insert, WPARAM(-1), reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
  UpdateWindow(window);
  double seconds = now_seconds() - start;
  if (SendMessageA(control, c.get_count, 0, 0) != ITEMS) std::printf("bare %s: wrong count\n", c.class_name);
  DestroyWindow(window);
  return seconds;
}

// From the call until the dialog answers with every item in place.
double dialog_fill(const std::string& dll, const Control& c, const std::string& list) {
  HMODULE library = LoadLibraryA(dll.c_str());
  auto show = reinterpret_cast<Show5>(reinterpret_cast<void*>(GetProcAddress(library, c.export_name)));
  std::atomic<double> waited{0};
  double start = 0;
  std::thread driver([&] {
    for (;;) {
      HWND dialog = FindWindowA("WindowClass_0", nullptr);
      HWND control = dialog ? GetDlgItem(dialog, 0) : nullptr;
      DWORD_PTR count = 0;
      if (control && SendMessageTimeoutA(control, c.get_count, 0, 0, SMTO_NORMAL, 60000, &count) && count == ITEMS) {
        waited = now_seconds();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 2)));
        return;
      }
      Sleep(1);
    }
  });
  std::string width = std::to_string(c.width), height = std::to_string(c.height);
  start = now_seconds();
  show("bench", list.c_str(), width.c_str(), height.c_str(), "0");
  driver.join();
  FreeLibrary(library);
  return waited - start;
}

}  // namespace

int main() {
  if (bench::refuse_emulated_machine()) return 0;
  std::string dll = library_beside_program();
  if (GetFileAttributesA(dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::printf("no %s\n", dll.c_str());
    return 1;
  }
  std::vector<std::string> items;
  std::string list;
  int total_bytes = 0;
  for (int i = 0; i < ITEMS; ++i) {
    char item[16];
    std::snprintf(item, sizeof item, "item%05d", i);
    items.push_back(item);
    list += item;
    list += '|';
    total_bytes += int(items.back().size()) + 1;
  }
  std::printf("%s; %d items, list of %zu bytes\n", bench::build_and_machine().c_str(), ITEMS, list.size());
  bool within = true;
  for (const Control* c : {&list_box, &combo_box}) {
    double best_bare = 1e9, best_dialog = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
      best_bare = std::min(best_bare, bare_fill(*c, items, total_bytes));
      best_dialog = std::min(best_dialog, dialog_fill(dll, *c, list));
    }
    double ratio = best_dialog / best_bare;
    within = within && ratio <= 1.25;
    std::printf("%-13s dialog %.3f s, bare control %.3f s, ratio %.2f (target 1.25)\n", c->export_name, best_dialog,
                best_bare, ratio);
  }
  return within ? 0 : 1;
}
