#pragma once
// String variables on the string heap, the shared string buffer that every
// producer of text writes into, and the small glue shared by the runtime.
#include <cstdint>

namespace vantrel {

// A string variable is one pointer that owns a block on the string heap;
// null reads as "" everywhere.
using StringVar = char*;

// Reads a possibly null text as "".
inline const char* text_or_empty(const char* text) { return text ? text : ""; }

bool init_string_manager();
void stop_string_manager();  // releases the string heap and with it every block

// String variables. Each returns false when memory runs out, leaving the
// variable as it was (string_take still rewinds the buffer).
bool string_new(StringVar* variable, const char* text);
// A new variable of `length` bytes (and its zero) for the caller to write,
// so that a long text is not made twice; null when memory runs out.
char* string_new_room(StringVar* variable, size_t length);
bool string_assign(StringVar* variable, const char* text);
bool string_take(StringVar* variable, int32_t start);
void string_free(char* block);

// Shared string buffer. buffer_reserve returns null (and changes nothing)
// when the buffer cannot grow.
char* buffer_reserve(int32_t length, int32_t at);
void buffer_give_back(int32_t count);
bool buffer_append(const char* text);
int32_t buffer_offset_of(const void* address);
char* buffer_address_of(int32_t offset);
char* buffer_address_at(int32_t position);
int32_t buffer_position();
void set_buffer_position(int32_t position);
int32_t buffer_capacity();
// Gives the buffer's block, with every text in it, to the caller (to free
// with string_free on the thread that owns the runtime) and starts a fresh
// one, empty; null, with nothing changed, when no fresh one can be had.
char* buffer_hand_over();
void buffer_terminate();  // writes the zero at the current position
void copy_string_bytes(char* destination, const char* source, int32_t length);

// Blocks in use on the string heap, the buffer's included: a leak check for tests.
int32_t string_blocks_in_use();

// A text argument of a producer that may lie in the shared buffer: it is
// remembered as an offset so that it stays readable when a reservation
// moves the buffer.
class BufferArgument {
 public:
  explicit BufferArgument(const char* text)
      : text_(text_or_empty(text)), offset_(buffer_offset_of(text_)) {}
  const char* get() const { return offset_ ? buffer_address_of(offset_) : text_; }

 private:
  const char* text_;
  int32_t offset_;
};

int strings_equal(const char* a, const char* b);
int string_less(const char* a, const char* b);
int character_code(const char* text);
char* decimal_text(uint32_t value, char* destination, int radix);

// String layout table entries: offsets of string fields, a nested array, the end.
// Entries are as wide as an address, since an array entry names its nested layout.
using LayoutEntry = intptr_t;
constexpr LayoutEntry LAYOUT_ARRAY = -2;
constexpr LayoutEntry LAYOUT_END = -1;
void free_structure_strings(void* structure, const LayoutEntry* layout);

}  // namespace vantrel
