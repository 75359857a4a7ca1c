// ShowCal driven through real input.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "harness.h"

using namespace harness;

namespace {

constexpr int CALENDAR = 0, OK = 1, CANCEL = 2;

std::string today(const char* format) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  if (!strcmp(format, "US")) snprintf(text, sizeof text, "%02d/%02d/%04d", now.wMonth, now.wDay, now.wYear);
  else if (!strcmp(format, "EUR")) snprintf(text, sizeof text, "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
  else snprintf(text, sizeof text, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  return text;
}

SYSTEMTIME selected(const Dialog& d) {
  SYSTEMTIME day = {};
  SendMessageA(d.gadget(CALENDAR), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  return day;
}

// Where the calendar shows a day, in its client coordinates, found by hit-testing.
bool find_day(const Dialog& d, WORD year, WORD month, WORD day, POINT* at) {
  HWND calendar = d.gadget(CALENDAR);
  RECT r;
  GetClientRect(calendar, &r);
  for (int y = 0; y < r.bottom; y += 3) {
    for (int x = 0; x < r.right; x += 3) {
      MCHITTESTINFO hit = {};
      hit.cbSize = sizeof hit;
      hit.pt = {x, y};
      SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && hit.st.wYear == year && hit.st.wMonth == month && hit.st.wDay == day) {
        *at = {x + 4, y + 3};  // inside the cell, not on its edge
        return true;
      }
    }
  }
  return false;
}

// Clicks the day where the calendar shows it, as a person does; false when it shows none.
bool click_day(const Dialog& d, WORD year, WORD month, WORD day) {
  POINT at;
  if (!find_day(d, year, month, day, &at)) return false;
  RECT r = d.gadget_rect(CALENDAR);
  click_at(d.client_to_screen(r.left + at.x, r.top + at.y));
  settle(d);
  return true;
}

class CalendarDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    show = shared_library().get<Show4>("ShowCal");
    ASSERT_NE(show, nullptr);
  }
  std::string pick(Text date, Text format, const std::function<void(Dialog&)>& drive, HWND host = nullptr) {
    std::string host_text = host ? std::to_string(reinterpret_cast<intptr_t>(host)) : "0";
    return run_dialog([&] { return show("Pick", date, format, host_text.c_str()); }, drive, host, current_dialog());
  }
  Show4 show = nullptr;
};

void expect_shows(const Dialog& d, WORD year, WORD month, WORD day) {
  SYSTEMTIME s = selected(d);
  EXPECT_EQ(s.wYear, year);
  EXPECT_EQ(s.wMonth, month);
  EXPECT_EQ(s.wDay, day);
}

}  // namespace

TEST_F(CalendarDialog, FixedLayoutAndAClickedDay) {
  HostWindow host;
  std::string answer = pick("2024-03-07", "ISO", [](Dialog& d) {
    RECT client = d.client();
    EXPECT_EQ(client.right, 226);
    EXPECT_EQ(client.bottom, 200);
    RECT calendar = d.gadget_rect(CALENDAR), ok = d.gadget_rect(OK), cancel = d.gadget_rect(CANCEL);
    EXPECT_EQ(calendar.left, 0);
    EXPECT_EQ(calendar.top, 0);
    EXPECT_EQ(calendar.right, 226);
    EXPECT_EQ(calendar.bottom, 165);
    EXPECT_EQ(ok.left, 58);
    EXPECT_EQ(ok.top, 173);
    EXPECT_EQ(cancel.left, 118);
    EXPECT_EQ(cancel.right - cancel.left, 50);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(d.gadget(OK), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -11);  // 8 points at 96 dpi
    expect_shows(d, 2024, 3, 7);
    save_screenshot(d.window, "calendar");
    ASSERT_TRUE(click_day(d, 2024, 3, 12));
    expect_shows(d, 2024, 3, 12);
    save_screenshot(d.window, "calendar_clicked");
    click_gadget(d, OK);
  }, host.handle());
  EXPECT_EQ(answer, "2024-03-12");
}

TEST_F(CalendarDialog, FormatsReadAndWriteTheSameMask) {
  EXPECT_EQ(pick("03/07/2024", "US", [](Dialog& d) { expect_shows(d, 2024, 3, 7); click_gadget(d, OK); }),
            "03/07/2024");
  EXPECT_EQ(pick("03/07/2024", "EUR", [](Dialog& d) { expect_shows(d, 2024, 7, 3); click_gadget(d, OK); }),
            "03/07/2024");
  EXPECT_EQ(pick("7/3/2024", "EUR", [](Dialog& d) { expect_shows(d, 2024, 3, 7); click_gadget(d, OK); }),
            "07/03/2024");
}

TEST_F(CalendarDialog, TodayAndTheFallbacks) {
  EXPECT_EQ(pick("TODAY", "EUR", [](Dialog& d) { click_gadget(d, OK); }), today("EUR"));
  // Format names are exact: 'iso' is no format, so today in the ISO form.
  EXPECT_EQ(pick("2024-03-07", "iso", [](Dialog& d) { click_gadget(d, OK); }), today("ISO"));
  // 'today' is not "TODAY": read with the mask, it names no day.
  EXPECT_EQ(pick("today", "ISO", [](Dialog& d) { click_gadget(d, OK); }), today("ISO"));
  EXPECT_EQ(pick("2024-02-30", "ISO", [](Dialog& d) { click_gadget(d, OK); }), today("ISO"));
  EXPECT_EQ(pick(nullptr, nullptr, [](Dialog& d) { click_gadget(d, OK); }), today("ISO"));
  // No preset day at all shows today in every format, not the first day of 1970.
  EXPECT_EQ(pick("", "ISO", [](Dialog& d) { click_gadget(d, OK); }), today("ISO"));
  EXPECT_EQ(pick(nullptr, "US", [](Dialog& d) { click_gadget(d, OK); }), today("US"));
  EXPECT_EQ(pick("", "EUR", [](Dialog& d) { click_gadget(d, OK); }), today("EUR"));
}

TEST_F(CalendarDialog, ArrowKeysMoveTheDayAndCancelAnswersCancel) {
  EXPECT_EQ(pick("2024-03-07", "ISO", [](Dialog& d) {
              settle(d);
              press_key(VK_RIGHT);
              press_key(VK_DOWN);  // a week later
              settle(d);
              expect_shows(d, 2024, 3, 15);
              click_gadget(d, OK);
            }),
            "2024-03-15");
  EXPECT_EQ(pick("2024-03-07", "ISO", [](Dialog& d) {
              press_key(VK_RIGHT);
              click_gadget(d, CANCEL);
            }),
            "CANCEL");
}

namespace {

struct Day {
  WORD year, month, day;
};

// The day as the format writes it.
std::string written(Day d, const char* format) {
  char text[16];
  if (!strcmp(format, "US")) snprintf(text, sizeof text, "%02d/%02d/%04d", d.month, d.day, d.year);
  else if (!strcmp(format, "EUR")) snprintf(text, sizeof text, "%02d/%02d/%04d", d.day, d.month, d.year);
  else snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
  return text;
}

}  // namespace

// Days a date value cannot hold (after 2038-01-19, before 1970) are shown
// when the caller starts there and answered when the person picks them,
// in each format.
TEST_F(CalendarDialog, DaysAfter2038AndBefore1970AreShownAndAnswered) {
  const Day starts[] = {{2038, 1, 19}, {2038, 1, 20}, {2040, 7, 15}, {2099, 12, 31}, {1969, 12, 31}};
  for (const char* format : {"ISO", "US", "EUR"}) {
    for (Day start : starts) {
      SCOPED_TRACE(written(start, format));
      EXPECT_EQ(pick(written(start, format).c_str(), format, [&](Dialog& d) {
                  expect_shows(d, start.year, start.month, start.day);
                  click_gadget(d, OK);
                }),
                written(start, format));
    }
  }
  // Picked by the person, from the last day a date value holds onwards.
  struct Step {
    Day start;
    WORD key;
    Day picked;
  };
  const Step steps[] = {
      {{2038, 1, 19}, VK_RIGHT, {2038, 1, 20}},
      {{2040, 2, 28}, VK_RIGHT, {2040, 2, 29}},
      {{2099, 12, 31}, VK_RIGHT, {2100, 1, 1}},
      {{1970, 1, 1}, VK_LEFT, {1969, 12, 31}},
  };
  for (const Step& s : steps) {
    for (const char* format : {"ISO", "US", "EUR"}) {
      SCOPED_TRACE(written(s.picked, format));
      EXPECT_EQ(pick(written(s.start, format).c_str(), format, [&](Dialog& d) {
                  settle(d);
                  press_key(s.key);
                  settle(d);
                  expect_shows(d, s.picked.year, s.picked.month, s.picked.day);
                  click_gadget(d, OK);
                }),
                written(s.picked, format));
    }
  }
}

TEST_F(CalendarDialog, ADayClickedIn2040IsAnswered) {
  EXPECT_EQ(pick("2040-07-15", "ISO", [](Dialog& d) {
              ASSERT_TRUE(click_day(d, 2040, 7, 20));
              expect_shows(d, 2040, 7, 20);
              save_screenshot(d.window, "calendar_2040");
              click_gadget(d, OK);
            }),
            "2040-07-20");
}
