#include <windows.h>
#include <commctrl.h>

#include "dates/dates.h"
#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

class CalendarGadget : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 300, 250, "calendar", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    ASSERT_NE(create_calendar_gadget(0, 0, 0, 226, 165), 0);
    gadget = find_gadget(0);
  }
  // What the control tells its parent when the user moves the selection.
  void report_selection_change() {
    NMSELCHANGE change = {};
    change.nmhdr.hwndFrom = gadget_handle(0);
    change.nmhdr.idFrom = 0;
    change.nmhdr.code = MCN_SELCHANGE;
    SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  }
  int count_gadget_events() {
    int events = 0;
    for (int i = 0; i < 20; ++i)
      if (wait_event(10) == EVENT_GADGET && event_gadget() == 0) ++events;
    return events;
  }
  HWND window = nullptr;
  GadgetRecord* gadget = nullptr;
};

TEST_F(CalendarGadget, StateIsADayAtMidnight) {
  int32_t now = current_date();
  EXPECT_EQ(get_gadget_state(0), now - now % 86400);
  set_gadget_state(0, date_from_parts(2024, 3, 7, 14, 5, 9));
  EXPECT_EQ(get_gadget_state(0), 1709769600);
  EXPECT_EQ(gadget->words.calendar.last_date, 1709769600);
  set_gadget_state(0, -1);  // no date: the selection stays
  EXPECT_EQ(get_gadget_state(0), 1709769600);
}

TEST_F(CalendarGadget, OnlyARealChangeOfDayIsAnEvent) {
  set_gadget_state(0, 1709769600);
  count_gadget_events();
  report_selection_change();
  EXPECT_EQ(count_gadget_events(), 0);
  SYSTEMTIME day = {2024, 3, 0, 9};
  SendMessageA(gadget_handle(0), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  report_selection_change();
  report_selection_change();
  EXPECT_EQ(count_gadget_events(), 1);
  EXPECT_EQ(gadget->words.calendar.last_date, date_from_parts(2024, 3, 9, 0, 0, 0));
}

TEST_F(CalendarGadget, BoldDaysAreKeptPerYear) {
  const int32_t years[] = {2001, 2010, 2024, 2030, 2037};
  for (int32_t year : years) set_gadget_item_state(0, date_from_parts(year, 6, 15, 0, 0, 0), 1);
  EXPECT_EQ(gadget->words.calendar.day_state_capacity, 8);
  for (int32_t year : years) {
    EXPECT_EQ(get_gadget_item_state(0, date_from_parts(year, 6, 15, 0, 0, 0)), 1) << year;
    EXPECT_EQ(get_gadget_item_state(0, date_from_parts(year, 6, 16, 0, 0, 0)), 0) << year;
  }
  set_gadget_item_state(0, date_from_parts(2024, 6, 15, 0, 0, 0), 0);
  EXPECT_EQ(get_gadget_item_state(0, date_from_parts(2024, 6, 15, 0, 0, 0)), 0);
  EXPECT_EQ(get_gadget_item_state(0, date_from_parts(2030, 6, 15, 0, 0, 0)), 1);
  set_gadget_item_state(0, -1, 1);  // no date: nothing marked, nothing broken
  EXPECT_EQ(get_gadget_item_state(0, -1), 0);

  // The control is handed the masks of the months it shows.
  set_gadget_state(0, date_from_parts(2030, 6, 1, 0, 0, 0));
  NMDAYSTATE request = {};
  request.nmhdr.hwndFrom = gadget_handle(0);
  request.nmhdr.code = MCN_GETDAYSTATE;
  request.stStart = {2030, 5, 0, 1};
  request.cDayState = 3;
  EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request)), 0);
  ASSERT_NE(request.prgDayState, nullptr);
  EXPECT_EQ(request.prgDayState[0], 0u);
  EXPECT_EQ(request.prgDayState[1], 1u << 14);
  request.cDayState = 40;  // more months than one scratch holds
  request.stStart = {2029, 12, 0, 1};
  EXPECT_EQ(SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request)), 0);
  EXPECT_EQ(request.prgDayState[6], 1u << 14);
  EXPECT_EQ(request.prgDayState[39], 0u);
}

TEST_F(CalendarGadget, LimitsAndColours) {
  const GadgetOperations* ops = gadget->operations;
  EXPECT_EQ(ops->get_attribute(gadget, CALENDAR_MINIMUM), 0);
  ops->set_attribute(gadget, CALENDAR_MINIMUM, date_from_parts(2024, 1, 1, 0, 0, 0));
  ops->set_attribute(gadget, CALENDAR_MAXIMUM, date_from_parts(2024, 12, 31, 8, 0, 0));
  EXPECT_EQ(ops->get_attribute(gadget, CALENDAR_MINIMUM), date_from_parts(2024, 1, 1, 0, 0, 0));
  EXPECT_EQ(ops->get_attribute(gadget, CALENDAR_MAXIMUM), date_from_parts(2024, 12, 31, 0, 0, 0));
  ops->set_attribute(gadget, CALENDAR_MINIMUM, 0);
  EXPECT_EQ(ops->get_attribute(gadget, CALENDAR_MINIMUM), 0);
  EXPECT_EQ(ops->get_attribute(gadget, CALENDAR_MAXIMUM), 0);

  HWND control = gadget_handle(0);
  COLORREF background = COLORREF(SendMessageA(control, MCM_GETCOLOR, MCSC_BACKGROUND, 0));
  for (int32_t type : {1, 2, 4, 5, 6}) {
    EXPECT_EQ(ops->get_colour(gadget, type), -1) << type;
  }
  ops->set_colour(gadget, COLOUR_BACK, 0x00AA00);
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_BACK), 0x00AA00);
  EXPECT_EQ(SendMessageA(control, MCM_GETCOLOR, MCSC_MONTHBK, 0), 0x00AA00);
  ops->set_colour(gadget, COLOUR_BACK, -1);
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_BACK), -1);
  EXPECT_EQ(COLORREF(SendMessageA(control, MCM_GETCOLOR, MCSC_BACKGROUND, 0)), background);
  EXPECT_EQ(COLORREF(SendMessageA(control, MCM_GETCOLOR, MCSC_MONTHBK, 0)), background);
  ops->set_colour(gadget, COLOUR_TRAILING_TEXT, 0x0000FF);
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_TRAILING_TEXT), 0x0000FF);
  ops->set_colour(gadget, COLOUR_LINE, 0x0000FF);  // not a calendar colour
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_LINE), -1);
}

TEST_F(CalendarGadget, ArrowKeysMoveTheDayAcrossMonths) {
  set_gadget_state(0, date_from_parts(2024, 3, 31, 0, 0, 0));
  count_gadget_events();
  SendMessageA(gadget_handle(0), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(get_gadget_state(0), date_from_parts(2024, 4, 1, 0, 0, 0));
  EXPECT_EQ(count_gadget_events(), 1);
  SendMessageA(gadget_handle(0), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(get_gadget_state(0), date_from_parts(2024, 3, 25, 0, 0, 0));
  SendMessageA(gadget_handle(0), WM_KEYDOWN, 'A', 0);  // other keys: the control's own
  EXPECT_EQ(get_gadget_state(0), date_from_parts(2024, 3, 25, 0, 0, 0));
}

// Days the mouse can pick but no date value can hold: the keys still move.
TEST_F(CalendarGadget, ArrowKeysWorkBeyondTheRangeOfDateValues) {
  HWND calendar = gadget_handle(0);
  auto select = [&](WORD year, WORD month, WORD day) {
    SYSTEMTIME s = {};
    s.wYear = year, s.wMonth = month, s.wDay = day;
    return SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&s)) != 0;
  };
  auto selected = [&] {
    SYSTEMTIME s = {};
    SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&s));
    return s.wYear * 10000 + s.wMonth * 100 + s.wDay;
  };
  ASSERT_TRUE(select(1965, 6, 30));
  SendMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(selected(), 19650701);
  SendMessageA(calendar, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(selected(), 19650624);
  ASSERT_TRUE(select(1969, 12, 31));
  SendMessageA(calendar, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(selected(), 19700101);
  ASSERT_TRUE(select(2038, 1, 19));  // the last day a date value holds
  SendMessageA(calendar, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(selected(), 20380126);
  SendMessageA(calendar, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(selected(), 20380125);
}
