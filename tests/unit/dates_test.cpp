#include "dates/dates.h"

#include "runtime/lead_bytes.h"

#include "runtime_fixture.h"

using namespace vantrel;

TEST(Dates, ValuesFromParts) {
  EXPECT_EQ(date_from_parts(2024, 3, 7, 0, 0, 0), 1709769600);
  EXPECT_EQ(date_from_parts(2024, 3, 7, 14, 5, 9), 1709820309);
  EXPECT_EQ(date_from_parts(2000, 2, 29, 12, 0, 0), 951825600);
  EXPECT_EQ(date_from_parts(1970, 1, 1, 0, 0, 5), 5);
  EXPECT_EQ(date_from_parts(1970, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(date_from_parts(2038, 1, 19, 3, 14, 7), 2147483647);
  EXPECT_EQ(date_from_parts(1996, 7, 1, 0, 0, 0), 836179200);  // a summer date: no daylight-saving shift
  EXPECT_EQ(date_from_parts(2024, 12, 31, 23, 59, 59), 1735689599);
}

TEST(Dates, InvalidPartsAndTheRange) {
  EXPECT_EQ(date_from_parts(2023, 2, 29, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(1900, 2, 29, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 2, 30, 0, 0, 0), -1);
  for (int month : {4, 6, 9, 11}) {
    EXPECT_EQ(date_from_parts(2024, month, 31, 0, 0, 0), -1) << month;
  }
  EXPECT_EQ(date_from_parts(2024, 13, 1, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 0, 1, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 1, 0, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 1, 1, 24, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 1, 1, 0, 60, 0), -1);
  EXPECT_EQ(date_from_parts(2024, 1, 1, 0, 0, -1), -1);
  EXPECT_EQ(date_from_parts(1969, 12, 31, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(1969, 12, 31, 23, 59, 59), -1);
  EXPECT_EQ(date_from_parts(2038, 1, 19, 3, 14, 8), -1);  // one second past the range
  EXPECT_EQ(date_from_parts(0, 1, 1, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2147483647, 12, 31, 0, 0, 0), -1);
  EXPECT_EQ(date_from_parts(2000, 2, 29, 0, 0, 0), 951782400);  // divisible by 400: a leap year
}

TEST(Dates, PartsReadBack) {
  int32_t d = 1709820309;
  EXPECT_EQ(date_year(d), 2024);
  EXPECT_EQ(date_month(d), 3);
  EXPECT_EQ(date_day(d), 7);
  EXPECT_EQ(date_hour(d), 14);
  EXPECT_EQ(date_minute(d), 5);
  EXPECT_EQ(date_second(d), 9);
  EXPECT_EQ(date_year(2147483647), 2038);
  EXPECT_EQ(date_second(2147483647), 7);
  EXPECT_EQ(date_day(951825600), 29);
  for (int32_t negative : {-1, INT32_MIN}) {
    EXPECT_EQ(date_year(negative), 0);
    EXPECT_EQ(date_month(negative), 0);
    EXPECT_EQ(date_day(negative), 0);
    EXPECT_EQ(date_hour(negative), 0);
  }
  // Every day of the range reads back as the parts it was made from.
  for (int32_t day = 0; day < 24855; day += 7) {
    int32_t value = day * 86400 + 3723;
    EXPECT_EQ(date_from_parts(date_year(value), date_month(value), date_day(value), date_hour(value),
                              date_minute(value), date_second(value)),
              value);
  }
  int32_t now = current_date();
  EXPECT_GT(now, 1700000000);
}

TEST(Dates, ParsingByMask) {
  EXPECT_EQ(parse_date("%dd/%mm/%yyyy", "7/3/2024"), 1709769600);
  EXPECT_EQ(parse_date("%mm/%dd/%yyyy", "03/07/2024"), 1709769600);
  EXPECT_EQ(parse_date("%YYYY-%MM-%DD", "2024-03-07"), 1709769600);
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd %hh:%ii:%ss", "2024-03-07 14:05:09"), 1709820309);
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "2024-02-30"), -1);
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "2024-05"), -1);
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "today"), -1);
  EXPECT_EQ(parse_date("%yy", "70"), 0);
  EXPECT_EQ(parse_date("%yy", "69"), -1);  // 2069
  EXPECT_EQ(parse_date("%yy-%mm-%dd", "24-03-07"), 1709769600);
  EXPECT_EQ(parse_date("", "2024"), 0);
  EXPECT_EQ(parse_date("%yyyy", ""), 0);
  EXPECT_EQ(parse_date(nullptr, nullptr), 0);
  EXPECT_EQ(parse_date("%x%yyyy", "Q2024"), parse_date("%yyyy", "2024"));  // "%x" skips one character
  EXPECT_EQ(parse_date("%yyyy%", "2024"), parse_date("%yyyy", "2024"));
}

using DateFormatting = RuntimeTest;

TEST_F(DateFormatting, WritesByMask) {
  auto format = [](const char* mask, int32_t date) {
    int32_t p = buffer_position();
    format_date(mask, date, p);
    return take(p);
  };
  EXPECT_EQ(format("%yyyy-%mm-%dd", 0), "1970-01-01");
  EXPECT_EQ(format("%dd.%mm.%yy %hh:%ii:%ss", 1709820309), "07.03.24 14:05:09");
  EXPECT_EQ(format("%DD.%MM.%YY %HH:%II:%SS", 1709820309), "07.03.24 14:05:09");
  EXPECT_EQ(format("%x%dd", 1709769600), "%x07");
  EXPECT_EQ(format("%%dd", 1709769600), "%%dd");
  EXPECT_EQ(format("100%", 0), "100%");
  EXPECT_EQ(format("", 0), "");
  EXPECT_EQ(format(nullptr, 0), "");
  // A date outside the range has no parts: zeros a host can recognise.
  EXPECT_EQ(format("%yyyy-%mm-%dd", -1), "0000-00-00");
  EXPECT_EQ(format("%dd/%mm/%yy", -86400), "00/00/00");

  std::string literals(5000, 'L');
  EXPECT_EQ(format((literals + "%yyyy").c_str(), 0), literals + "1970");
  std::string tokens;
  for (int i = 0; i < 3000; ++i) tokens += "%dd";
  EXPECT_EQ(format(tokens.c_str(), 1709769600).size(), 6000u);
}

TEST_F(DateFormatting, AMaskInTheBufferSurvivesItsGrowth) {
  int32_t p = buffer_position();
  std::string mask = std::string(3000, '-') + "%yyyy";
  buffer_append(mask.c_str());
  set_buffer_position(p + int32_t(mask.size()) + 1);
  int32_t q = buffer_position();
  format_date(buffer_address_at(p), 1709769600, q);  // reserves 4096 behind the mask: the buffer grows
  EXPECT_EQ(take(q), std::string(3000, '-') + "2024");
}

// Days beyond the date value's span, by their parts: read and written by the
// same masks, where the value gives -1 and zeros.
TEST_F(DateFormatting, PartsBeyondTheValuesSpan) {
  auto round_trip = [](const char* mask, const char* text) {
    DateParts parts = {};
    if (!parse_date_parts(mask, text, &parts)) return std::string("<invalid>");
    int32_t p = buffer_position();
    format_date_parts(mask, parts, p);
    return take(p);
  };
  for (const char* day : {"2038-01-19", "2038-01-20", "2040-02-29", "2099-12-31", "1969-12-31", "1601-01-01", "9999-12-31"})
    EXPECT_EQ(round_trip("%yyyy-%mm-%dd", day), day);
  EXPECT_EQ(round_trip("%mm/%dd/%yyyy", "02/29/2040"), "02/29/2040");
  EXPECT_EQ(round_trip("%dd/%mm/%yyyy", "5/7/2099"), "05/07/2099");
  EXPECT_EQ(round_trip("%yyyy-%mm-%dd %hh:%ii:%ss", "2040-01-02 03:04:05"), "2040-01-02 03:04:05");
  EXPECT_EQ(round_trip("%yyyy-%mm-%dd", "0800-01-01"), "0800-01-01") << "four digits";
  EXPECT_EQ(round_trip("%yyyy-%mm-%dd", "2041-02-29"), "<invalid>");
  EXPECT_EQ(round_trip("%yyyy-%mm-%dd", "2040-13-01"), "<invalid>");
  EXPECT_EQ(round_trip("%yyyy-%mm-%dd", "0000-01-01"), "<invalid>");
  // The value functions answer as before.
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "2038-01-20"), -1);
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "2038-01-19"), 2147472000);
}

// In a code page of double-byte characters a mask's literal character and
// the text's move on together, whatever their second bytes.
TEST_F(DateFormatting, DoubleByteLiteralsInAMask) {
  LeadBytes code_page_932;
  code_page_932.add(0x81, 0x9F);
  code_page_932.add(0xE0, 0xFC);
  LeadBytes before = swap_text_lead_bytes(code_page_932);
  // %yyyy年%mm月%dd日, and 表 (95 5C) between the parts.
  const char* mask = "%yyyy\x94\x4E%mm\x8C\x8E%dd\x93\xFA";
  EXPECT_EQ(parse_date(mask, "2024\x94\x4E" "03\x8C\x8E" "07\x93\xFA"), 1709769600);
  // A literal of the mask passes over one character of the text, of either size.
  EXPECT_EQ(parse_date("%yyyy-%mm-%dd", "2024\x94\x4E" "03\x8C\x8E" "07"), 1709769600);
  EXPECT_EQ(parse_date("%yyyy/%mm/%dd", "2024\x95\x5C" "3\x95\x5C" "7"), 1709769600);
  EXPECT_EQ(parse_date("%yyyy\x95\x5C%mm\x95\x5C%dd", "2024-3-7"), 1709769600) << "and a two-byte one over one";
  int32_t p = buffer_position();
  format_date(mask, 1709769600, p);
  EXPECT_EQ(take(p), "2024\x94\x4E" "03\x8C\x8E" "07\x93\xFA");
  swap_text_lead_bytes(before);
}
