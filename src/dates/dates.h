#pragma once
// Date values: seconds from 1970-01-01 00:00:00 on a zone-free clock, up to
// 2038-01-19 03:14:07; -1 is no valid date. Read and written by masks of
// %yyyy %yy %mm %dd %hh %ii %ss (letters in any case), as values or as parts.
#include <cstdint>

namespace vantrel {

constexpr int32_t NO_DATE = -1;

int32_t date_from_parts(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second);
int32_t current_date();

// Parts of a date; every part of a negative value reads 0.
int32_t date_year(int32_t date);
int32_t date_month(int32_t date);
int32_t date_day(int32_t date);
int32_t date_hour(int32_t date);
int32_t date_minute(int32_t date);
int32_t date_second(int32_t date);

int32_t parse_date(const char* mask, const char* text);
// Produces the date written by the mask at buffer position p.
const char* format_date(const char* mask, int32_t date, int32_t p);

// A day and time by its parts: also the days that a date value cannot hold
// (before 1970, after 2038-01-19), which a month calendar lets a person pick.
struct DateParts {
  int32_t year, month, day, hour, minute, second;
};
// The parts the mask reads in the text, as parse_date reads them; false
// when they name no valid day and time (any year after 0).
bool parse_date_parts(const char* mask, const char* text, DateParts* parts);
// The parts written by the mask at buffer position p, as format_date writes
// those of a date value.
const char* format_date_parts(const char* mask, const DateParts& parts, int32_t p);

}  // namespace vantrel
