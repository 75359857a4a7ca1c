#include "ui/windows/windows.h"

#include "runtime/object_table.h"
#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"
#include "ui/windows/sizing.h"

using namespace vantrel;

namespace {

// Takes every event already waiting.
void drain_events() {
  for (int i = 0; i < 1000 && wait_event(0) != EVENT_NONE; ++i) {
  }
}

// The next event of interest within a second, skipping raw message numbers.
int32_t next_event() {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 1000) {
    int32_t event = wait_event(50);
    if (event == EVENT_GADGET || event == EVENT_WINDOW_MOVED || event == EVENT_WINDOW_SIZED ||
        event == EVENT_CLOSE_WINDOW)
      return event;
  }
  return EVENT_NONE;
}

}  // namespace

TEST(WindowPlacement, FlagRules) {
  int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
  WindowPlacement centred = place_window(0, 0, 300, 200, WINDOW_CENTRE_SCREEN, nullptr);
  EXPECT_EQ(centred.style, DWORD(WS_CAPTION));
  EXPECT_TRUE(centred.visible);
  EXPECT_EQ(centred.x, (screen_w - centred.width) / 2);
  EXPECT_EQ(centred.y, (screen_h - centred.height) / 2);
  RECT outer = {0, 0, 300, 200};
  AdjustWindowRect(&outer, WS_CAPTION, FALSE);
  EXPECT_EQ(centred.width, outer.right - outer.left);
  EXPECT_EQ(centred.height, outer.bottom - outer.top);

  WindowPlacement huge = place_window(0, 0, 5000, 4000, WINDOW_CENTRE_SCREEN, nullptr);
  EXPECT_EQ(huge.width, screen_w);
  EXPECT_EQ(huge.height, screen_h);
  EXPECT_EQ(huge.x, 0);
  EXPECT_EQ(huge.y, 0);

  WindowPlacement hidden = place_window(10, 20, 100, 100, WINDOW_INVISIBLE, nullptr);
  EXPECT_FALSE(hidden.visible);
  EXPECT_EQ(hidden.style, DWORD(WS_CAPTION));
  EXPECT_EQ(hidden.x, 10);

  WindowPlacement styled = place_window(KEEP_VALUE, 5, 100, 100, WS_CAPTION | WS_SYSMENU, nullptr);
  EXPECT_EQ(styled.style, DWORD(WS_CAPTION | WS_SYSMENU));  // no caption added twice, no bits lost
  EXPECT_EQ(styled.x, int(CW_USEDEFAULT));
  EXPECT_EQ(styled.y, int(CW_USEDEFAULT));
}

using Windows = RuntimeTest;

TEST_F(Windows, ReopeningANumberClosesTheOldWindowAndItsClass) {
  HWND first = reinterpret_cast<HWND>(open_window(0, 0, 0, 200, 100, "one", WINDOW_CENTRE_SCREEN));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(window_handle(0), first);
  EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropA(first, "VX_WindowID")), 1);
  HWND second = reinterpret_cast<HWND>(open_window(0, 0, 0, 200, 100, "two", WINDOW_CENTRE_SCREEN));
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(window_handle(0), second);
  char name[32] = {};
  GetClassNameA(second, name, sizeof name);
  EXPECT_STREQ(name, "WindowClass_0");

  close_window(0);
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(window_handle(0), nullptr);
  WNDCLASSA info;
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "WindowClass_0", &info));
  close_window(0);  // a free number: nothing
  EXPECT_EQ(set_window_topmost(0, 1), 0);
}

TEST_F(Windows, ChosenNumbersNameTheirClassAndStopClosesEverything) {
  intptr_t number = open_window(OBJECT_ANY, 0, 0, 100, 100, nullptr, WINDOW_INVISIBLE);
  ASSERT_NE(number, 0);
  HWND chosen = window_handle(int32_t(number));
  ASSERT_NE(chosen, nullptr);
  EXPECT_FALSE(IsWindowVisible(chosen));
  char expected[32], name[32] = {};
  snprintf(expected, sizeof expected, "WindowClass_%ld", long(number));
  GetClassNameA(chosen, name, sizeof name);
  EXPECT_STREQ(name, expected);
  HWND numbered = reinterpret_cast<HWND>(open_window(3, 0, 0, 100, 100, "", WINDOW_CENTRE_SCREEN));
  EXPECT_TRUE(set_window_topmost(3, 1));
  EXPECT_TRUE(GetWindowLongA(numbered, GWL_EXSTYLE) & WS_EX_TOPMOST);
  stop_windows();
  EXPECT_FALSE(IsWindow(chosen));
  EXPECT_FALSE(IsWindow(numbered));
  ASSERT_TRUE(start_windows());
}

TEST_F(Windows, ClosingAnOwnedWindowActivatesItsOwner) {
  HWND owner = reinterpret_cast<HWND>(open_window(1, 0, 0, 100, 100, "owner", WINDOW_CENTRE_SCREEN));
  open_window(2, 0, 0, 50, 50, "owned", WINDOW_CENTRE_PARENT, owner);
  SetActiveWindow(window_handle(2));
  close_window(2);
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Windows, EventsFromButtonsMovesSizesAndCloseRequests) {
  HWND window = reinterpret_cast<HWND>(open_window(0, 0, 0, 200, 100, "events", WINDOW_CENTRE_SCREEN));
  begin_gadget_list(window);
  HWND button = reinterpret_cast<HWND>(create_button_gadget(7, 10, 10, 50, 23, "Press"));
  ASSERT_NE(button, nullptr);
  drain_events();
  EXPECT_EQ(wait_event(0), EVENT_NONE);

  PostMessageA(button, BM_CLICK, 0, 0);
  EXPECT_EQ(next_event(), EVENT_GADGET);
  EXPECT_EQ(event_gadget(), 7);
  EXPECT_EQ(event_type(), 0);
  EXPECT_EQ(event_window(), 0);

  SetWindowPos(window, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(window, nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(next_event(), EVENT_WINDOW_MOVED);
  EXPECT_NE(next_event(), EVENT_WINDOW_MOVED);  // the second move was folded into the first

  drain_events();
  SetWindowPos(window, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(window, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(next_event(), EVENT_WINDOW_MOVED);
  EXPECT_EQ(next_event(), EVENT_WINDOW_SIZED);

  drain_events();
  ShowWindow(window, SW_MINIMIZE);
  for (int32_t event; (event = next_event()) != EVENT_NONE;) EXPECT_NE(event, EVENT_WINDOW_SIZED);
  ShowWindow(window, SW_RESTORE);

  drain_events();
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(next_event(), EVENT_CLOSE_WINDOW);
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(Windows, ShiftTabAndTabCycleThroughTabStops) {
  HWND window = reinterpret_cast<HWND>(open_window(0, 0, 0, 200, 100, "focus", WINDOW_CENTRE_SCREEN));
  begin_gadget_list(window);
  HWND a = reinterpret_cast<HWND>(create_button_gadget(1, 0, 0, 50, 20, "a"));
  HWND b = reinterpret_cast<HWND>(create_button_gadget(2, 60, 0, 50, 20, "b"));
  HWND c = reinterpret_cast<HWND>(create_text_gadget(3, 0, 40, 50, 20, "no tab stop"));
  SetActiveWindow(window);
  SetFocus(window);
  focus_next_gadget(false);
  EXPECT_EQ(GetFocus(), a);  // nothing focused: the first
  focus_next_gadget(false);
  EXPECT_EQ(GetFocus(), b);
  focus_next_gadget(false);
  EXPECT_EQ(GetFocus(), a);  // wraps, passing the text
  focus_next_gadget(true);
  EXPECT_EQ(GetFocus(), b);  // back from the first: the last
  EXPECT_NE(GetFocus(), c);
}

TEST(Sizing, EdgesFollowThePointWithinTheTrackingLimits) {
  MINMAXINFO limits = {};
  limits.ptMinTrackSize = {100, 50};
  limits.ptMaxTrackSize = {400, 300};
  RECT r = {100, 100, 300, 200};
  apply_sizing_point(WMSZ_RIGHT, {350, 0}, limits, &r);
  EXPECT_EQ(r.right, 352);
  apply_sizing_point(WMSZ_RIGHT, {120, 0}, limits, &r);  // too narrow: held at the minimum
  EXPECT_EQ(r.right, 200);
  apply_sizing_point(WMSZ_LEFT, {-500, 0}, limits, &r);  // too wide: held at the maximum
  EXPECT_EQ(r.left, 200 - 400);
  r = {100, 100, 300, 200};
  apply_sizing_point(WMSZ_TOPLEFT, {50, 40}, limits, &r);
  EXPECT_EQ(r.left, 48);
  EXPECT_EQ(r.top, 38);
  apply_sizing_point(WMSZ_BOTTOMRIGHT, {400, 180}, limits, &r);
  EXPECT_EQ(r.right, 402);
  EXPECT_EQ(r.bottom, 182);
  EXPECT_EQ(r.left, 48);
}

TEST(Sizing, ArrowKeysPickEdgesThenMoveTheCursor) {
  RECT r = {100, 100, 300, 200};
  EdgeStep left = keyboard_edge_step(0, VK_LEFT, {150, 150}, r);
  EXPECT_TRUE(left.picked);
  EXPECT_EQ(left.edge, WMSZ_LEFT);
  EXPECT_EQ(left.cursor.x, 100);
  EXPECT_EQ(left.cursor.y, 150);
  EdgeStep corner = keyboard_edge_step(WMSZ_LEFT, VK_DOWN, left.cursor, r);
  EXPECT_EQ(corner.edge, WMSZ_BOTTOMLEFT);
  EXPECT_EQ(corner.cursor.x, 100);
  EXPECT_EQ(corner.cursor.y, 198);
  EXPECT_EQ(corner.shape, 32643);
  EdgeStep move = keyboard_edge_step(WMSZ_BOTTOMLEFT, VK_RIGHT, corner.cursor, r);
  EXPECT_FALSE(move.picked);
  EXPECT_EQ(move.edge, WMSZ_BOTTOMLEFT);
  EXPECT_EQ(move.cursor.x, 110);
  EXPECT_EQ(keyboard_edge_step(WMSZ_TOP, VK_RIGHT, {0, 0}, r).edge, WMSZ_TOPRIGHT);
  EXPECT_EQ(keyboard_edge_step(WMSZ_RIGHT, VK_LEFT, {5, 5}, r).cursor.x, -5);
}

// Centring on a monitor is arithmetic of its full rectangle: monitors left
// of, right of and above the primary one have negative or far coordinates.
TEST(WindowPlacement, CentredOnAnyMonitor) {
  struct Case {
    RECT monitor;
    int width, height;  // the window's
    int x, y, placed_width, placed_height;
  };
  const Case cases[] = {
      {{0, 0, 1024, 768}, 406, 329, 309, 219, 406, 329},             // the primary: today's place
      {{-1280, 0, 0, 1024}, 406, 329, -1280 + 437, 347, 406, 329},   // left of it
      {{1024, 0, 2944, 1080}, 406, 329, 1024 + 757, 375, 406, 329},  // right of it
      {{0, -1080, 1920, 0}, 406, 329, 757, -1080 + 375, 406, 329},   // above it
      {{-1280, -200, 0, 824}, 2000, 2000, -1280, -200, 1280, 1024},  // larger than the monitor
      {{-1281, -1, 0, 0}, 10, 1, -1281 + 635, -1, 10, 1},            // halves round towards zero
  };
  for (const Case& c : cases) {
    WindowPlacement p = {};
    p.width = c.width;
    p.height = c.height;
    centre_on_monitor(c.monitor, &p);
    EXPECT_EQ(p.x, c.x) << c.monitor.left << "," << c.monitor.top;
    EXPECT_EQ(p.y, c.y) << c.monitor.left << "," << c.monitor.top;
    EXPECT_EQ(p.width, c.placed_width);
    EXPECT_EQ(p.height, c.placed_height);
  }
  // A host window's monitor, or the primary one without a valid host.
  WindowPlacement looked_at_nothing = place_window(0, 0, 300, 200, WINDOW_CENTRE_SCREEN, nullptr, HWND(0x7FFF0));
  WindowPlacement primary = place_window(0, 0, 300, 200, WINDOW_CENTRE_SCREEN, nullptr);
  EXPECT_EQ(looked_at_nothing.x, primary.x);
  EXPECT_EQ(looked_at_nothing.y, primary.y);
}
