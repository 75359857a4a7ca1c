#include "sorter/collated_keys.h"

#include <windows.h>

#include "runtime/heaps.h"

namespace vantrel {
namespace {

constexpr int32_t PREFIX_BYTES = int32_t(sizeof(TextKey::prefix));

int share_count(int32_t rows, int most) {
  int count = processor_count();
  if (count > most) count = most;
  if (count > rows / LEAST_SHARE) count = rows / LEAST_SHARE;
  return count < 1 ? 1 : count;
}

// Sets the row's key; a platform key keeps only what its prefix does not
// hold, its bytes after the sixteenth.
bool set_key(TextKey* row_key, Collation collation, const char* key, int32_t size, KeyTexts* texts) {
  const char* kept = key;
  if (collation == Collation::SortKeys) kept = size - 1 > PREFIX_BYTES ? key + PREFIX_BYTES : "";
  kept = *kept ? texts->keep(kept) : "";
  if (!kept) return false;
  set_text_key(row_key, key, false);
  row_key->text = kept;
  return true;
}

}  // namespace

int processor_count() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return int(system.dwNumberOfProcessors);
}

unsigned long __stdcall CollatedKeys::make_share(void* argument) {
  auto* share = static_cast<Share*>(argument);
  char scratch[12], key[LIKELY_KEY_ROOM];
  share->made = true;
  for (int32_t row = share->first; share->made && row < share->end; ++row) {
    const char* text = share->source->text(share->source, row, share->column, scratch);
    int32_t size = collation_key(share->collation, text, key, LIKELY_KEY_ROOM);
    if (size <= LIKELY_KEY_ROOM) {
      share->made = set_key(&share->keys[row], share->collation, key, size, &share->texts);
      continue;
    }
    auto* long_key = static_cast<char*>(general_alloc(size_t(size)));
    share->made = long_key && collation_key(share->collation, text, long_key, size) <= size &&
                  set_key(&share->keys[row], share->collation, long_key, size, &share->texts);
    general_free(long_key);
  }
  return 0;
}

bool CollatedKeys::make(Collation collation, const RowSource* source, int32_t column, TextKey* keys, int32_t rows) {
  int count = share_count(rows, MOST_SHARES);
  HANDLE threads[MOST_SHARES] = {};
  for (int i = 0; i < count; ++i) {
    Share& share = shares_[i];
    share.collation = collation;
    share.source = source;
    share.column = column;
    share.keys = keys;
    share.first = int32_t(int64_t(rows) * i / count);
    share.end = int32_t(int64_t(rows) * (i + 1) / count);
    // The first share is this thread's; one whose thread is refused too.
    if (i > 0) threads[i] = CreateThread(nullptr, 0, make_share, &share, 0, nullptr);
  }
  make_share(&shares_[0]);
  bool made = shares_[0].made;
  for (int i = 1; i < count; ++i) {
    if (threads[i]) {
      WaitForSingleObject(threads[i], INFINITE);
      CloseHandle(threads[i]);
    } else {
      make_share(&shares_[i]);
    }
    made = made && shares_[i].made;
  }
  return made;
}

}  // namespace vantrel
