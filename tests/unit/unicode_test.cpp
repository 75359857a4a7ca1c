// Text between the call's code page and the platform's UTF-16: every
// character kept, a broken one replaced alone, and no cut through one.
#include <gtest/gtest.h>

#include <string>

#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

std::string utf8_of(const std::wstring& text) {
  std::string out(utf8_from_utf16(text.data(), text.size(), nullptr), '\0');
  utf8_from_utf16(text.data(), text.size(), &out[0]);
  return out;
}

std::wstring utf16_of(const std::string& text) {
  std::wstring out(utf16_from_utf8(text.data(), text.size(), nullptr), L'\0');
  utf16_from_utf8(text.data(), text.size(), &out[0]);
  return out;
}

}  // namespace

TEST(Utf, EveryCharacterRoundTripsAndMatchesThePlatform) {
  std::wstring all;
  for (char32_t c : {U'A', U'\x7F', U'\x80', U'\x7FF', U'\x800', U'\xD7FF', U'\xE000', U'\xFFFD', U'\xFFFF',
                     U'\x10000', U'\x1F600', U'\x10FFFF'}) {
    if (c >= 0x10000) {
      all += wchar_t(0xD800 + ((c - 0x10000) >> 10));
      all += wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      all += wchar_t(c);
    }
  }
  std::string bytes = utf8_of(all);
  char platform[64];
  int made = WideCharToMultiByte(CP_UTF8, 0, all.c_str(), int(all.size()), platform, sizeof platform, nullptr, nullptr);
  EXPECT_EQ(bytes, std::string(platform, size_t(made)));
  EXPECT_EQ(utf16_of(bytes), all);
}

TEST(Utf, BrokenTextIsReplacedCharacterByCharacter) {
  // Lone surrogates of either half, at either end and between characters.
  EXPECT_EQ(utf8_of(std::wstring(L"a") + wchar_t(0xD800) + L"b" + wchar_t(0xDC00)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(utf8_of(std::wstring(1, wchar_t(0xDBFF)) + wchar_t(0xDBFF) + wchar_t(0xDFFF)),
            "\xEF\xBF\xBD\xF4\x8F\xBF\xBF");
  // Bytes that start no whole, shortest, valid sequence: each one U+FFFD, the rest kept.
  const std::pair<std::string, std::wstring> broken[] = {
      {"a\x80" "b", L"a\xFFFD" L"b"},                      // a stray continuation byte
      {"\xC3", L"\xFFFD"},                                 // a sequence cut at the end
      {"\xE6\x9D" "x", L"\xFFFD\xFFFD" L"x"},              // and in the middle
      {"\xC0\xAF", L"\xFFFD\xFFFD"},                       // an overlong slash
      {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"},             // a surrogate written as UTF-8
      {"\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD"},   // past U+10FFFF
      {"\xFF\xFE", L"\xFFFD\xFFFD"},
  };
  for (const auto& [bytes, expected] : broken) EXPECT_EQ(utf16_of(bytes), expected) << bytes;
}

TEST(Utf, CutsEndWhereAWholeCharacterEnds) {
  const std::string text = "a\xC3\xA9\xE6\x9D\xB1\xF0\x9F\x98\x80z";  // a é 東 😀 z
  const size_t ends[] = {1, 3, 6, 10, 11};
  for (size_t limit = 0; limit <= text.size(); ++limit) {
    size_t cut = utf8_whole_characters(text.data(), text.size(), limit);
    size_t expected = 0;
    for (size_t end : ends)
      if (end <= limit) expected = end;
    EXPECT_EQ(cut, expected) << limit;
  }
  EXPECT_EQ(whole_characters(text.data(), text.size(), 7, CODE_PAGE_UTF8), 6u);
  const wchar_t pair[] = {L'a', 0xD83D, 0xDE00};
  EXPECT_EQ(whole_units(pair, 2), 1u);
  EXPECT_EQ(whole_units(pair, 3), 3u);
}

class CodePage : public RuntimeTest {};

// The call's code page decides the 8-bit side: the ANSI code page (1252
// here) turns what it cannot hold into "?", UTF-8 keeps everything.
TEST_F(CodePage, TextMeetsThePlatformInTheCallsCodePage) {
  const std::wstring every = L"\x00E9\x0416\x6771\xD83D\xDE00";
  {
    TextCodePageScope utf8(CODE_PAGE_UTF8);
    std::string bytes = utf8_of(every);
    EXPECT_EQ(std::wstring(WideText(bytes.c_str()).get()), every);
    int32_t p = buffer_position();
    EXPECT_EQ(std::string(append_wide(every.c_str(), -1, p)), bytes);
    char room[8];
    narrow_text(every.c_str(), -1, room, sizeof room);  // 2 + 2 + 3 bytes fit, the pair does not
    EXPECT_EQ(std::string(room), bytes.substr(0, 7));
    wchar_t start[3];
    EXPECT_EQ(wide_prefix(bytes.c_str(), 3, start), 3u);
    EXPECT_EQ(std::wstring(start, 3), every.substr(0, 3));
    // Short texts convert in the object's own room, longer ones on the heap:
    // every length about the border, ASCII and four-byte characters alike.
    for (const std::wstring& unit : {std::wstring(L"a"), std::wstring(L"\xD83D\xDE00")})
      for (size_t count = 28; count <= 132; ++count) {
        std::wstring text;
        for (size_t i = 0; i < count; ++i) text += unit;
        WideText converted(utf8_of(text).c_str());
        ASSERT_EQ(std::wstring(converted.get()), text) << count;
        ASSERT_EQ(converted.length(), int32_t(text.size())) << count;
      }
  }
  if (GetACP() == 1252) {
    int32_t p = buffer_position();
    EXPECT_EQ(std::string(append_wide(every.c_str(), -1, p)), "\xE9????");  // a pair as two
    EXPECT_EQ(std::wstring(WideText("\xE9").get()), L"\x00E9");
  }
}
