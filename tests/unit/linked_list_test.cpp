#include "runtime/linked_list.h"

#include "runtime_fixture.h"

using namespace vantrel;

namespace {

struct Item {
  int32_t value;
  char* name;
};
const LayoutEntry item_layout[] = {LayoutEntry(offsetof(Item, name)), LAYOUT_END};

Item* add(List* list, int32_t value) {
  Item* item = static_cast<Item*>(element_data(list_add(list)));
  item->value = value;
  string_new(&item->name, "name");
  return item;
}

std::vector<int32_t> values(List* list) {
  std::vector<int32_t> out;
  list_reset(list);
  while (ListElement* e = list_next(list)) out.push_back(static_cast<Item*>(element_data(e))->value);
  return out;
}

}  // namespace

class LinkedList : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    ASSERT_NE(list_new(&list, sizeof(Item), item_layout), nullptr);
  }
  void TearDown() override {
    list_free(&list);
    RuntimeTest::TearDown();
  }
  List list = {};
};

TEST_F(LinkedList, WalkAndInsertAfterCurrent) {
  EXPECT_EQ(list_next(&list), nullptr);
  add(&list, 1);
  add(&list, 3);
  list_reset(&list);
  list_next(&list);
  add(&list, 2);  // after element 1
  EXPECT_EQ(list.header->index, 2);
  EXPECT_EQ(values(&list), (std::vector<int32_t>{1, 2, 3}));
  // Past the end: null, and the last element stays current.
  EXPECT_EQ(list_next(&list), nullptr);
  EXPECT_EQ(static_cast<Item*>(element_data(list.current))->value, 3);
  EXPECT_EQ(list.header->index, 3);
  list_reset(&list);
  add(&list, 0);  // nothing current: at the front
  EXPECT_EQ(values(&list), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(list_count(&list), 4);
}

TEST_F(LinkedList, DeleteDuringForwardWalkFreesStringsAndGoesOn) {
  for (int32_t v = 1; v <= 5; ++v) add(&list, v);
  int32_t blocks = string_blocks_in_use();
  std::vector<int32_t> seen;
  list_reset(&list);
  while (ListElement* e = list_next(&list)) {
    int32_t v = static_cast<Item*>(element_data(e))->value;
    seen.push_back(v);
    if (v % 2 == 1) list_delete(&list);  // the first one among them
    if (v == 1) {
      EXPECT_EQ(list.current, nullptr);
    }
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(values(&list), (std::vector<int32_t>{2, 4}));
  EXPECT_EQ(list_count(&list), 2);
  EXPECT_EQ(list.header->last, list.header->first->next);
  EXPECT_EQ(string_blocks_in_use(), blocks - 3);
  list_clear(&list);
  EXPECT_EQ(list_count(&list), 0);
  EXPECT_EQ(list.header->first, nullptr);
  EXPECT_EQ(list.header->last, nullptr);
  EXPECT_EQ(string_blocks_in_use(), blocks - 5);
}

TEST_F(LinkedList, AddFailsCleanlyWithoutMemory) {
  add(&list, 1);
  fail_allocations_after(0);
  EXPECT_EQ(list_add(&list), nullptr);
  fail_allocations_after(-1);
  EXPECT_EQ(list_count(&list), 1);
}
