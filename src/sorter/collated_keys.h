#pragma once
// The keys of a collation (collation.h) for every row of a column. The
// platform's sort keys cost a fifth of a microsecond a text, most of a long
// column's sort, so each processor makes the keys of a share of the rows.
#include <cstdint>

#include "sorter/collation.h"
#include "sorter/key_texts.h"
#include "sorter/sort_keys.h"
#include "ui/gadgets/kinds.h"

namespace vantrel {

// Fewer rows than this are not worth a thread.
constexpr int32_t LEAST_SHARE = 16384;
int processor_count();

class CollatedKeys {
 public:
  // Sets each row's key (keys[row]) to its collation key, which this object
  // keeps; false when memory runs out. A platform sort key's text is the
  // part of it after the 16 bytes of its prefix.
  bool make(Collation collation, const RowSource* source, int32_t column, TextKey* keys, int32_t rows);

 private:
  static constexpr int MOST_SHARES = 8;
  struct Share {
    Collation collation;
    const RowSource* source;
    int32_t column;
    TextKey* keys;
    int32_t first, end;
    KeyTexts texts;
    bool made;
  };
  static unsigned long __stdcall make_share(void* share);
  Share shares_[MOST_SHARES];
};

}  // namespace vantrel
