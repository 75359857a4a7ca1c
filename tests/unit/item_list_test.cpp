#include "dialogs/item_list.h"

#include "runtime/string_functions.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

// The items a list argument gives, split the way the dialogs split it.
std::vector<std::string> split(const char* list) {
  StringVar copy = nullptr;
  string_new(&copy, list);
  std::vector<std::string> out;
  {
    ItemList items(copy);
    EXPECT_TRUE(items.complete());
    int32_t bytes = 0;
    for (int32_t i = 0; i < items.count(); ++i) {
      out.push_back(items.items()[i]);
      bytes += int32_t(out.back().size()) + 1;
    }
    EXPECT_EQ(items.bytes(), bytes);
    EXPECT_EQ(items.count(), count_occurrences(list, "|"));
  }
  string_free(copy);
  return out;
}

}  // namespace

using ItemLists = RuntimeTest;

TEST_F(ItemLists, OneItemPerSeparatorAsTheFieldsReadThem) {
  using Items = std::vector<std::string>;
  EXPECT_EQ(split("Red|Green|Blue|"), (Items{"Red", "Green", "Blue"}));
  EXPECT_EQ(split("Red|Green|Blue"), (Items{"Red", "Green"}));
  EXPECT_EQ(split("a||b|"), (Items{"a", "", "b"}));
  EXPECT_EQ(split("|"), (Items{""}));
  EXPECT_EQ(split("||"), (Items{"", ""}));
  EXPECT_EQ(split(""), Items{});
  EXPECT_EQ(split(nullptr), Items{});
  EXPECT_EQ(split("no separator"), Items{});
  // The same items as reading field i of the list, for every i.
  const char* list = "x|yy||zzz|tail";
  std::vector<std::string> items = split(list);
  for (int32_t i = 0; i < int32_t(items.size()); ++i) {
    int32_t p = buffer_position();
    string_field(list, i + 1, "|", p);
    EXPECT_EQ(take(p), items[size_t(i)]) << i;
  }
}

TEST_F(ItemLists, AListThatCannotBeSplitIsIncomplete) {
  StringVar copy = nullptr;
  string_new(&copy, "a|b|");
  fail_allocations_after(0);
  ItemList items(copy);
  fail_allocations_after(-1);
  EXPECT_FALSE(items.complete());
  string_free(copy);
}

// A list of 2^30 separators would need 4 GiB of pointers: on 32 bits the
// size wraps to a tiny block unless the array allocation refuses it.
TEST_F(ItemLists, ArraySizesThatWrapAreRefused) {
  const size_t wrapping = SIZE_MAX / sizeof(char*) + 1;  // 2^30 pointers on 32 bits
  EXPECT_EQ(general_alloc_array(wrapping, sizeof(char*)), nullptr);
  EXPECT_EQ(general_alloc_array(SIZE_MAX / 2 + 1, 2), nullptr);
  void* block = general_alloc_array(16, sizeof(char*));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(general_realloc_array(block, wrapping, 13 * 4), nullptr);
  void* grown = general_realloc_array(block, 32, sizeof(char*));
  ASSERT_NE(grown, nullptr);
  general_free(grown);
}
