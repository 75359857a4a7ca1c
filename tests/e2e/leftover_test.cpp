// The window a call leaves on screen: it stays where it is, out of the
// topmost band once its call has returned, and a click on its buttons
// between two calls never reaches the next dialog.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, OK = 1, CANCEL = 2;

// Dispatches this thread's messages for a while, as a host's loop does
// between two calls.
void pump_for(DWORD milliseconds) {
  DWORD until = GetTickCount() + milliseconds;
  while (LONG(until - GetTickCount()) > 0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
}

// Whether `above` comes before `below` among the top-level windows, from the top.
bool stands_above(HWND above, HWND below) {
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    if (window == above) return true;
    if (window == below) return false;
  }
  return false;
}

std::string first_call(Show5 list, HWND* left) {
  return run_dialog([&] { return list("First", "a|b|", "240", "200", "0"); },
                    [&](Dialog& d) {
                      *left = d.window;
                      click_gadget(d, CANCEL);
                    },
                    nullptr, current_dialog());
}

// The next call's dialog, the same size in the same place: it waits for the
// person, and answers what they then choose.
std::string second_call(Show5 list, HWND left) {
  return run_dialog([&] { return list("Second", "x|y|", "240", "200", "0"); },
                    [](Dialog& d) {
                      Sleep(1000);
                      EXPECT_EQ(current_dialog(), d.window) << "the dialog ended before the person chose";
                      settle(d);
                      SendMessageA(d.gadget(LIST), LB_SETCURSEL, 1, 0);
                      click_gadget(d, OK);
                    },
                    nullptr, left);
}

}  // namespace

TEST(LeftoverWindow, LeavesTheTopmostBandWhenItsCallReturns) {
  auto input = shared_library().get<Show5>("ShowInput");
  ASSERT_NE(input, nullptr);
  HWND left = nullptr;
  EXPECT_EQ(run_dialog([&] { return input("Question", "answer", "300", "200", "0"); },
                       [&](Dialog& d) {
                         left = d.window;
                         click_gadget(d, OK);
                       },
                       nullptr, current_dialog()),
            "answer");
  ASSERT_TRUE(IsWindow(left) && IsWindowVisible(left)) << "the window did not stay on screen";
  EXPECT_FALSE(GetWindowLongA(left, GWL_EXSTYLE) & WS_EX_TOPMOST) << "still above every program";
  // A window the person brings forward covers it.
  HostWindow other;
  SetWindowPos(other.handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  pump_for(200);
  EXPECT_TRUE(stands_above(other.handle(), left)) << "a window brought forward stays beneath the old dialog";
  save_screenshot(left, "leftover_beneath");
}

// A click on the old window's OK, which the host's loop dispatches between
// the calls, and one that waits in the queue because the host did not
// look at its messages: neither ends the next call.
TEST(LeftoverWindow, AClickOnItBetweenCallsEndsNoLaterCall) {
  auto list = shared_library().get<Show5>("ShowListBox");
  ASSERT_NE(list, nullptr);
  HWND left = nullptr;
  ASSERT_EQ(first_call(list, &left), "CANCEL");
  click_gadget(Dialog{left}, OK);
  pump_for(300);
  EXPECT_EQ(second_call(list, left), "y") << "a click dispatched between the calls";

  ASSERT_EQ(first_call(list, &left), "CANCEL");
  click_gadget(Dialog{left}, OK);  // not dispatched: it waits in the queue
  EXPECT_EQ(second_call(list, left), "y") << "a click that waited in the queue";
}
