#include "sorter/sort_keys.h"

#include <cmath>
#include <cstring>

#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"

namespace vantrel {
namespace {

// A number that is no number would break the order: it sorts first.
double ordered(double value) { return std::isnan(value) ? -HUGE_VAL : value; }

unsigned char folded(unsigned char c, bool fold) { return fold && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

// Up to eight bytes of a text from its start, at most `limit`, zeros after its end.
uint64_t prefix_of(const char* text, bool fold, int limit = 8) {
  uint64_t prefix = 0;
  int i = 0;
  for (; i < 8 && i < limit && text[i]; ++i) prefix = prefix << 8 | folded(static_cast<unsigned char>(text[i]), fold);
  return i ? prefix << (8 * (8 - i)) : 0;  // an empty text: a shift by all 64 bits is undefined
}

// Runs of ASCII bytes order as the library's comparisons do; anything else
// is left to those comparisons themselves.
bool ascii(uint64_t prefix) { return (prefix & 0x8080808080808080ull) == 0; }

}  // namespace

KeyKind key_kind(int8_t type) {
  switch (type) {
    case SORT_TEXT_CASE: return KeyKind::TextCase;
    case SORT_INTEGER:
    case SORT_INTEGER64: return KeyKind::Integer;
    case SORT_FLOAT:
    case SORT_DOUBLE:
    case SORT_FILE_SIZE: return KeyKind::Number;
    case SORT_NONE:
    case SORT_CHAR_TABLE:
    case SORT_CALLBACK: return KeyKind::Equal;
    default: return KeyKind::Text;  // the date keys compare as text, letter case ignored
  }
}

const char* key_text(int8_t type, const char* text, int32_t p) {
  switch (type) {
    case SORT_DATE_DMY: return date_key_dmy(text, p);
    case SORT_DATE_MDY: return date_key_mdy(text, p);
    case SORT_DATETIME_DMY: return date_key_dmy_time(text, p);
    case SORT_DATETIME_DMY2: return date_key_dmy2_time(text, p);
    default: return text;
  }
}

bool make_key(int8_t type, const char* text, RowKey* key) {
  switch (type) {
    case SORT_INTEGER: key->integer = parse_integer(text); return true;
    case SORT_INTEGER64: key->integer = parse_integer64(text); return true;
    case SORT_FLOAT: key->number = ordered(parse_float_single(text)); return true;
    case SORT_DOUBLE: key->number = ordered(parse_float(text)); return true;
    case SORT_FILE_SIZE: key->number = ordered(size_value(text)); return true;
    default: break;
  }
  if (key_kind(type) == KeyKind::Equal) return true;
  int32_t p = buffer_position();
  const char* made = key_text(type, text, p);
  size_t size = strlen(made) + 1;
  key->text = static_cast<char*>(general_alloc(size));
  if (key->text) memcpy(key->text, made, size);
  set_buffer_position(p);
  return key->text != nullptr;
}

int compare_keys(KeyKind kind, const RowKey& a, const RowKey& b) {
  switch (kind) {
    case KeyKind::Text: return compare_text(a.text, b.text, 1);
    case KeyKind::TextCase: return compare_text(a.text, b.text, 0);
    case KeyKind::Integer: return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
    case KeyKind::Number: return a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    case KeyKind::Equal: return 0;
  }
  return 0;
}

int compare_cell_texts(int8_t type, const char* a, const char* b) {
  RowKey first = {}, second = {};
  make_key(type, text_or_empty(a), &first);
  make_key(type, text_or_empty(b), &second);
  int result = compare_keys(key_kind(type), first, second);
  general_free(first.text);
  general_free(second.text);
  return result;
}

void set_text_key(TextKey* key, const char* text, bool fold) {
  key->text = text;
  key->prefix[0] = prefix_of(text, fold);
  key->prefix[1] = key->prefix[0] & 0xFF ? prefix_of(text + 8, fold) : 0;
}

// Eight folded bytes at a time while both texts are ASCII: equal dates and
// names that share their first bytes would otherwise each cost a call.
int compare_text_keys_whole(const TextKey& a, const TextKey& b, bool fold) {
  uint64_t x = a.prefix[0], y = b.prefix[0];
  for (int at = 0; ascii(x) && ascii(y);) {
    if (x != y) return x < y ? -1 : 1;
    at += 8;
    if ((x & 0xFF) == 0 || at >= SORT_TEXT_LIMIT) return 0;  // both ended alike, or the limit came
    x = at == 8 ? a.prefix[1] : prefix_of(a.text + at, fold, SORT_TEXT_LIMIT - at);
    y = at == 8 ? b.prefix[1] : prefix_of(b.text + at, fold, SORT_TEXT_LIMIT - at);
  }
  return fold ? _strnicmp(a.text, b.text, SORT_TEXT_LIMIT) : strncmp(a.text, b.text, SORT_TEXT_LIMIT);
}

int32_t last_position(const char* text, const char* pattern, int32_t start) {
  int32_t last = 0;
  for (int32_t at = find_string(text, pattern, start); at > 0; at = find_string(text, pattern, at + 1)) last = at;
  return last;
}

float size_value(const char* text) {
  struct Unit {
    const char* name;
    float multiplier;
  };
  static constexpr Unit units[] = {{"b", 1.0f},          {"kb", 1024.0f}, {"mb", 1048576.0f}, {"gb", 1073741824.0f},
                                   {"o", 1.0f},          {"ko", 1024.0f}, {"mo", 1048576.0f}, {"go", 1073741824.0f}};
  int32_t p = buffer_position();
  trim_string(text, p);  // the text without surrounding blanks, at p
  float value = parse_float_single(buffer_address_at(p));
  int32_t space = last_position(buffer_address_at(p), " ", 1);
  if (space > 0) {
    int32_t unit_at = buffer_position();
    mid_string(buffer_address_at(p), space + 1, text_length(buffer_address_at(p)) - space, unit_at);
    int32_t lower_at = buffer_position();
    lower_case(buffer_address_at(unit_at), lower_at);
    for (const Unit& unit : units) {
      if (strings_equal(buffer_address_at(lower_at), unit.name)) {
        value *= unit.multiplier;
        break;
      }
    }
  }
  set_buffer_position(p);
  return value;
}

namespace {
// A key built from pieces of the text, by the Part's positions.
struct KeyBuilder {
  BufferArgument text;
  int32_t start;
  explicit KeyBuilder(const char* t, int32_t p) : text(t), start(p) { buffer_terminate_at(p); }
  void mid(int32_t from, int32_t length) { mid_string(text.get(), from, length, buffer_position()); }
  void left(int32_t length) { left_string(text.get(), length, buffer_position()); }
  void right(int32_t length) { right_string(text.get(), length, buffer_position()); }
  void literal(const char* piece) { append_string(piece, buffer_position()); }
  const char* done() const { return buffer_address_at(start); }
  static void buffer_terminate_at(int32_t p) {
    set_buffer_position(p);
    buffer_terminate();
  }
};
}  // namespace

const char* date_key_dmy(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.right(4);
  key.mid(4, 2);
  key.left(2);
  return key.done();
}

const char* date_key_mdy(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.right(4);
  key.left(2);
  key.mid(4, 2);
  return key.done();
}

const char* date_key_dmy_time(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  key.mid(7, 4);
  key.mid(4, 2);
  key.left(2);
  key.right(8);
  return key.done();
}

const char* date_key_dmy2_time(const char* text, int32_t p) {
  KeyBuilder key(text, p);
  // Two-digit years 00 to 29 are 2000 to 2029 and sort after 30 to 99.
  int32_t year_at = buffer_position();
  key.mid(7, 2);
  char year[3] = {};
  strncpy(year, buffer_address_at(year_at), 2);
  KeyBuilder::buffer_terminate_at(year_at);
  key.literal(string_less(year, "30") ? "1" : "0");
  key.literal(year);
  key.mid(4, 2);
  key.left(2);
  key.right(5);
  return key.done();
}

}  // namespace vantrel
