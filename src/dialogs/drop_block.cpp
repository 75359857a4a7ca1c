#include "dialogs/drop_block.h"

#include <cstring>

namespace vantrel {
namespace {

uint32_t dword_at(const unsigned char* data, size_t at) {
  return uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16 | uint32_t(data[at + 3]) << 24;
}

int64_t read_ansi_names(const unsigned char* names, size_t room, TakeDropName take, void* context) {
  int64_t count = 0;
  const auto* at = reinterpret_cast<const char*>(names);
  const char* end = at + room;
  while (at < end && *at) {
    auto* zero = static_cast<const char*>(memchr(at, 0, size_t(end - at)));
    if (!zero) break;  // a name without its zero
    if (take) take({at, nullptr, size_t(zero - at)}, context);
    ++count;
    at = zero + 1;
  }
  return count;
}

bool wide_zero(const unsigned char* at) { return at[0] == 0 && at[1] == 0; }

int64_t read_wide_names(const unsigned char* names, size_t room, TakeDropName take, void* context) {
  int64_t count = 0;
  size_t characters = room / 2;
  size_t i = 0;
  while (i < characters && !wide_zero(names + 2 * i)) {
    size_t start = i;
    while (i < characters && !wide_zero(names + 2 * i)) ++i;
    if (i == characters) break;  // a name without its zero
    if (take) take({nullptr, names + 2 * start, i - start}, context);
    ++count;
    ++i;
  }
  return count;
}

}  // namespace

int64_t read_drop_block(const void* block, size_t size, TakeDropName take, void* context) {
  if (!block || size < DROP_HEADER_SIZE) return -1;
  const auto* data = static_cast<const unsigned char*>(block);
  size_t offset = dword_at(data, 0);
  bool wide = dword_at(data, 16) != 0;
  if (offset < DROP_HEADER_SIZE || offset >= size) return -1;
  return wide ? read_wide_names(data + offset, size - offset, take, context)
              : read_ansi_names(data + offset, size - offset, take, context);
}

}  // namespace vantrel
