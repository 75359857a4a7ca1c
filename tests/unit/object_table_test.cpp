#include "runtime/object_table.h"

#include <vector>

#include "runtime/libraries.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

struct Record {
  uintptr_t handle;
  int32_t extra;
};

ObjectTable* table = nullptr;
std::vector<int32_t> freed;

// Frees like a kind's free routine: release, then free the number.
void free_record(int32_t number) {
  if (!find_object(table, number)) return;
  freed.push_back(number);
  free_object(table, number);
}

Record* make(int32_t number, uintptr_t handle, int32_t* chosen = nullptr) {
  auto* r = static_cast<Record*>(create_object(table, number, chosen));
  if (r) r->handle = handle;
  return r;
}

}  // namespace

class ObjectTables : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    table = new_object_table(sizeof(Record), 16, free_record);
    ASSERT_NE(table, nullptr);
    freed.clear();
  }
};

TEST_F(ObjectTables, GrowsByTheGrowthStepWithZeroedSlots) {
  EXPECT_EQ(table->capacity, 16);
  Record* five = make(5, 0x55);
  EXPECT_EQ(static_cast<void*>(five), table->slots + 5 * sizeof(Record));
  make(20, 0x20);
  EXPECT_EQ(table->capacity, 36);
  EXPECT_EQ(find_record<Record>(table, 5)->handle, 0x55u);
  for (int32_t n = 16; n < 36; ++n) {
    if (n != 20) {
      EXPECT_EQ(find_object(table, n), nullptr) << n;
    }
  }
  EXPECT_EQ(find_object(table, 36), nullptr);
}

TEST_F(ObjectTables, ReusingANumberReleasesTheOldObjectFirst) {
  make(3, 0x1)->extra = 7;
  Record* again = make(3, 0x2);
  EXPECT_EQ(freed, std::vector<int32_t>{3});
  EXPECT_EQ(again->extra, 0);  // a clean record to fill
  EXPECT_EQ(find_record<Record>(table, 3)->handle, 0x2u);
  EXPECT_EQ(make(-5, 0x3), nullptr);  // negative numbers other than OBJECT_ANY
}

TEST_F(ObjectTables, ChosenNumbersNeverCollideAndMapBack) {
  int32_t a = 0, b = 0;
  Record* ra = make(OBJECT_ANY, 0xA, &a);
  Record* rb = make(OBJECT_ANY, 0xB, &b);
  EXPECT_TRUE(freed.empty());  // no callback for chosen numbers
  EXPECT_NE(a, b);
  for (int32_t n : {a, b}) {
    EXPECT_LT(n, -1);
    EXPECT_NE(n, 0);
  }
  EXPECT_EQ(find_object(table, a), ra);
  EXPECT_EQ(find_object(table, b), rb);
  make(1000, 0x1000);  // a larger array does not reach them
  EXPECT_EQ(find_object(table, a), ra);
  EXPECT_TRUE(is_object(table, b));
}

TEST_F(ObjectTables, StaleForgedAndNegativeNumbersYieldNull) {
  int32_t a = 0;
  make(OBJECT_ANY, 0xA, &a);
  free_object(table, a);
  EXPECT_EQ(find_object(table, a), nullptr);
  EXPECT_FALSE(is_object(table, a));
  // The entry is reused for the next object; the old number stays dead.
  int32_t b = 0;
  Record* rb = make(OBJECT_ANY, 0xB, &b);
  EXPECT_NE(a, b);
  EXPECT_EQ(find_object(table, a), nullptr);
  EXPECT_EQ(find_object(table, b), rb);
  free_object(table, a);  // freeing a stale number leaves the live one alone
  EXPECT_EQ(find_object(table, b), rb);
  // Record addresses and arbitrary values are no numbers.
  for (int32_t forged : {int32_t(reinterpret_cast<intptr_t>(rb)), -2, INT32_MIN, -1, 0x7FFFFFFF, b ^ 1, b + (1 << 20)}) {
    EXPECT_EQ(find_object(table, forged), nullptr) << forged;
    free_object(table, forged);
  }
  EXPECT_EQ(find_object(table, b), rb);
}

TEST_F(ObjectTables, EnumerationGivesNumbersAscendingThenChosenInCreationOrder) {
  int32_t a = 0, b = 0, c = 0;
  make(3, 1);
  make(OBJECT_ANY, 1, &a);
  make(1, 1);
  make(OBJECT_ANY, 1, &b);
  make(OBJECT_ANY, 1, &c);
  make(7, 1);
  free_object(table, 7);
  free_object(table, c);
  std::vector<int32_t> order;
  begin_enumeration(table);
  int32_t n;
  while (next_object(table, &n)) order.push_back(n);
  EXPECT_EQ(order, (std::vector<int32_t>{1, 3, a, b}));
  // Stop routines free each object as they meet it.
  free_all_objects(table, free_record);
  EXPECT_EQ(freed, (std::vector<int32_t>{1, 3, a, b}));
  begin_enumeration(table);
  EXPECT_EQ(next_object(table, &n), nullptr);
}

TEST_F(ObjectTables, CreateFailsWithZeroWhenMemoryRunsOut) {
  fail_allocations_after(0);
  int32_t a = 0;
  EXPECT_EQ(make(OBJECT_ANY, 1, &a), nullptr);
  EXPECT_EQ(make(100, 1), nullptr);
  EXPECT_EQ(table->capacity, 16);
  fail_allocations_after(-1);
  EXPECT_EQ(make(0x7FFFFFF0, 1), nullptr);  // capacity would overflow
  EXPECT_NE(make(OBJECT_ANY, 1, &a), nullptr);
}

TEST_F(ObjectTables, LibraryTableReleasesModules) {
  auto* record = static_cast<LibraryRecord*>(create_object(library_table(), 2));
  ASSERT_NE(record, nullptr);
  record->module = LoadLibraryA("comdlg32.dll");
  ASSERT_NE(record->module, nullptr);
  free_library(2);
  EXPECT_EQ(find_object(library_table(), 2), nullptr);
  free_library(2);  // a free number: nothing happens
}
