#include "runtime/string_functions.h"

#include "runtime_fixture.h"

using namespace vantrel;

using StringFunctions = RuntimeTest;

TEST(ParseInteger, BlanksSignsAndWrapAround) {
  EXPECT_EQ(parse_integer(nullptr), 0);
  EXPECT_EQ(parse_integer(""), 0);
  EXPECT_EQ(parse_integer("\t +42abc"), 42);
  EXPECT_EQ(parse_integer("  -7"), -7);
  EXPECT_EQ(parse_integer("- 5"), 0);
  EXPECT_EQ(parse_integer("--5"), 0);
  EXPECT_EQ(parse_integer("+-5"), 0);
  EXPECT_EQ(parse_integer("007"), 7);
  EXPECT_EQ(parse_integer("12px"), 12);
  EXPECT_EQ(parse_integer("2147483648"), INT32_MIN);
  EXPECT_EQ(parse_integer("4294967297"), 1);
  EXPECT_EQ(parse_integer("-2147483648"), INT32_MIN);
  EXPECT_EQ(parse_integer64("9223372036854775808"), INT64_MIN);
  EXPECT_EQ(parse_integer64(" -4294967296"), -4294967296LL);
  EXPECT_DOUBLE_EQ(parse_float("2.5e1x"), 25.0);
  EXPECT_EQ(parse_float(nullptr), 0.0);
}

TEST(SearchAndCount, Boundaries) {
  EXPECT_EQ(find_string("abcabc", "c", 4), 6);
  EXPECT_EQ(find_string("abc", "c", 0), 3);
  EXPECT_EQ(find_string("abc", "c", 3), 3);
  EXPECT_EQ(find_string("abc", "c", 4), 0);
  EXPECT_EQ(find_string("abc", "", 1), 0);
  EXPECT_EQ(find_string(nullptr, "a", 1), 0);
  EXPECT_EQ(find_string("abc", "bcd", 1), 0);
  EXPECT_EQ(count_occurrences("a|b|c", "|"), 2);
  EXPECT_EQ(count_occurrences("", "|"), 0);
  EXPECT_EQ(count_occurrences("abc", ""), 0);
  EXPECT_EQ(count_occurrences(nullptr, "|"), 0);
  EXPECT_EQ(count_occurrences("aaaa", "aa"), 2);
  EXPECT_EQ(count_occurrences("aaa", "aa"), 1);
  EXPECT_LT(compare_text("abc", "ABD", 1), 0);
  EXPECT_EQ(compare_text("abc", "ABC", 1), 0);
  EXPECT_GT(compare_text("abc", "ABC", 0), 0);
}

TEST(CopyTo, LimitsAndNull) {
  char out[8] = "xxxxxxx";
  EXPECT_EQ(copy_string_to(out, nullptr), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(copy_string_limited(out, "abcdef", 3), 3);
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(copy_string_limited(out, "ab", 5), 2);
  EXPECT_STREQ(out, "ab");
}

TEST_F(StringFunctions, FieldsSplitAtTheFirstSeparatorByte) {
  auto field = [](const char* text, int32_t index, const char* separator) {
    int32_t p = buffer_position();
    int32_t length = string_field(text, index, separator, p);
    std::string result = take(p);
    EXPECT_EQ(length, int32_t(result.size()));
    return result;
  };
  EXPECT_EQ(field("a|b|c", 2, "|"), "b");
  EXPECT_EQ(field("a|b|c", 0, "|"), "a");
  EXPECT_EQ(field("a|b|c", 3, "|"), "c");
  EXPECT_EQ(field("a|b|c", 4, "|"), "");
  EXPECT_EQ(field("a||c", 2, "|"), "");
  EXPECT_EQ(field("a|b|", 3, "|"), "");
  EXPECT_EQ(field("|a", 1, "|"), "");
  EXPECT_EQ(field("a;b", 1, ";x"), "a");
  EXPECT_EQ(field("a;b", 1, ""), "a;b");
  EXPECT_EQ(field("a;b", 2, ""), "");
  EXPECT_EQ(field(nullptr, 1, "|"), "");
}

TEST_F(StringFunctions, CuttingProducers) {
  int32_t p = buffer_position();
  mid_string("abcdef", 3, 2, p);
  EXPECT_EQ(take(p), "cd");
  mid_string("abcdef", 0, 2, p);
  EXPECT_EQ(take(p), "ab");
  mid_string("abc", 5, 2, p);
  EXPECT_EQ(take(p), "");
  mid_string("abc", 2, -1, p);
  EXPECT_EQ(take(p), "");
  mid_string("abc", 2, 0x7FFFFFFF, p);  // a huge length asks for no huge room
  EXPECT_EQ(take(p), "bc");
  left_string("abc", 10, p);
  EXPECT_EQ(take(p), "abc");
  left_string("abc", 0, p);
  EXPECT_EQ(take(p), "");
  right_string("abc", 2, p);
  EXPECT_EQ(take(p), "bc");
  right_string("abc", -1, p);
  EXPECT_EQ(take(p), "");
  append_string_limited("abc", -3, p);
  EXPECT_EQ(take(p), "");
  trim_string("  a b  ", p);
  EXPECT_EQ(take(p), "a b");
  trim_string("    ", p);
  EXPECT_EQ(take(p), "");
  trim_string("\ta ", p);
  EXPECT_EQ(take(p), "\ta");
  space_string(3, p);
  EXPECT_EQ(take(p), "   ");
  space_string(-3, p);
  EXPECT_EQ(take(p), "");
  character_string(0x141, p);
  EXPECT_EQ(take(p), "A");
}

TEST_F(StringFunctions, NumbersToText) {
  int32_t p = buffer_position();
  for (auto [value, text] : {std::pair<int32_t, const char*>{0, "0"}, {-1, "-1"},
                             {INT32_MIN, "-2147483648"}, {INT32_MAX, "2147483647"}, {1200, "1200"}}) {
    number_to_string(value, p);
    EXPECT_EQ(take(p), text);
  }
}

TEST_F(StringFunctions, LowerCaseFoldsAsciiAndLatinCapitalsOnly) {
  int32_t p = buffer_position();
  lower_case("AbZ\xC0\xC9\xD7\xDE\xDF\xE0[", p);
  EXPECT_EQ(take(p), "abz\xE0\xE9\xF7\xFE\xDF\xE0[");
}

TEST_F(StringFunctions, ProducersChainBehindEachOther) {
  int32_t p = buffer_position();
  append_string("width=", p);
  number_to_string(300, buffer_position());
  append_string("px", buffer_position());
  StringVar v = nullptr;
  ASSERT_TRUE(string_take(&v, p));
  EXPECT_STREQ(v, "width=300px");
  EXPECT_EQ(buffer_position(), p);
  string_free(v);
}
