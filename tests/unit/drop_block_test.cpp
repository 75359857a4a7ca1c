#include "dialogs/drop_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace vantrel;

namespace {

using Bytes = std::vector<unsigned char>;

// A header naming `offset` and the character width, then `names` as given.
Bytes block(uint32_t offset, bool wide, const Bytes& names) {
  Bytes b(20 + names.size(), 0);
  for (int i = 0; i < 4; ++i) b[size_t(i)] = uint8_t(offset >> (8 * i));
  b[16] = wide ? 1 : 0;
  std::copy(names.begin(), names.end(), b.begin() + 20);
  return b;
}

Bytes ansi(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes wide(const std::string& text) {
  Bytes b;
  for (unsigned char c : text) {
    b.push_back(c);
    b.push_back(0);
  }
  return b;
}

// Every name the reader gives, 16-bit ones narrowed (the tests use ASCII).
std::vector<std::string> names_of(const Bytes& b, int64_t* count = nullptr) {
  std::vector<std::string> names;
  int64_t n = read_drop_block(b.data(), b.size(), [](const DropName& name, void* context) {
    auto* list = static_cast<std::vector<std::string>*>(context);
    if (name.ansi) {
      list->emplace_back(name.ansi, name.length);
    } else {
      std::string narrow;
      for (size_t i = 0; i < name.length; ++i) narrow += char(name.wide[2 * i]);
      list->push_back(narrow);
    }
  }, &names);
  if (count) *count = n;
  return names;
}

}  // namespace

TEST(DropBlock, NamesInOrderInBothWidths) {
  using List = std::vector<std::string>;
  EXPECT_EQ(names_of(block(20, false, ansi(std::string("C:\\a.txt\0D:\\b c\0\0", 17)))), (List{"C:\\a.txt", "D:\\b c"}));
  EXPECT_EQ(names_of(block(20, true, wide(std::string("C:\\a\0C:\\b\0\0", 11)))), (List{"C:\\a", "C:\\b"}));
  // Names need not follow the header directly, nor lie at an even offset.
  Bytes odd = block(23, true, Bytes{9, 9, 9});
  Bytes w = wide(std::string("E:\\x\0\0", 6));
  odd.insert(odd.end(), w.begin(), w.end());
  EXPECT_EQ(names_of(odd), List{"E:\\x"});
  int64_t count = -2;
  EXPECT_TRUE(names_of(block(20, false, Bytes{0, 0}), &count).empty());
  EXPECT_EQ(count, 0) << "an empty list is read, not refused";
}

TEST(DropBlock, BlocksThatLieAddNothingOrStopAtTheirEnd) {
  int64_t count = 0;
  // Offsets outside the block, and a block that is its header alone.
  for (uint32_t offset : {0u, 19u, 0x7FFFFFF0u, 0xFFFFFFFFu}) {
    EXPECT_TRUE(names_of(block(offset, false, ansi(std::string("C:\\a\0\0", 6))), &count).empty()) << offset;
    EXPECT_EQ(count, -1) << offset;
  }
  EXPECT_TRUE(names_of(block(20, false, {}), &count).empty());
  EXPECT_EQ(count, -1);
  Bytes short_header(19, 0);
  EXPECT_EQ(read_drop_block(short_header.data(), short_header.size(), nullptr, nullptr), -1);
  EXPECT_EQ(read_drop_block(nullptr, 100, nullptr, nullptr), -1);

  // A last name without its zero is left out, in either width; an odd
  // byte at the end of a 16-bit block is no character.
  EXPECT_EQ(names_of(block(20, false, ansi(std::string("C:\\a\0C:\\unended", 15)))), std::vector<std::string>{"C:\\a"});
  EXPECT_TRUE(names_of(block(20, false, ansi("C:\\unended"))).empty());
  Bytes cut_wide = block(20, true, wide(std::string("C:\\a\0C:\\b", 9)));
  cut_wide.push_back(0);
  EXPECT_EQ(names_of(cut_wide), std::vector<std::string>{"C:\\a"});
  // Names without the final empty one still count up to the block's end.
  EXPECT_EQ(names_of(block(20, false, ansi(std::string("C:\\a\0", 5)))), std::vector<std::string>{"C:\\a"});
}
