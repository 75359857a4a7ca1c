#include "dates/dates.h"

#include <windows.h>

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"
#include "runtime/strings.h"

namespace vantrel {
namespace {

constexpr int64_t SECONDS_PER_DAY = 86400;

bool leap_year(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
int64_t days_from_civil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2;
  int64_t era = (year >= 0 ? year : year - 399) / 400;
  int64_t year_of_era = year - era * 400;
  int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

DateParts parts_of(int32_t date) {
  if (date < 0) return {};
  int64_t days = date / SECONDS_PER_DAY + 719468;
  int32_t seconds = int32_t(date % SECONDS_PER_DAY);
  int64_t era = days / 146097;
  int64_t day_of_era = days - era * 146097;
  int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  int64_t mp = (5 * day_of_year + 2) / 153;
  int32_t day = int32_t(day_of_year - (153 * mp + 2) / 5 + 1);
  int32_t month = int32_t(mp < 10 ? mp + 3 : mp - 9);
  int32_t year = int32_t(year_of_era + era * 400 + (month <= 2));
  return {year, month, day, seconds / 3600, seconds / 60 % 60, seconds % 60};
}

// The mask tokens, in the order they are tried at a "%".
enum class Token { Year4, Year2, Month, Day, Hour, Minute, Second, None };
struct TokenInfo {
  const char* letters;
  Token token;
};
constexpr TokenInfo tokens[] = {
    {"yyyy", Token::Year4}, {"yy", Token::Year2}, {"mm", Token::Month},  {"dd", Token::Day},
    {"hh", Token::Hour},    {"ii", Token::Minute}, {"ss", Token::Second},
};

// The token that starts just after a "%", and its letter count.
Token token_at(const char* after_percent, size_t* length) {
  for (const TokenInfo& info : tokens) {
    size_t n = strlen(info.letters);
    if (_strnicmp(after_percent, info.letters, n) == 0) {
      *length = n;
      return info.token;
    }
  }
  *length = 0;
  return Token::None;
}

int32_t read_digits(const char** cursor, int most) {
  int32_t value = 0;
  for (int i = 0; i < most && **cursor >= '0' && **cursor <= '9'; ++i, ++*cursor) value = value * 10 + (**cursor - '0');
  return value;
}

// Writes the token's text for the parts into `out` (at least 12 bytes).
void write_token(Token token, const DateParts& parts, char* out) {
  auto two_digits = [out](int32_t v) {
    out[0] = char('0' + (v / 10) % 10);
    out[1] = char('0' + v % 10);
    out[2] = 0;
  };
  switch (token) {
    case Token::Year4: {
      // Four digits at least: a negative date has no year, and its "0000"
      // is what no valid date gives.
      char digits[12];
      decimal_text(uint32_t(parts.year), digits, 10);
      size_t length = strlen(digits), pad = length < 4 ? 4 - length : 0;
      memset(out, '0', pad);
      strcpy(out + pad, digits);
      break;
    }
    case Token::Year2: two_digits(parts.year % 100); break;
    case Token::Month: two_digits(parts.month); break;
    case Token::Day: two_digits(parts.day); break;
    case Token::Hour: two_digits(parts.hour); break;
    case Token::Minute: two_digits(parts.minute); break;
    case Token::Second: two_digits(parts.second); break;
    case Token::None: out[0] = 0; break;
  }
}

// The mask's own storage while format_date writes into the buffer it may lie in.
class MaskCopy {
 public:
  explicit MaskCopy(const char* mask) {
    size_t length = strlen(mask);
    text_ = static_cast<char*>(general_alloc(length + 1));
    if (text_) memcpy(text_, mask, length + 1);
  }
  ~MaskCopy() { general_free(text_); }
  MaskCopy(const MaskCopy&) = delete;
  MaskCopy& operator=(const MaskCopy&) = delete;
  const char* get() const { return text_; }

 private:
  char* text_;
};

}  // namespace

namespace {

// The parts name a day and a time of some year after 0.
bool valid_parts(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
  if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11)) return false;
  if (month == 2 && day > 29) return false;
  if (month == 2 && day == 29 && !leap_year(year)) return false;
  return second >= 0 && second <= 59 && minute >= 0 && minute <= 59 && hour >= 0 && hour <= 23 && day >= 1 &&
         day <= 31 && month >= 1 && month <= 12 && year > 0;
}

// The parts the mask reads in the text; unread ones are those of 1970-01-01 00:00:00.
DateParts read_parts(const char* mask, const char* text) {
  DateParts parts = {1970, 1, 1, 0, 0, 0};
  if (!mask || !*mask || !text || !*text) return parts;
  // Mask and text move on by characters: in a code page of double-byte
  // characters a literal one takes two bytes in each.
  const LeadBytes& lead_bytes = text_lead_bytes();
  const char* cursor = text;
  for (const char* m = mask; *m;) {
    if (*m != '%') {
      m += lead_bytes.length_at(m);
      if (*cursor) cursor += lead_bytes.length_at(cursor);
      continue;
    }
    size_t length;
    Token token = token_at(m + 1, &length);
    if (token == Token::None) {
      m += m[1] ? 1 + lead_bytes.length_at(m + 1) : 1;
      if (*cursor) cursor += lead_bytes.length_at(cursor);
      continue;
    }
    m += 1 + length;
    int32_t value = read_digits(&cursor, token == Token::Year4 ? 4 : 2);
    switch (token) {
      case Token::Year4: parts.year = value; break;
      case Token::Year2: parts.year = value < 70 ? 2000 + value : 1900 + value; break;
      case Token::Month: parts.month = value; break;
      case Token::Day: parts.day = value; break;
      case Token::Hour: parts.hour = value; break;
      case Token::Minute: parts.minute = value; break;
      case Token::Second: parts.second = value; break;
      case Token::None: break;
    }
  }
  return parts;
}

}  // namespace

int32_t date_from_parts(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute, int32_t second) {
  if (!valid_parts(year, month, day, hour, minute, second)) return NO_DATE;
  // Straight from the parts: the same parts give the same value in every time zone.
  int64_t value = days_from_civil(year, month, day) * SECONDS_PER_DAY + hour * 3600 + minute * 60 + second;
  return value < 0 || value > INT32_MAX ? NO_DATE : int32_t(value);
}

int32_t current_date() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return date_from_parts(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

int32_t date_year(int32_t date) { return parts_of(date).year; }
int32_t date_month(int32_t date) { return parts_of(date).month; }
int32_t date_day(int32_t date) { return parts_of(date).day; }
int32_t date_hour(int32_t date) { return parts_of(date).hour; }
int32_t date_minute(int32_t date) { return parts_of(date).minute; }
int32_t date_second(int32_t date) { return parts_of(date).second; }

int32_t parse_date(const char* mask, const char* text) {
  DateParts parts = read_parts(mask, text);
  return date_from_parts(parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second);
}

bool parse_date_parts(const char* mask, const char* text, DateParts* parts) {
  *parts = read_parts(mask, text);
  return valid_parts(parts->year, parts->month, parts->day, parts->hour, parts->minute, parts->second);
}

const char* format_date(const char* mask, int32_t date, int32_t p) { return format_date_parts(mask, parts_of(date), p); }

const char* format_date_parts(const char* mask, const DateParts& parts, int32_t p) {
  MaskCopy copy(text_or_empty(mask));
  const char* m = copy.get();
  if (!m || !*m) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  int32_t reserved = 4096;
  char* out = buffer_reserve(reserved, p);
  if (!out) {
    buffer_terminate();
    return buffer_address_at(buffer_position());
  }
  int32_t written = 0;
  while (*m) {
    char piece[16];
    size_t length = 0;
    Token token = *m == '%' ? token_at(m + 1, &length) : Token::None;
    if (token != Token::None) {
      write_token(token, parts, piece);
      m += 1 + length;
    } else if (*m == '%' && m[1]) {
      // Any other "%" sequence comes out as written.
      piece[0] = '%';
      piece[1] = m[1];
      piece[2] = 0;
      m += 2;
    } else {
      piece[0] = *m++;
      piece[1] = 0;
    }
    int32_t n = int32_t(strlen(piece));
    if (written + n > reserved - 5) {
      // Grow at the same start; the buffer may move.
      buffer_give_back(reserved);
      reserved += 4096;
      out = buffer_reserve(reserved, p);
      if (!out) {
        set_buffer_position(p);
        buffer_terminate();
        return buffer_address_at(p);
      }
    }
    memcpy(out + written, piece, size_t(n));
    written += n;
  }
  out[written] = 0;
  buffer_give_back(reserved - written);
  return out;
}

}  // namespace vantrel
