#pragma once
// The keys rows sort by: each column type's key made from a cell's text,
// and the order of two keys. Nothing here needs a window.
#include <cstdint>

namespace vantrel {

enum ColumnType : int8_t {
  SORT_TEXT_NOCASE = 0,
  SORT_TEXT_CASE = 1,
  SORT_INTEGER = 2,
  SORT_FLOAT = 3,
  SORT_DATE_DMY = 4,
  SORT_DATE_MDY = 5,
  SORT_FILE_SIZE = 6,
  SORT_NONE = 7,
  SORT_DATETIME_DMY = 8,
  SORT_DATETIME_DMY2 = 9,
  SORT_CHAR_TABLE = 10,
  SORT_CALLBACK = 11,
  SORT_INTEGER64 = 12,
  SORT_DOUBLE = 13,
};

constexpr int32_t SORT_TEXT_LIMIT = 254;  // a cell sorts by its first 254 characters

enum class KeyKind { Text, TextCase, Integer, Number, Equal };

KeyKind key_kind(int8_t type);

// One row's sort key, built once from its text.
struct RowKey {
  int32_t* record;  // the row's item record: its data value is the row's index
  int64_t integer;
  double number;
  char* text;  // on the general heap: the caller frees it
};

// The key's text: the cell itself, or the date key made from it, at p.
const char* key_text(int8_t type, const char* text, int32_t p);
// False when memory for the key's text ran out.
bool make_key(int8_t type, const char* text, RowKey* key);
int compare_keys(KeyKind kind, const RowKey& a, const RowKey& b);

// The order of two cell texts under a column type: negative, 0 or positive
// (ascending; the sort reverses it for descending).
int compare_cell_texts(int8_t type, const char* a, const char* b);

// A text key of a sort of many rows: its first 16 bytes kept with it, so
// that most comparisons need not reach the text.
struct TextKey {
  uint64_t prefix[2];  // the first 16 bytes (folded for the case-blind type), big-endian
  const char* text;    // the whole key, as far as the text limit
  int32_t row, place;
};
// The key of a text (its first 16 bytes folded when `fold`); the text stays the caller's.
void set_text_key(TextKey* key, const char* text, bool fold);
// In the order of compare_text on the first 254 characters (case-blind when
// `fold`). Keys that differ, or end alike, within their first 16 ASCII
// bytes are told apart here, without a call: a sort makes millions of
// comparisons.
int compare_text_keys_whole(const TextKey& a, const TextKey& b, bool fold);
inline int compare_text_keys(const TextKey& a, const TextKey& b, bool fold) {
  constexpr uint64_t HIGHS = 0x8080808080808080ull;
  for (int half = 0; half < 2; ++half) {
    uint64_t x = a.prefix[half], y = b.prefix[half];
    if ((x | y) & HIGHS) break;
    if (x != y) return x < y ? -1 : 1;
    if ((x & 0xFF) == 0) return 0;  // both ended alike
  }
  return compare_text_keys_whole(a, b, fold);
}

float size_value(const char* text);
const char* date_key_dmy(const char* text, int32_t p);
const char* date_key_mdy(const char* text, int32_t p);
const char* date_key_dmy_time(const char* text, int32_t p);
const char* date_key_dmy2_time(const char* text, int32_t p);
// 1-based position of the last occurrence of the pattern at or after start; 0 for none.
int32_t last_position(const char* text, const char* pattern, int32_t start);

}  // namespace vantrel
