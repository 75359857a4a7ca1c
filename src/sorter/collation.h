#pragma once
// How the case-blind texts of a wide call compare: as the platform's
// Unicode comparison for the user's locale orders them (CompareStringW with
// NORM_IGNORECASE). The fixed exports keep the library's own comparison.
//
// Asking the platform for each pair, or for a sort key per text, costs a
// third of a microsecond a text: most columns need neither. A column of
// ASCII characters that the locale orders one by one (no character it
// ignores or joins with another) compares by a rank per character, found
// by asking the platform once; where those ranks follow the library's own
// folded order, the library's own keys serve unchanged.
#include <cstdint>

#include "sorter/sort_keys.h"

namespace vantrel {

enum class Collation {
  Folded,    // the library's own comparison gives the platform's order
  Ranked,    // each character's rank in the platform's order, compared byte by byte
  SortKeys,  // the platform's sort key of each text, compared byte by byte
};

// The bytes a column's texts hold, noted as its keys are made.
class SeenBytes {
 public:
  void note(const char* text);
  bool seen(unsigned char byte) const { return (bits_[byte >> 5] >> (byte & 31)) & 1; }
  bool beyond_ascii() const { return (bits_[4] | bits_[5] | bits_[6] | bits_[7]) != 0; }

 private:
  uint32_t bits_[8] = {};
};

// The cheapest comparison that orders texts made of the seen bytes as the
// platform does.
Collation collation_for(const SeenBytes& seen);

// The text's key for the collation (Ranked or SortKeys), of its first 254
// characters, compared byte by byte: its size with its zero, and the key
// written at `out` when that fits in `room` bytes. Any thread may ask.
int32_t collation_key(Collation collation, const char* text, char* out, int32_t room);
// Room for most keys: the platform's take a few bytes a character.
constexpr int32_t LIKELY_KEY_ROOM = 12 * SORT_TEXT_LIMIT + 16;

// Two texts of the call's code page in the platform's order, letter case aside.
int compare_collated(const char* a, const char* b);

}  // namespace vantrel
