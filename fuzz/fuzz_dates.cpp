// Dates read and written by any mask: a read date is a valid date or -1,
// its parts in range; a written one ends within the buffer; and a full mask
// reads back the date it wrote.
#include "dates/dates.h"
#include "fuzz_input.h"

using namespace vantrel;
using fuzz::require;

namespace {

void require_valid(int32_t date) {
  require(date >= NO_DATE);
  if (date == NO_DATE) return;
  require(date_month(date) >= 1 && date_month(date) <= 12 && date_day(date) >= 1 && date_day(date) <= 31);
  require(date_hour(date) <= 23 && date_minute(date) <= 59 && date_second(date) <= 59);
  require(date_year(date) >= 1970 && date_year(date) <= 2038);
  require(date_from_parts(date_year(date), date_month(date), date_day(date), date_hour(date), date_minute(date),
                          date_second(date)) == date);
}

constexpr const char* full_masks[] = {"%yyyy-%mm-%dd %hh:%ii:%ss", "%DD/%MM/%YYYY %HH%II%SS", "%ss%ii%hh%dd%mm%yyyy"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::start_runtime();
  fuzz::Input input(data, size);
  int32_t date = input.number();
  const char* mask = input.text();
  const char* text = input.rest();
  require_valid(parse_date(mask, text));
  const char* written = format_date(mask, date, 0);
  fuzz::require_in_buffer(written);
  require_valid(parse_date(mask, written));
  set_buffer_position(0);
  if (date >= 0) {
    for (const char* full : full_masks) {
      require(parse_date(full, format_date(full, date, 0)) == date);
      set_buffer_position(0);
    }
  }
  return 0;
}
