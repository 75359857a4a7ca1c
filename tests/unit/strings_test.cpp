#include <cstring>

#include "runtime/string_functions.h"
#include "runtime_fixture.h"

using namespace vantrel;

using StringManager = RuntimeTest;

TEST_F(StringManager, BufferGrowsWhenPositionPlusLengthReachesCapacityLessFour) {
  EXPECT_EQ(buffer_capacity(), 16);
  ASSERT_TRUE(buffer_append("12345678901"));  // 0 + 11 < 12: fits
  EXPECT_EQ(buffer_capacity(), 16);
  EXPECT_EQ(buffer_position(), 11);
  ASSERT_TRUE(buffer_append("x"));  // 11 + 1 >= 12: grows
  EXPECT_EQ(buffer_capacity(), 11 + 1 + 16384);
  EXPECT_STREQ(buffer_address_at(0), "12345678901x");

  set_buffer_position(0);
  stop_library();
  ASSERT_TRUE(start_library(GetModuleHandleA(nullptr)));
  ASSERT_TRUE(buffer_append("123456789012"));  // 12 bytes into a fresh buffer
  EXPECT_EQ(buffer_capacity(), 12 + 16384);
}

TEST_F(StringManager, AppendNullWritesEmptyResultInPlace) {
  buffer_append("abc");
  ASSERT_TRUE(buffer_append(nullptr));
  EXPECT_EQ(buffer_position(), 3);
  EXPECT_STREQ(buffer_address_at(3), "");
}

TEST_F(StringManager, TakeCopiesAndRewinds) {
  StringVar v = nullptr;
  int32_t p = buffer_position();
  append_string("hello", p);
  ASSERT_TRUE(string_take(&v, p));
  EXPECT_STREQ(v, "hello");
  EXPECT_EQ(buffer_position(), p);

  // Nothing produced: an empty but real string.
  ASSERT_TRUE(string_take(&v, buffer_position()));
  ASSERT_NE(v, nullptr);
  EXPECT_STREQ(v, "");
  EXPECT_EQ(buffer_position(), p);
  string_free(v);
}

TEST_F(StringManager, AssignNullFreesAndOwnTailCanBeAssigned) {
  StringVar v = nullptr;
  ASSERT_TRUE(string_assign(&v, "abcdef"));
  ASSERT_TRUE(string_assign(&v, v + 2));  // a tail of its own block
  EXPECT_STREQ(v, "cdef");
  ASSERT_TRUE(string_assign(&v, nullptr));
  EXPECT_EQ(v, nullptr);
  EXPECT_STREQ(text_or_empty(v), "");
}

TEST_F(StringManager, NewLeavesVariableAloneForNull) {
  StringVar v = nullptr;
  ASSERT_TRUE(string_new(&v, nullptr));
  EXPECT_EQ(v, nullptr);
  ASSERT_TRUE(string_new(&v, "x"));
  EXPECT_STREQ(v, "x");
  string_free(v);
}

TEST_F(StringManager, OffsetOfCoversTheTerminatorButNotBeyond) {
  buffer_append("abcd");
  char* base = buffer_address_at(0);
  EXPECT_EQ(buffer_offset_of(base), 1);
  EXPECT_EQ(buffer_offset_of(base + 4), 5);
  EXPECT_EQ(buffer_offset_of(base + 5), 0);
  EXPECT_EQ(buffer_offset_of("elsewhere"), 0);
  EXPECT_EQ(buffer_address_of(5), base + 4);
}

TEST_F(StringManager, ProducerArgumentInBufferSurvivesItsOwnGrowth) {
  // A 12-byte previous result in the fresh 16-byte buffer: the producer's own
  // reservation must grow (and may move) the buffer under its argument.
  int32_t p = buffer_position();
  append_string("0123456789", p);
  set_buffer_position(p + 11);
  const char* argument = buffer_address_at(p);
  int32_t q = buffer_position();
  append_string(argument, q);
  EXPECT_GT(buffer_capacity(), 16);
  EXPECT_STREQ(buffer_address_at(q), "0123456789");

  // The same with a producer that transforms while it copies.
  set_buffer_position(0);
  std::string big(20000, 'Q');
  append_string(big.c_str(), 0);
  set_buffer_position(int32_t(big.size()) + 1);
  int32_t r = buffer_position();
  lower_case(buffer_address_at(0), r);  // 20000 + 20000 outgrows the capacity
  EXPECT_EQ(take(r), std::string(20000, 'q'));
}

TEST_F(StringManager, ComparisonGlue) {
  EXPECT_EQ(strings_equal(nullptr, ""), 1);
  EXPECT_EQ(strings_equal("a", "A"), 0);
  EXPECT_EQ(string_less("ab", "abc"), 1);
  EXPECT_EQ(string_less("abc", "abc"), 0);
  EXPECT_EQ(string_less("z", "\x80"), 1);
  EXPECT_EQ(string_less("\x80", "z"), 0);
  EXPECT_EQ(character_code("\xff"), -1);
  EXPECT_EQ(character_code(nullptr), 0);
  char digits[40];
  EXPECT_STREQ(decimal_text(255, digits, 16), "ff");
  EXPECT_STREQ(decimal_text(0, digits, 10), "0");
  EXPECT_EQ(decimal_text(5, digits, 37), nullptr);
}

TEST_F(StringManager, FreeStructureStringsWalksNestedArrays) {
  struct Inner {
    char* name;
    int32_t n;
  };
  struct Outer {
    char* title;
    Inner items[3];
  };
  static const LayoutEntry inner_layout[] = {0, LAYOUT_END};
  const LayoutEntry outer_layout[] = {0, LAYOUT_ARRAY, 3, LayoutEntry(offsetof(Outer, items)), LayoutEntry(sizeof(Inner)),
                                      reinterpret_cast<LayoutEntry>(inner_layout), LAYOUT_END};
  Outer outer = {};
  string_new(&outer.title, "t");
  for (Inner& item : outer.items) string_new(&item.name, "n");
  int32_t before = string_blocks_in_use();
  free_structure_strings(&outer, outer_layout);
  EXPECT_EQ(string_blocks_in_use(), before - 4);
}

TEST_F(StringManager, FailedAllocationsNeverWriteAndFailTheOperation) {
  StringVar v = nullptr;
  string_assign(&v, "kept");
  fail_allocations_after(0);
  EXPECT_FALSE(string_assign(&v, "a much longer text that needs a larger block than before"));
  EXPECT_STREQ(v, "kept");
  EXPECT_FALSE(buffer_append(std::string(100, 'x').c_str()));
  EXPECT_EQ(buffer_position(), 0);
  EXPECT_EQ(buffer_reserve(1 << 20, 0), nullptr);
  int32_t p = buffer_position();
  EXPECT_STREQ(append_string(std::string(100, 'y').c_str(), p), "");
  EXPECT_EQ(buffer_position(), p);
  fail_allocations_after(-1);
  EXPECT_TRUE(string_assign(&v, "fine again"));
  EXPECT_EQ(buffer_reserve(0x7FFFFFF0, 0), nullptr);  // too large: refused, not wrapped
  string_free(v);
}
