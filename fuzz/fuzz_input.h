#pragma once
// What the fuzz targets share: the runtime's heaps and string buffer made
// once, and an input cut into numbers and texts. Every text lies in a block
// of exactly its own size, so that a read one byte past it is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/strings.h"

namespace fuzz {

inline void start_runtime() {
  static bool started = vantrel::init_string_manager() && vantrel::create_general_heap();
  if (!started) __builtin_trap();
  vantrel::set_buffer_position(0);
  vantrel::buffer_terminate();
}

inline void require(bool condition) {
  if (!condition) __builtin_trap();
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}

  // The next four bytes as a number; 0 once the input has run out.
  int32_t number() {
    uint32_t value = 0;
    for (int i = 0; i < 4 && at_ < end_; ++i) value = value << 8 | *at_++;
    return int32_t(value);
  }
  uint8_t byte() { return at_ < end_ ? *at_++ : 0; }

  // The bytes up to the next zero byte (or the end), zero-terminated.
  char* text() {
    const uint8_t* stop = static_cast<const uint8_t*>(memchr(at_, 0, size_t(end_ - at_)));
    if (!stop) stop = end_;
    char* copy = keep(reinterpret_cast<const char*>(at_), size_t(stop - at_));
    at_ = stop < end_ ? stop + 1 : end_;
    return copy;
  }
  // All that is left, as one text (zero bytes end it early, as they would in a host's string).
  char* rest() {
    char* copy = keep(reinterpret_cast<const char*>(at_), size_t(end_ - at_));
    at_ = end_;
    return copy;
  }

 private:
  char* keep(const char* bytes, size_t length) {
    blocks_.emplace_back(new char[length + 1]);
    char* copy = blocks_.back().get();
    memcpy(copy, bytes, length);
    copy[length] = 0;
    return copy;
  }

  const uint8_t* at_;
  const uint8_t* end_;
  std::vector<std::unique_ptr<char[]>> blocks_;
};

// A produced text lies in the shared buffer, ended within it.
inline void require_in_buffer(const char* text) {
  const char* begin = vantrel::buffer_address_at(0);
  const char* end = begin + vantrel::buffer_capacity();
  require(text >= begin && text < end);
  require(memchr(text, 0, size_t(end - text)) != nullptr);
}

}  // namespace fuzz
