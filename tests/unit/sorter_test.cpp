#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime_fixture.h"
#include "sorter/sort_engine.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/graphics/images.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }
int order(int8_t type, const char* a, const char* b) { return sign(compare_cell_texts(type, a, b)); }

}  // namespace

using SortKeys = RuntimeTest;

TEST_F(SortKeys, NumbersAndTexts) {
  std::vector<std::string> numbers = {"10", "9", "abc", "-1"};
  std::stable_sort(numbers.begin(), numbers.end(),
                   [](const std::string& a, const std::string& b) { return order(SORT_INTEGER, a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(numbers, (std::vector<std::string>{"-1", "abc", "9", "10"}));
  EXPECT_EQ(order(SORT_INTEGER, "+7 apples", "7"), 0);
  EXPECT_EQ(order(SORT_INTEGER64, "9000000000", "8999999999"), 1);
  EXPECT_EQ(order(SORT_FLOAT, "1.5", "1.25"), 1);
  EXPECT_EQ(order(SORT_DOUBLE, "-0.5", "x"), -1);
  EXPECT_EQ(order(SORT_TEXT_NOCASE, "abc", "ABC"), 0);
  EXPECT_EQ(order(SORT_TEXT_CASE, "ABC", "abc"), -1);
  EXPECT_EQ(order(99, "b", "A"), 1) << "unknown codes sort as text without case";
  EXPECT_EQ(order(SORT_CHAR_TABLE, "a", "z"), 0);
  EXPECT_EQ(order(SORT_CALLBACK, "a", "z"), 0);
}

TEST_F(SortKeys, FileSizesAndTheirUnits) {
  EXPECT_FLOAT_EQ(size_value("1,5 Mb"), 1048576.0f);
  EXPECT_FLOAT_EQ(size_value("2 KB"), 2048.0f);
  EXPECT_FLOAT_EQ(size_value("700"), 700.0f);
  EXPECT_FLOAT_EQ(size_value("3 GiB"), 3.0f);
  EXPECT_FLOAT_EQ(size_value("  4 go  "), 4.0f * 1073741824.0f);
  EXPECT_FLOAT_EQ(size_value("1 o"), 1.0f);
  EXPECT_FLOAT_EQ(size_value("1 mo"), 1048576.0f);
  EXPECT_FLOAT_EQ(size_value("1 gb"), 1073741824.0f);
  EXPECT_FLOAT_EQ(size_value("3 ko"), 3072.0f);
  EXPECT_EQ(order(SORT_FILE_SIZE, "1 kb", "1000 b"), 1);
  EXPECT_EQ(order(SORT_FILE_SIZE, "1 kb", "2 ko"), -1);
  EXPECT_EQ(order(SORT_FILE_SIZE, "5", "5 b"), 0);
  EXPECT_EQ(last_position("a b c", " ", 1), 4);
  EXPECT_EQ(last_position("abc", " ", 1), 0);
}

TEST_F(SortKeys, DateKeysAndTheTwoDigitYearPivot) {
  auto key = [](const char* (*make)(const char*, int32_t), const char* text) {
    int32_t p = buffer_position();
    make(text, p);
    return take(p);
  };
  EXPECT_EQ(key(date_key_dmy, "07/03/2024"), "20240307");
  EXPECT_EQ(key(date_key_mdy, "03/07/2024"), "20240307");
  EXPECT_EQ(key(date_key_dmy_time, "07/03/2024 10:20:30"), "2024030710:20:30");
  EXPECT_EQ(key(date_key_dmy2_time, "07/03/24 10:20"), "124030710:20");
  EXPECT_EQ(key(date_key_dmy2_time, "07/03/95 10:20"), "095030710:20");
  EXPECT_EQ(key(date_key_dmy, "7/3"), "7/37/");  // short texts give short keys
  EXPECT_EQ(order(SORT_DATE_MDY, "12/31/2000", "01/01/2001"), -1);
  EXPECT_EQ(order(SORT_DATE_DMY, "31/12/2000", "01/01/2001"), -1);
  EXPECT_EQ(order(SORT_DATETIME_DMY, "01/01/2001 10:00:01", "01/01/2001 10:00:00"), 1);
  EXPECT_EQ(order(SORT_DATETIME_DMY2, "01/01/29 10:00", "31/12/99 23:59"), 1);
  EXPECT_EQ(order(SORT_DATETIME_DMY2, "01/01/30 00:00", "31/12/99 23:59"), -1);
}

class Sorter : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "sorter", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    ASSERT_NE(create_list_icon_gadget(3, 5, 5, 390, 250, "Name", 120, 0x50000008), 0);
    add_gadget_column(3, 1, "Size", 80);
    list = gadget_handle(3);
  }
  void add_rows(const std::vector<std::string>& rows) {
    for (const std::string& row : rows) add_gadget_item(3, -1, row.c_str());
  }
  std::vector<std::string> column(int32_t c) {
    std::vector<std::string> texts;
    for (int32_t row = 0; row < count_gadget_items(3); ++row) {
      int32_t p = buffer_position();
      get_gadget_item_text(3, row, c, p);
      texts.push_back(take(p));
    }
    return texts;
  }
  std::string title(int32_t c) {
    int32_t p = buffer_position();
    get_column_title(list, c, p);
    return take(p);
  }
  HBITMAP header_bitmap(int32_t c) {
    HDITEMA item = {};
    item.mask = HDI_BITMAP | HDI_FORMAT;
    SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMA, WPARAM(c),
                 reinterpret_cast<LPARAM>(&item));
    return (item.fmt & HDF_BITMAP) ? item.hbm : nullptr;
  }
  void expect_rows_numbered() {
    const GadgetOperations* ops = find_gadget(3)->operations;
    for (int32_t row = 0; row < count_gadget_items(3); ++row)
      ASSERT_EQ(ops->get_item_data(find_gadget(3), row), row) << "row " << row;
  }
  void click_header(int32_t c) { click_list_header(window, list, c); }
  HWND window = nullptr;
  HWND list = nullptr;
};

TEST_F(Sorter, ClicksAlternateAndANewColumnStartsAscending) {
  add_rows({"b\n2 kb", "c\n1000 b", "a\n5 mb"});
  ASSERT_EQ(sorter_register(3, ARROWS_TEXT), SORTER_DONE);
  ASSERT_EQ(sorter_set_column_type(3, 1, SORT_FILE_SIZE), SORTER_DONE);
  click_header(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(title(0), "\xAB Name \xBB");
  click_header(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_EQ(title(0), "\xBB Name \xAB");
  click_header(0);
  EXPECT_EQ(column(0), (std::vector<std::string>{"a", "b", "c"}));
  click_header(1);
  EXPECT_EQ(column(1), (std::vector<std::string>{"1000 b", "2 kb", "5 mb"}));
  EXPECT_EQ(title(0), "Name") << "the old column's plain title is back";
  EXPECT_EQ(title(1), "\xAB Size \xBB");
  expect_rows_numbered();
  // Rows that go in or out keep every row's data equal to its index.
  add_gadget_item(3, 0, "new\n1 b");
  expect_rows_numbered();
  find_gadget(3)->operations->remove_item(find_gadget(3), 2);
  expect_rows_numbered();
  sorter_set_column_type(3, 0, SORT_NONE);
  std::vector<std::string> before = column(0);
  click_header(0);
  EXPECT_EQ(column(0), before) << "a SORT_NONE column sorted";
}

TEST_F(Sorter, AGivenDirectionArrowImagesAndResultCodes) {
  add_rows({"2\nx", "10\ny", "1\nz"});
  EXPECT_EQ(sorter_sort_column(3, 0, 1), SORTER_NOT_REGISTERED);
  ASSERT_EQ(sorter_register(3, ARROWS_IMAGE_LEFT), SORTER_DONE);
  ASSERT_EQ(sorter_set_column_type(3, 0, SORT_INTEGER), SORTER_DONE);
  EXPECT_EQ(sorter_sort_column(3, 0, -1), SORTER_DONE);
  EXPECT_EQ(column(0), (std::vector<std::string>{"10", "2", "1"}));
  ASSERT_NE(sorter_arrow(false), nullptr);
  EXPECT_EQ(header_bitmap(0), sorter_arrow(false));
  click_header(0);  // after a given descending sort, the click ascends
  EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "10"}));
  EXPECT_EQ(header_bitmap(0), sorter_arrow(true));
  click_header(1);
  EXPECT_EQ(header_bitmap(0), nullptr) << "the arrow stayed on the old column";
  EXPECT_EQ(header_bitmap(1), sorter_arrow(true));
  EXPECT_EQ(sorter_column_count(3), 2);
  EXPECT_EQ(sorter_column_count(9), 0);
  EXPECT_EQ(sorter_set_column_type(3, 256, 0), SORTER_BAD_COLUMN);
  EXPECT_EQ(sorter_set_column_type(3, -1, 0), SORTER_BAD_COLUMN);
  EXPECT_EQ(sorter_set_column_type(9, 0, 0), SORTER_NO_GADGET);
  EXPECT_EQ(sorter_sort_column(9, 0, 1), SORTER_NO_GADGET);
  EXPECT_EQ(sorter_register(9, 0), SORTER_NO_GADGET);
  create_button_gadget(5, 0, 0, 10, 10, "b");
  EXPECT_EQ(sorter_set_column_type(5, 0, 0), SORTER_NOT_REGISTERED);
  // An empty list: done, nothing marked.
  find_gadget(3)->operations->clear_items(find_gadget(3));
  clear_header_image(list, 1);
  EXPECT_EQ(sorter_sort_column(3, 1, 1), SORTER_DONE);
  EXPECT_EQ(header_bitmap(1), nullptr);
}

// Equal keys keep their order within one sort, ascending and descending,
// exactly as a stable sort of the same keys orders them.
TEST_F(Sorter, TwentyThousandRowsWithManyEqualKeysSortStably) {
  const int32_t rows = 20000;
  std::vector<std::pair<std::string, int>> expected;  // key text, original row
  hold_list_icon_drawing(3, true, rows);
  for (int32_t i = 0; i < rows; ++i) {
    std::string key = std::to_string((i * 7919) % 37);
    add_gadget_item(3, -1, (key + "\n" + std::to_string(i)).c_str());
    expected.push_back({key, i});
  }
  hold_list_icon_drawing(3, false);
  ASSERT_EQ(sorter_register(3, ARROWS_NONE), SORTER_DONE);
  for (int8_t type : {int8_t(SORT_INTEGER), int8_t(SORT_TEXT_NOCASE), int8_t(SORT_DOUBLE)}) {
    for (int32_t direction : {1, -1}) {
      sorter_set_column_type(3, 0, type);
      // From the original order each time, so both sorts start alike.
      std::vector<std::string> ids = column(1);
      std::vector<std::pair<std::string, int>> want = expected;
      std::vector<std::string> keys = column(0);
      for (int32_t r = 0; r < rows; ++r) want[r] = {keys[r], std::stoi(ids[r])};
      std::stable_sort(want.begin(), want.end(), [&](const auto& a, const auto& b) {
        return compare_cell_texts(type, a.first.c_str(), b.first.c_str()) * direction < 0;
      });
      ASSERT_EQ(sorter_sort_column(3, 0, direction), SORTER_DONE);
      std::vector<std::string> got = column(1);
      for (int32_t r = 0; r < rows; ++r)
        ASSERT_EQ(got[r], std::to_string(want[r].second)) << "type " << int(type) << " direction " << direction << " row " << r;
      expect_rows_numbered();
    }
  }
}

TEST_F(Sorter, AFilterTextFindsItsRow) {
  for (int i = 0; i < 100; ++i) add_gadget_item(3, -1, ("row " + std::to_string(i) + "\nx").c_str());
  sorter_register(3, ARROWS_NONE);
  find_row_by_text(list, "no such row", 0);
  EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(get_gadget_state(3), -1);
  find_row_by_text(list, "row 27", 0);
  EXPECT_EQ(get_gadget_item_state(3, 27) & 1, 1);
  EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 27);
}

TEST_F(Sorter, StopGivesTheWatchedWindowsTheirProceduresBack) {
  add_rows({"a\n1"});
  WNDPROC list_procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC));
  WNDPROC window_procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  sorter_register(3, ARROWS_TEXT);
  EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC)), list_procedure);
  sorter_stop();
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC)), list_procedure);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), window_procedure);
  ASSERT_TRUE(sorter_start());
}

// The header clicked as a person clicks it, with the mouse.
TEST_F(Sorter, RealHeaderClicksSortAscendingThenDescending) {
  add_rows({"pear\n1", "apple\n2", "fig\n3"});
  ASSERT_EQ(sorter_register(3, ARROWS_TEXT), SORTER_DONE);
  SetForegroundWindow(window);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT item;
  SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  POINT at = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
  ClientToScreen(header, &at);
  auto click = [&] {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    DWORD flags[3] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
      inputs[i].type = INPUT_MOUSE;
      inputs[i].mi.dx = LONG((at.x * 65536 + width / 2) / width);
      inputs[i].mi.dy = LONG((at.y * 65536 + height / 2) / height);
      inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    SendInput(3, inputs, sizeof(INPUT));
    DWORD start = GetTickCount();
    while (GetTickCount() - start < GetDoubleClickTime() + 150) wait_event(20);
  };
  click();
  EXPECT_EQ(column(0), (std::vector<std::string>{"apple", "fig", "pear"}));
  click();
  EXPECT_EQ(column(0), (std::vector<std::string>{"pear", "fig", "apple"}));
  EXPECT_EQ(title(0), "\xBB Name \xAB");
}

TEST_F(Sorter, StopTakesTheArrowOffTheHeaderBeforeItGoes) {
  add_rows({"b\n1", "a\n2"});
  sorter_register(3, ARROWS_IMAGE_RIGHT);
  click_header(0);
  ASSERT_EQ(header_bitmap(0), sorter_arrow(true));
  sorter_stop();
  EXPECT_EQ(header_bitmap(0), nullptr) << "the header still shows an arrow that is about to be deleted";
  ASSERT_TRUE(sorter_start());
}
