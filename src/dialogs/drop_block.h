#pragma once
// Reading the block that carries a file drop (the platform's DROPFILES): a
// 20-byte header whose first word is the offset of the names, and whose
// last word says whether they are 16-bit characters; then the names, each
// ended by a zero, and one more zero after the last. The block can come
// from a less trusted process, so it is read within its own size only.
// Platform-free, so that it can be fuzzed.
#include <cstddef>
#include <cstdint>

namespace vantrel {

constexpr size_t DROP_HEADER_SIZE = 20;

// One name of the block, without its zero: `length` bytes at `ansi`, or
// `length` 16-bit characters at `wide` (not necessarily aligned: read them
// with memcpy).
struct DropName {
  const char* ansi;
  const unsigned char* wide;
  size_t length;
};
using TakeDropName = void (*)(const DropName& name, void* context);

// Calls `take` for every non-empty name in order, and answers how many
// there were; -1 when the block cannot be read (too small for its header,
// or names outside it). A last name without its zero is left out.
int64_t read_drop_block(const void* block, size_t size, TakeDropName take, void* context);

}  // namespace vantrel
