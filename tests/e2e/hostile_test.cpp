// Callers that pass what no dialog expects: the dialog still opens, ends
// with its buttons, and the host goes on.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int CANCEL = 2, ABOUT_OK = 4;

// Presses an ending button by its message: at these sizes it may lie
// outside the window, where no click can reach it.
void press(const Dialog& d, int number) {
  PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(number, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(number)));
}

// Every gadget's rectangle is as wide and high as the window allows, or
// empty: nothing wraps round to a size the window never had.
void expect_gadgets_within_limits(const Dialog& d) {
  for (HWND child = GetWindow(d.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_LE(r.right - r.left, 32767) << "gadget " << GetDlgCtrlID(child);
    EXPECT_LE(r.bottom - r.top, 32767) << "gadget " << GetDlgCtrlID(child);
  }
}

struct Sizes {
  const char* width;
  const char* height;
};
constexpr Sizes extremes[] = {
    {"-2147483648", "-2147483648"}, {"2147483647", "2147483647"}, {"-2147483647", "2147483647"},
    {"2147483647", "-2147483648"},  {"0", "0"},
};

}  // namespace

TEST(Hostile, SizesAtTheLimitsOfTheirNumbers) {
  const Library& lib = shared_library();
  auto input = lib.get<Show5>("ShowInput");
  auto list = lib.get<Show5>("ShowListBox");
  auto combo = lib.get<Show5>("ShowComboBox");
  auto drop = lib.get<Show4>("ShowDragnDrop");
  auto table = lib.get<Show6>("ShowMultiListBox");
  auto about = lib.get<Show10>("ShowAbout");
  for (const Sizes& s : extremes) {
    SCOPED_TRACE(std::string(s.width) + " x " + s.height);
    auto cancel = [](Dialog& d) {
      expect_gadgets_within_limits(d);
      press(d, CANCEL);
    };
    EXPECT_EQ(run_dialog([&] { return input("T", "text", s.width, s.height, "0"); }, cancel, nullptr, current_dialog()),
              "CANCEL");
    EXPECT_EQ(run_dialog([&] { return list("T", "a|b|", s.width, s.height, "0"); }, cancel, nullptr, current_dialog()),
              "CANCEL");
    EXPECT_EQ(run_dialog([&] { return combo("T", "a|b|", s.width, s.height, "0"); }, cancel, nullptr, current_dialog()),
              "CANCEL");
    EXPECT_EQ(run_dialog([&] { return drop("T", s.width, s.height, "0"); }, cancel, nullptr, current_dialog()),
              "CANCEL");
    EXPECT_EQ(run_dialog([&] { return table("T", "Name;Age;|Abe;1;|", "1", s.width, s.height, "0"); }, cancel, nullptr,
                         current_dialog()),
              "");
    EXPECT_EQ(run_dialog([&] { return about("T", "H", "S", "", "Body", "https://example.org", "a@example.org", s.width,
                                            s.height, "0"); },
                         [](Dialog& d) {
                           expect_gadgets_within_limits(d);
                           press(d, ABOUT_OK);
                         },
                         nullptr, current_dialog()),
              "OK");
  }
}
