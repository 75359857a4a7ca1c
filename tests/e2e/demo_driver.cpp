// The person of the demo when nobody is at the display: waits for the next
// dialog, types a line into it, leaves a screenshot and presses OK.
// Usage: demo_driver <screenshot name> <text to type>
#include <cstdio>

#include "harness.h"

using namespace harness;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: demo_driver <screenshot name> <text to type>\n");
    return 2;
  }
  HWND previous = current_dialog();
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
    return 1;
  }
  settle(dialog);
  type_text(argv[2]);
  settle(dialog);
  std::string path = save_screenshot(dialog.window, argv[1]);
  click_gadget(dialog, 1);
  return path.empty() ? 1 : 0;
}
