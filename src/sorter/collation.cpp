#include "sorter/collation.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "sorter/sort_keys.h"

namespace vantrel {
namespace {

constexpr unsigned char FIRST_PRINTABLE = 0x20, LAST_PRINTABLE = 0x7E;

// Each printable ASCII character's rank in the platform's order (from 1,
// equal for characters the comparison does not tell apart), or 0 for one
// that does not order alone: the locale ignores it, or joins it with its
// neighbour.
struct Ranks {
  bool probed = false;
  unsigned char rank[128] = {};
};
Ranks ranks;

int compare_wide(const wchar_t* a, int a_length, const wchar_t* b, int b_length) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, a_length, b, b_length) - CSTR_EQUAL;
}

int sign(int value) { return (value > 0) - (value < 0); }

// Whether a character between two others orders as its rank says: a
// character the locale ignores (a hyphen, an apostrophe) or weighs apart
// would not. One of the same rank as its neighbour leaves the longer text
// after the shorter.
bool orders_alone(wchar_t c, wchar_t around) {
  const wchar_t with[] = {around, c, around}, without[] = {around, around};
  int expected = ranks.rank[c] == ranks.rank[around] ? 1 : sign(int(ranks.rank[c]) - int(ranks.rank[around]));
  return sign(compare_wide(with, 3, without, 2)) == expected;
}

// Whether the locale joins no two of the ordered characters into one (as
// "aa", "ch" or "cs" are in some): each pair orders before the pair with
// the next character in second place.
bool joins_none(const unsigned char* ordered, int count) {
  for (int i = 0; i < count; ++i)
    for (int j = 0; j + 1 < count; ++j) {
      unsigned char next = ordered[j + 1];
      if (ranks.rank[next] == ranks.rank[ordered[j]]) continue;
      const wchar_t pair[] = {wchar_t(ordered[i]), wchar_t(ordered[j])}, after[] = {wchar_t(ordered[i]), wchar_t(next)};
      if (compare_wide(pair, 2, after, 2) >= 0) return false;
    }
  return true;
}

void probe_ranks() {
  ranks.probed = true;
  unsigned char ordered[LAST_PRINTABLE - FIRST_PRINTABLE + 1];
  int count = 0;
  for (int c = FIRST_PRINTABLE; c <= LAST_PRINTABLE; ++c) ordered[count++] = static_cast<unsigned char>(c);
  std::stable_sort(ordered, ordered + count, [](unsigned char a, unsigned char b) {
    const wchar_t x = a, y = b;
    return compare_wide(&x, 1, &y, 1) < 0;
  });
  unsigned char rank = 0;
  for (int i = 0; i < count; ++i) {
    const wchar_t x = ordered[i], previous = i ? ordered[i - 1] : 0;
    if (!i || compare_wide(&previous, 1, &x, 1) != 0) ++rank;
    ranks.rank[ordered[i]] = rank;
  }
  int kept = 0;
  for (int i = 0; i < count; ++i)
    if (orders_alone(ordered[i], L'a') && orders_alone(ordered[i], L'0')) ordered[kept++] = ordered[i];
  for (int c = FIRST_PRINTABLE; c <= LAST_PRINTABLE; ++c)
    if (std::find(ordered, ordered + kept, c) == ordered + kept) ranks.rank[c] = 0;
  if (!joins_none(ordered, kept)) memset(ranks.rank, 0, sizeof ranks.rank);
}

// The text's first 254 characters as UTF-16 at `out`, which has room for
// them and a zero: how many units they take.
int limited_wide(const char* text, wchar_t* out) {
  // A UTF-8 text of no more bytes than the room takes no more units: most
  // convert in one pass.
  size_t bytes = strnlen(text, SORT_TEXT_LIMIT + 1);
  size_t length = text_code_page() == CODE_PAGE_UTF8 && bytes <= SORT_TEXT_LIMIT
                      ? utf16_from_utf8(text, bytes, out)
                      : whole_units(out, wide_prefix(text, SORT_TEXT_LIMIT, out));
  out[length] = 0;
  return int(length);
}

}  // namespace

void SeenBytes::note(const char* text) {
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) bits_[*c >> 5] |= 1u << (*c & 31);
}

Collation collation_for(const SeenBytes& seen) {
  if (!ranks.probed) probe_ranks();
  for (int c = 1; c < 256; ++c)
    if (seen.seen(static_cast<unsigned char>(c)) && (c >= 128 || !ranks.rank[c])) return Collation::SortKeys;
  // The library's own comparison folds A to Z and compares bytes: it gives
  // the platform's order when the seen characters' ranks rise with their
  // folded bytes, and a letter's two cases share one.
  int last_rank = 0;
  for (int f = 1; f < 128; ++f) {
    auto c = static_cast<unsigned char>(f);
    if (c >= 'A' && c <= 'Z') continue;  // taken with its small letter
    bool lower = seen.seen(c), upper = c >= 'a' && c <= 'z' && seen.seen(static_cast<unsigned char>(c - 32));
    if (!lower && !upper) continue;
    int rank = lower ? ranks.rank[c] : ranks.rank[c - 32];
    if ((lower && upper && ranks.rank[c - 32] != rank) || rank <= last_rank) return Collation::Ranked;
    last_rank = rank;
  }
  return Collation::Folded;
}

int32_t collation_key(Collation collation, const char* text, char* out, int32_t room) {
  text = text_or_empty(text);
  if (collation == Collation::Ranked) {
    auto length = int32_t(strnlen(text, SORT_TEXT_LIMIT));
    if (length < room) {
      for (int32_t i = 0; i < length; ++i) out[i] = char(ranks.rank[static_cast<unsigned char>(text[i]) & 0x7F]);
      out[length] = 0;
    }
    return length + 1;
  }
  wchar_t wide[SORT_TEXT_LIMIT + 1];
  int length = limited_wide(text, wide);
  if (!length) {
    if (room > 0) out[0] = 0;
    return 1;
  }
  int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide, length,
                          reinterpret_cast<LPWSTR>(out), room);
  if (size > 0) return size;
  size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide, length, nullptr, 0);
  if (size > 0) return size;
  if (room > 0) out[0] = 0;  // a text the platform gives no key sorts first
  return 1;
}

int compare_collated(const char* a, const char* b) {
  wchar_t x[SORT_TEXT_LIMIT + 1], y[SORT_TEXT_LIMIT + 1];
  int x_length = limited_wide(a, x), y_length = limited_wide(b, y);
  return compare_wide(x, x_length, y, y_length);
}

}  // namespace vantrel
