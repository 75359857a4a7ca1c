#pragma once
#include <cstddef>
#include <cstring>

#include "runtime/heaps.h"

namespace vantrel {

// The text keys' own storage, where a key is not the cell itself (a date
// key, a collation's key): kept in blocks of a megabyte, freed together.
class KeyTexts {
 public:
  KeyTexts() = default;
  KeyTexts(const KeyTexts&) = delete;
  KeyTexts& operator=(const KeyTexts&) = delete;
  ~KeyTexts() {
    for (Block* b = blocks_; b;) {
      Block* next = b->next;
      general_free(b);
      b = next;
    }
  }
  const char* keep(const char* text) {
    size_t size = strlen(text) + 1;
    if (!blocks_ || blocks_->used + size > BLOCK) {
      size_t room = size > BLOCK ? size : BLOCK;
      auto* block = static_cast<Block*>(general_alloc(sizeof(Block) + room));
      if (!block) return nullptr;
      block->next = blocks_;
      block->used = 0;
      blocks_ = block;
    }
    char* at = reinterpret_cast<char*>(blocks_ + 1) + blocks_->used;
    memcpy(at, text, size);
    blocks_->used += size;
    return at;
  }

 private:
  static constexpr size_t BLOCK = 1 << 20;
  struct Block {
    Block* next;
    size_t used;
  };
  Block* blocks_ = nullptr;
};

}  // namespace vantrel
