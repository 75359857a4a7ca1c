// The month calendar: its state is a date value at 00:00:00; days can be
// marked bold per year, the range limited and the parts recoloured.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <initializer_list>

#include "dates/dates.h"
#include "runtime/heaps.h"
#include "runtime/platform_calls.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"

namespace vantrel {
namespace {

constexpr int ENTRY_WORDS = 13;  // the year, then twelve month masks
constexpr int32_t TABLE_STEP = 4;
constexpr uint32_t NO_EXTENDED_EDGE = 0x800000;

struct CalendarColour {
  int32_t type;
  int index;
  int32_t flag;
};
constexpr CalendarColour calendar_colours[] = {
    {COLOUR_FRONT, MCSC_TEXT, 0x02},          {COLOUR_BACK, MCSC_BACKGROUND, 0x01},
    {COLOUR_TITLE_FRONT, MCSC_TITLETEXT, 0x08}, {COLOUR_TITLE_BACK, MCSC_TITLEBK, 0x04},
    {COLOUR_TRAILING_TEXT, MCSC_TRAILINGTEXT, 0x10},
};

bool defaults_read = false;
COLORREF default_colours[6];  // by control colour index

const CalendarColour* colour_of_type(int32_t type) {
  for (const CalendarColour& c : calendar_colours)
    if (c.type == type) return &c;
  return nullptr;
}

CalendarWords& words_of(GadgetRecord* gadget) { return gadget->words.calendar; }

SYSTEMTIME day_of(int32_t date) {
  SYSTEMTIME day = {};
  day.wYear = WORD(date_year(date));
  day.wMonth = WORD(date_month(date));
  day.wDay = WORD(date_day(date));
  return day;
}

int32_t date_of(const SYSTEMTIME& day) { return date_from_parts(day.wYear, day.wMonth, day.wDay, 0, 0, 0); }

uint32_t* entry(CalendarWords& words, int32_t index) { return words.day_state_table + index * ENTRY_WORDS; }

void fill_day_states(CalendarWords& words, uint32_t* scratch, int32_t year, int32_t month, int32_t months) {
  for (int32_t i = 0; i < months; ++i) {
    scratch[i] = 0;
    for (int32_t e = 0; e < words.day_state_capacity; ++e) {
      if (int32_t(entry(words, e)[0]) == year) scratch[i] = entry(words, e)[month];
    }
    if (++month > 12) month = 1, ++year;
  }
}

void refresh_day_states(GadgetRecord* gadget) {
  SYSTEMTIME range[2] = {};
  int32_t months = int32_t(SendMessageA(gadget->handle, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)));
  uint32_t* scratch = months > 0 ? day_state_scratch(months) : nullptr;
  if (!scratch) return;
  fill_day_states(words_of(gadget), scratch, range[0].wYear, range[0].wMonth, months);
  SendMessageA(gadget->handle, MCM_SETDAYSTATE, WPARAM(months), reinterpret_cast<LPARAM>(scratch));
}

int32_t get_calendar_state(GadgetRecord* gadget) {
  SYSTEMTIME day = {};
  if (!SendMessageA(gadget->handle, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day))) return 0;
  return date_of(day);
}

void set_calendar_state(GadgetRecord* gadget, int32_t date) {
  SYSTEMTIME day = day_of(date);
  SendMessageA(gadget->handle, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  words_of(gadget).last_date = get_calendar_state(gadget);
}

int32_t get_bold(GadgetRecord* gadget, int32_t date) {
  CalendarWords& words = words_of(gadget);
  int32_t year = date_year(date), month = date_month(date), day = date_day(date);
  if (month < 1 || day < 1) return 0;
  for (int32_t e = 0; e < words.day_state_capacity; ++e) {
    uint32_t* found = entry(words, e);
    if (found[0] == 0) break;
    if (int32_t(found[0]) == year) return (found[month] >> (day - 1)) & 1;
  }
  return 0;
}

// The entry for the year, claimed or grown when it has none; null without memory.
uint32_t* entry_for_year(CalendarWords& words, int32_t year) {
  for (int32_t e = 0; e < words.day_state_capacity; ++e)
    if (int32_t(entry(words, e)[0]) == year) return entry(words, e);
  for (int32_t e = 0; e < words.day_state_capacity; ++e) {
    if (entry(words, e)[0] == 0) {
      entry(words, e)[0] = uint32_t(year);
      return entry(words, e);
    }
  }
  int32_t capacity = words.day_state_capacity + TABLE_STEP;
  auto* grown = static_cast<uint32_t*>(general_realloc_array(words.day_state_table, size_t(capacity), ENTRY_WORDS * 4));
  if (!grown) return nullptr;
  words.day_state_table = grown;
  uint32_t* claimed = entry(words, words.day_state_capacity);
  words.day_state_capacity = capacity;
  claimed[0] = uint32_t(year);
  return claimed;
}

void set_bold(GadgetRecord* gadget, int32_t date, int32_t state) {
  int32_t year = date_year(date), month = date_month(date), day = date_day(date);
  if (month < 1 || day < 1) return;  // no valid date: no day to mark
  uint32_t* found = entry_for_year(words_of(gadget), year);
  if (!found) return;
  uint32_t bit = 1u << (day - 1);
  found[month] = state ? found[month] | bit : found[month] & ~bit;
  refresh_day_states(gadget);
}

// Reports a new selection once: moving to the day already selected is no event.
void report_selection(GadgetRecord* gadget) {
  int32_t date = get_calendar_state(gadget);
  if (date != words_of(gadget).last_date) {
    post_gadget_event(gadget->handle, 0);
    words_of(gadget).last_date = date;
  }
}

WNDPROC month_calendar_procedure = nullptr;

int32_t arrow_step_days(WPARAM key) {
  switch (key) {
    case VK_LEFT: return -1;
    case VK_RIGHT: return 1;
    case VK_UP: return -7;
    case VK_DOWN: return 7;
    default: return 0;
  }
}

// The day `days` away from `day`, stepped on the platform's own clock so that
// every day the control can show can be left with the keys (a date value
// covers only 1970 to 2038); false when the step leaves the clock's range.
bool step_day(const SYSTEMTIME& day, int32_t days, SYSTEMTIME* stepped) {
  SYSTEMTIME midnight = {};
  midnight.wYear = day.wYear;
  midnight.wMonth = day.wMonth;
  midnight.wDay = day.wDay;
  FILETIME time;
  if (!SystemTimeToFileTime(&midnight, &time)) return false;
  constexpr int64_t TICKS_PER_DAY = 864000000000;
  ULARGE_INTEGER ticks = {{time.dwLowDateTime, time.dwHighDateTime}};
  int64_t moved = int64_t(ticks.QuadPart) + days * TICKS_PER_DAY;
  if (moved < 0) return false;
  ticks.QuadPart = uint64_t(moved);
  time = {ticks.LowPart, ticks.HighPart};
  return FileTimeToSystemTime(&time, stepped) != 0;
}

// Arrow keys move the selected day. Where the control itself leaves them
// alone (some month calendars have no keyboard handling) the gadget moves
// the day, so the keyboard works the same everywhere; the control's range is
// the only limit.
LRESULT CALLBACK calendar_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  int32_t step = message == WM_KEYDOWN ? arrow_step_days(wparam) : 0;
  SYSTEMTIME before = {}, after = {};
  if (step) SendMessageA(window, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&before));
  LRESULT result = CallWindowProcW(month_calendar_procedure, window, message, wparam, lparam);
  if (!step) return result;
  SendMessageA(window, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&after));
  if (memcmp(&before, &after, sizeof before) != 0) return result;
  GadgetRecord* gadget = find_gadget(GetDlgCtrlID(window));
  SYSTEMTIME day;
  if (!gadget || gadget->handle != window || !step_day(before, step, &day)) return result;
  if (SendMessageA(window, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day))) report_selection(gadget);
  return result;
}

LRESULT handle_calendar_message(GadgetRecord* gadget, HWND, UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_NOTIFY) return NOT_HANDLED;
  auto* header = reinterpret_cast<NMHDR*>(lparam);
  if (header->code == MCN_GETDAYSTATE) {
    auto* request = reinterpret_cast<NMDAYSTATE*>(lparam);
    uint32_t* scratch = day_state_scratch(request->cDayState);
    if (!scratch) return NOT_HANDLED;
    fill_day_states(words_of(gadget), scratch, request->stStart.wYear, request->stStart.wMonth, request->cDayState);
    request->prgDayState = reinterpret_cast<MONTHDAYSTATE*>(scratch);
    return 0;
  }
  if (header->code == MCN_SELCHANGE) {
    report_selection(gadget);
    return 0;
  }
  return NOT_HANDLED;
}

void release_calendar(GadgetRecord* gadget) {
  general_free(words_of(gadget).day_state_table);
  words_of(gadget).day_state_table = nullptr;
}

int32_t get_limit(GadgetRecord* gadget, int32_t attribute) {
  SYSTEMTIME range[2] = {};
  DWORD flags = DWORD(SendMessageA(gadget->handle, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
  if (attribute == CALENDAR_MINIMUM && (flags & GDTR_MIN)) return date_of(range[0]);
  if (attribute == CALENDAR_MAXIMUM && (flags & GDTR_MAX)) return date_of(range[1]);
  return 0;
}

void set_limit(GadgetRecord* gadget, int32_t attribute, int32_t date) {
  SYSTEMTIME range[2] = {};
  DWORD flags = DWORD(SendMessageA(gadget->handle, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
  if (attribute == CALENDAR_MINIMUM || attribute == CALENDAR_MAXIMUM) {
    int which = attribute == CALENDAR_MINIMUM ? 0 : 1;
    range[which] = day_of(date);
    flags |= attribute == CALENDAR_MINIMUM ? GDTR_MIN : GDTR_MAX;
    if (date == 0) flags = 0;
  }
  SendMessageA(gadget->handle, MCM_SETRANGE, flags, reinterpret_cast<LPARAM>(range));
}

void set_calendar_colour(GadgetRecord* gadget, int32_t type, int32_t colour) {
  const CalendarColour* c = colour_of_type(type);
  if (!c) return;
  CalendarWords& words = words_of(gadget);
  COLORREF value = colour == -1 ? default_colours[c->index] : COLORREF(colour);
  SendMessageA(gadget->handle, MCM_SETCOLOR, c->index, LPARAM(value));
  if (type == COLOUR_BACK) SendMessageA(gadget->handle, MCM_SETCOLOR, MCSC_MONTHBK, LPARAM(value));
  words.colour_set_flags = colour == -1 ? words.colour_set_flags & ~c->flag : words.colour_set_flags | c->flag;
}

int32_t get_calendar_colour(GadgetRecord* gadget, int32_t type) {
  const CalendarColour* c = colour_of_type(type);
  if (!c || !(words_of(gadget).colour_set_flags & c->flag)) return -1;
  return int32_t(SendMessageA(gadget->handle, MCM_GETCOLOR, c->index, 0));
}

void read_default_colours(HWND control) {
  if (defaults_read) return;
  defaults_read = true;
  for (int index : {MCSC_BACKGROUND, MCSC_TEXT, MCSC_TITLEBK, MCSC_TITLETEXT, MCSC_TRAILINGTEXT})
    default_colours[index] = COLORREF(SendMessageA(control, MCM_GETCOLOR, index, 0));
}

void prepare_calendar(GadgetRecord* gadget) {
  CalendarWords& words = words_of(gadget);
  words.day_state_table = static_cast<uint32_t*>(general_alloc(TABLE_STEP * ENTRY_WORDS * 4));
  words.day_state_capacity = words.day_state_table ? TABLE_STEP : 0;
  words.colour_set_flags = 0;
}

constexpr GadgetOperations calendar_operations = [] {
  GadgetOperations ops = {};
  ops.kind = KIND_CALENDAR;
  ops.handle_message = handle_calendar_message;
  ops.release_gadget = release_calendar;
  ops.get_state = get_calendar_state;
  ops.set_state = set_calendar_state;
  ops.get_item_state = get_bold;
  ops.set_item_state = set_bold;
  ops.get_attribute = get_limit;
  ops.set_attribute = set_limit;
  ops.set_colour = set_calendar_colour;
  ops.get_colour = get_calendar_colour;
  return ops;
}();

}  // namespace

intptr_t create_calendar_gadget(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height, int32_t date,
                                uint32_t flags) {
  DWORD ex_style = WS_EX_CLIENTEDGE;
  if (flags & NO_EXTENDED_EDGE) {
    ex_style = 0;
    flags &= ~NO_EXTENDED_EDGE;
  }
  if (date == 0) date = current_date();
  HWND control = create_gadget_control(ex_style, MONTHCAL_CLASSW, nullptr, flags | 0x50010001, x, y, width, height);
  if (!control) return 0;
  read_default_colours(control);
  WNDPROC replaced = replace_window_procedure(control, calendar_procedure);
  if (!month_calendar_procedure) month_calendar_procedure = replaced;
  intptr_t result = adopt_gadget_control(number, control, &calendar_operations, prepare_calendar);
  GadgetRecord* gadget = result ? find_gadget(GetDlgCtrlID(control)) : nullptr;
  if (gadget && gadget->handle == control) {
    set_calendar_state(gadget, date);
    refresh_day_states(gadget);
  }
  return result;
}

namespace {

GadgetRecord* calendar_gadget(int32_t number) {
  GadgetRecord* gadget = find_gadget(number);
  return gadget && gadget->operations->kind == KIND_CALENDAR ? gadget : nullptr;
}

}  // namespace

bool get_calendar_day(int32_t number, DateParts* day) {
  GadgetRecord* gadget = calendar_gadget(number);
  SYSTEMTIME selected = {};
  if (!gadget || !SendMessageA(gadget->handle, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected))) return false;
  *day = {selected.wYear, selected.wMonth, selected.wDay, 0, 0, 0};
  return true;
}

bool set_calendar_day(int32_t number, const DateParts& day) {
  GadgetRecord* gadget = calendar_gadget(number);
  if (!gadget || day.year < 1 || day.year > 30827 || day.month < 1 || day.month > 12 || day.day < 1 || day.day > 31)
    return false;
  SYSTEMTIME selected = {};
  selected.wYear = WORD(day.year);
  selected.wMonth = WORD(day.month);
  selected.wDay = WORD(day.day);
  if (!SendMessageA(gadget->handle, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&selected))) return false;
  words_of(gadget).last_date = get_calendar_state(gadget);
  return true;
}

}  // namespace vantrel
