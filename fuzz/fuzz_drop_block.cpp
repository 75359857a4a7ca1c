// A drop block from a less trusted process: every name read must lie
// within the block, and the count must match the names given.
#include <cstdint>
#include <cstring>
#include <vector>

#include "dialogs/drop_block.h"

using namespace vantrel;

namespace {

struct Seen {
  const unsigned char* begin;
  const unsigned char* end;
  int64_t names = 0;
};

void take(const DropName& name, void* context) {
  auto* seen = static_cast<Seen*>(context);
  ++seen->names;
  const unsigned char* at = name.ansi ? reinterpret_cast<const unsigned char*>(name.ansi) : name.wide;
  size_t bytes = name.ansi ? name.length : name.length * 2;
  if (!at || at < seen->begin || at + bytes > seen->end) __builtin_trap();
  unsigned char copy = 0;
  for (size_t i = 0; i < bytes; ++i) copy ^= at[i];  // touch every byte: the sanitizer sees a read outside
  (void)copy;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the block's size, so that a read past it is caught.
  std::vector<unsigned char> block(data, data + size);
  Seen seen = {block.data(), block.data() + block.size()};
  int64_t count = read_drop_block(block.data(), block.size(), take, &seen);
  if (count >= 0 && count != seen.names) __builtin_trap();
  if (count < 0 && seen.names != 0) __builtin_trap();
  return 0;
}
