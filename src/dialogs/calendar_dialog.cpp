// ShowCal: one day picked in a month calendar, read and written in the
// caller's date format.
#include "dates/dates.h"
#include "dialogs/dialogs.h"
#include "dialogs/skeleton.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

namespace {

enum CalendarArgument { TITLE, DATE_TEXT, FORMAT_NAME, HOST_WINDOW };
constexpr int32_t CALENDAR = 0;
constexpr const char* DEFAULT_MASK = "%yyyy-%mm-%dd";

struct DateFormat {
  const char* name;
  const char* mask;
};
constexpr DateFormat date_formats[] = {
    {"ISO", "%yyyy-%mm-%dd"},
    {"US", "%mm/%dd/%yyyy"},
    {"EUR", "%dd/%mm/%yyyy"},
};

// The mask of a format name (compared exactly), or null for none.
const char* mask_of(const char* format_name) {
  for (const DateFormat& format : date_formats)
    if (strings_equal(format.name, format_name)) return format.mask;
  return nullptr;
}

}  // namespace

void show_calendar_dialog(StringVar* arguments, StringVar* result) {
  DialogSkeleton dialog;
  if (!dialog.open(arguments[TITLE], 226, 200, arguments[HOST_WINDOW], 8)) return;
  dialog.label_next_control("Date");
  create_calendar_gadget(CALENDAR, 0, 0, 226, 165);
  dialog.add_ok_and_cancel_at(58, 118, 173);

  const char* input_mask = mask_of(arguments[FORMAT_NAME]);
  // An empty text names no day: the host means "no preset", not 1970-01-01,
  // which is what the parser rightly makes of it.
  const char* date_text = text_or_empty(arguments[DATE_TEXT]);
  DateParts first = {};
  if (strings_equal(date_text, "TODAY") || !*date_text || !input_mask) {
    set_gadget_state(CALENDAR, current_date());
  } else if (parse_date_parts(input_mask, date_text, &first)) {
    // By its parts: a date value holds no day before 1970 or after
    // 2038-01-19, and the control shows them all. A text that names no day
    // leaves today selected.
    set_calendar_day(CALENDAR, first);
  }
  const char* output_mask = input_mask ? input_mask : DEFAULT_MASK;
  SetFocus(gadget_handle(CALENDAR));

  dialog.answer_when_ended(result, [&](int32_t p) {
    DateParts picked = {};  // without a day every part reads 0, as a date value's without one
    get_calendar_day(CALENDAR, &picked);
    format_date_parts(output_mask, picked, p);
  });
}

}  // namespace vantrel
