#include "runtime/strings.h"

#include <windows.h>

#include <cstring>

#include "runtime/heaps.h"

namespace vantrel {
namespace {

// Every block carries this much beyond its text: the terminator and slack.
constexpr int32_t BLOCK_SLACK = 5;
// The capacity test keeps this much of the buffer in reserve.
constexpr int32_t BUFFER_RESERVE = 4;
constexpr int32_t BUFFER_GROWTH = 16384;
constexpr int32_t INITIAL_CAPACITY = 16;
// Larger requests fail instead of overflowing 32-bit arithmetic.
constexpr int64_t LARGEST_BLOCK = 0x7FFF0000 - BUFFER_GROWTH;

HANDLE string_heap = nullptr;
char* base = nullptr;
int32_t position = 0;
int32_t capacity = 0;

void* string_alloc(size_t size) { return heap_alloc(string_heap, size, false, false); }
void* string_realloc(void* block, size_t size) {
  return heap_realloc(string_heap, block, size, false, false);
}

// Resizes (or allocates) a variable's block for a text of `length` bytes.
char* resize_block(char* block, int32_t length) {
  if (length < 0 || length > LARGEST_BLOCK) return nullptr;
  return static_cast<char*>(string_realloc(block, size_t(length) + BLOCK_SLACK));
}

// Offset of `text` inside the variable's own block, or -1 when it lies elsewhere.
int32_t offset_in_block(const char* block, const char* text) {
  if (!block || text < block) return -1;
  SIZE_T size = HeapSize(string_heap, HEAP_NO_SERIALIZE, block);
  if (size == SIZE_T(-1) || text >= block + size) return -1;
  return int32_t(text - block);
}

}  // namespace

bool init_string_manager() {
  string_heap = HeapCreate(HEAP_NO_SERIALIZE, 4096, 0);
  if (!string_heap) return false;
  base = static_cast<char*>(string_alloc(INITIAL_CAPACITY));
  position = 0;
  capacity = base ? INITIAL_CAPACITY : 0;
  if (base) base[0] = 0;
  return base != nullptr;
}

void stop_string_manager() {
  if (string_heap) HeapDestroy(string_heap);
  string_heap = nullptr;
  base = nullptr;
  position = capacity = 0;
}

bool string_new(StringVar* variable, const char* text) {
  if (!text) return true;
  size_t length = strlen(text);
  if (length > size_t(LARGEST_BLOCK)) return false;
  char* block = static_cast<char*>(string_alloc(length + BLOCK_SLACK));
  if (!block) return false;
  copy_string_bytes(block, text, int32_t(length));
  *variable = block;
  return true;
}

char* string_new_room(StringVar* variable, size_t length) {
  if (length > size_t(LARGEST_BLOCK)) return nullptr;
  char* block = static_cast<char*>(string_alloc(length + BLOCK_SLACK));
  if (!block) return nullptr;
  block[length] = 0;
  *variable = block;
  return block;
}

bool string_assign(StringVar* variable, const char* text) {
  if (!text) {
    string_free(*variable);
    *variable = nullptr;
    return true;
  }
  size_t length = strlen(text);
  if (length > size_t(LARGEST_BLOCK)) return false;
  // The text may be a tail of the variable's own block, which the resize moves.
  int32_t own_offset = offset_in_block(*variable, text);
  if (own_offset >= 0) {
    memmove(*variable, text, length + 1);
    char* block = resize_block(*variable, int32_t(length));
    if (block) *variable = block;
    return true;  // the text is in place whether or not the block shrank
  }
  char* block = resize_block(*variable, int32_t(length));
  if (!block) return false;
  copy_string_bytes(block, text, int32_t(length));
  *variable = block;
  return true;
}

bool string_take(StringVar* variable, int32_t start) {
  if (start < 0 || start > position) start = position;
  int32_t length = position - start;
  position = start;
  char* block = resize_block(*variable, length);
  if (!block) return false;
  copy_string_bytes(block, base + start, length);
  *variable = block;
  return true;
}

void string_free(char* block) {
  if (block) heap_free(string_heap, block, false);
}

char* buffer_reserve(int32_t length, int32_t at) {
  if (!base || length < 0 || at < 0) return nullptr;
  int64_t end = int64_t(at > position ? at : position) + length;
  if (end >= capacity - BUFFER_RESERVE) {
    if (end > LARGEST_BLOCK) return nullptr;
    int32_t grown = int32_t(end) + BUFFER_GROWTH;
    char* block = static_cast<char*>(string_realloc(base, size_t(grown) + BLOCK_SLACK));
    if (!block) return nullptr;
    base = block;
    capacity = grown;
  }
  position = at + length;
  return base + at;
}

void buffer_give_back(int32_t count) {
  if (count <= 0) return;
  position = count > position ? 0 : position - count;
}

bool buffer_append(const char* text) {
  if (!base) return false;
  if (!text) {
    base[position] = 0;
    return true;
  }
  BufferArgument argument(text);
  size_t length = strlen(text);
  if (length > size_t(LARGEST_BLOCK)) return false;
  char* at = buffer_reserve(int32_t(length), position);
  if (!at) return false;
  copy_string_bytes(at, argument.get(), int32_t(length));
  return true;
}

int32_t buffer_offset_of(const void* address) {
  const char* a = static_cast<const char*>(address);
  if (!base || !a || a < base || a > base + position) return 0;
  return int32_t(a - base) + 1;
}

char* buffer_address_of(int32_t offset) { return base + offset - 1; }
char* buffer_address_at(int32_t at) { return base + at; }
int32_t buffer_position() { return position; }

void set_buffer_position(int32_t at) {
  if (at >= 0 && at <= position) position = at;
}

int32_t buffer_capacity() { return capacity; }

char* buffer_hand_over() {
  auto* fresh = static_cast<char*>(string_alloc(INITIAL_CAPACITY));
  if (!fresh) return nullptr;
  char* old = base;
  base = fresh;
  base[0] = 0;
  position = 0;
  capacity = INITIAL_CAPACITY;
  return old;
}

void buffer_terminate() {
  if (base) base[position] = 0;
}

void copy_string_bytes(char* destination, const char* source, int32_t length) {
  // memmove: a producer may copy a text that overlaps its own result.
  if (length > 0) memmove(destination, source, size_t(length));
  destination[length > 0 ? length : 0] = 0;
}

int32_t string_blocks_in_use() {
  if (!string_heap) return 0;
  int32_t count = 0;
  PROCESS_HEAP_ENTRY entry = {};
  while (HeapWalk(string_heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++count;
  return count;
}

int strings_equal(const char* a, const char* b) {
  return strcmp(text_or_empty(a), text_or_empty(b)) == 0 ? 1 : 0;
}

int string_less(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(text_or_empty(a));
  const unsigned char* y = reinterpret_cast<const unsigned char*>(text_or_empty(b));
  while (*x && *x == *y) ++x, ++y;
  return *x < *y ? 1 : 0;
}

int character_code(const char* text) { return static_cast<signed char>(text_or_empty(text)[0]); }

char* decimal_text(uint32_t value, char* destination, int radix) {
  if (radix < 2 || radix > 36 || !destination) return nullptr;
  char digits[33];
  int count = 0;
  do {
    uint32_t digit = value % uint32_t(radix);
    digits[count++] = char(digit < 10 ? '0' + digit : 'a' + digit - 10);
    value /= uint32_t(radix);
  } while (value);
  for (int i = 0; i < count; ++i) destination[i] = digits[count - 1 - i];
  destination[count] = 0;
  return destination;
}

void free_structure_strings(void* structure, const LayoutEntry* layout) {
  char* bytes = static_cast<char*>(structure);
  for (const LayoutEntry* entry = layout; entry && *entry != LAYOUT_END; ++entry) {
    if (*entry == LAYOUT_ARRAY) {
      intptr_t count = entry[1], offset = entry[2], stride = entry[3];
      const auto* nested = reinterpret_cast<const LayoutEntry*>(entry[4]);
      for (intptr_t i = 0; i < count; ++i) free_structure_strings(bytes + offset + i * stride, nested);
      entry += 4;
    } else if (*entry >= 0) {
      string_free(*reinterpret_cast<char**>(bytes + *entry));
    }
  }
}

}  // namespace vantrel
