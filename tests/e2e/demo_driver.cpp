// The person of the demo when nobody is at the display: waits for the next
// dialog, types a line into it, leaves a screenshot and presses OK.
// Usage: demo_driver <screenshot name> <text to type>
//
// A drop handle belongs to the process that made it, so files are dropped
// from inside the host: with --drop the driver is the host as well. It calls
// ShowDragnDrop with the arguments that follow the names, drops the names
// ("a|b|") on the list as the shell does, and prints the answer.
// Usage: demo_driver --drop <screenshot name> <names> <title> <width> <height> <host window>
//
// With --press the person only looks and presses that gadget.
// Usage: demo_driver --press <screenshot name> <gadget>
//
// With --table the person clicks a header of the table (gadget 3), then
// picks a row with the keys.
// Usage: demo_driver --table <screenshot name> <header column> <row>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

// Names separated by "|", as a list.
std::vector<std::string> names_of(const std::string& names) {
  std::vector<std::string> list;
  for (size_t at = 0, end; (end = names.find('|', at)) != std::string::npos; at = end + 1) list.push_back(names.substr(at, end - at));
  return list;
}

// Waits for a new dialog and acts in it as the person, leaves a screenshot
// and presses the ending gadget (OK: 1, the about box's OK: 4); true when a
// screenshot was left.
bool act_in_next_dialog(HWND previous, const char* shot, const std::function<void(const Dialog&)>& act,
                        int ending = 1) {
  Dialog dialog = {nullptr};
  bool appeared = wait_until(
      [&] {
        HWND w = current_dialog();
        DWORD_PTR ignored;
        if (!w || w == previous || !IsWindowVisible(w) ||
            !SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored))
          return false;
        dialog.window = w;
        return true;
      },
      15000);
  if (!appeared) {
    std::fprintf(stderr, "demo_driver: no dialog appeared\n");
    return false;
  }
  settle(dialog);
  act(dialog);
  settle(dialog);
  std::string path = save_screenshot(dialog.window, shot);
  click_gadget(dialog, ending);
  return !path.empty();
}

// The driver is another process than the dialog: messages that fill a
// rectangle do not reach across, so the header item is found by widths.
void click_header_from_outside(const Dialog& d, int column) {
  HWND list = d.gadget(3);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  int left = 0;
  for (int c = 0; c < column; ++c) left += int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(c), 0));
  RECT bounds = {};
  GetClientRect(header, &bounds);
  POINT at = {left + int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0)) / 2, bounds.bottom / 2};
  ClientToScreen(header, &at);
  click_at(at);
}

int drop_as_host(char** argv) {
  auto show = shared_library().get<Show4>("ShowDragnDrop");
  if (!show) {
    std::fprintf(stderr, "demo_driver: no ShowDragnDrop\n");
    return 1;
  }
  bool acted = false;
  std::thread person([&] {
    acted = act_in_next_dialog(current_dialog(), argv[2], [&](const Dialog& d) {
      PostMessageA(d.gadget(3), WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop(names_of(argv[3]))), 0);
    });
  });
  const char* answer = show(argv[4], argv[5], argv[6], argv[7]);
  person.join();
  std::printf("%s\n", answer ? answer : "");
  return acted ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 8 && strcmp(argv[1], "--drop") == 0) return drop_as_host(argv);
  if (argc == 4 && strcmp(argv[1], "--press") == 0)
    return act_in_next_dialog(current_dialog(), argv[2], [](const Dialog&) {}, atoi(argv[3])) ? 0 : 1;
  if (argc == 5 && strcmp(argv[1], "--table") == 0) {
    int column = atoi(argv[3]), row = atoi(argv[4]);
    return act_in_next_dialog(current_dialog(), argv[2], [&](const Dialog& d) {
      click_header_from_outside(d, column);
      settle(d);
      press_key(VK_HOME);
      for (int i = 0; i < row; ++i) press_key(VK_DOWN);
    }) ? 0 : 1;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: demo_driver <screenshot name> <text to type>\n");
    return 2;
  }
  const char* text = argv[2];
  return act_in_next_dialog(current_dialog(), argv[1], [&](const Dialog&) { type_text(text); }) ? 0 : 1;
}
