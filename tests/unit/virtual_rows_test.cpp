// Rows that live in their owner's memory: the list asks for them, the
// sorter reorders them by today's comparisons, stably, and the control's
// own messages see them as rows.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "runtime/heaps.h"
#include "runtime/text_code_page.h"
#include "runtime_fixture.h"
#include "sorter/collation.h"
#include "sorter/sort_engine.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

// A source over cells held in vectors; counts its release.
struct Cells : RowSource {
  std::vector<std::vector<std::string>> rows_cells;  // per row, the cells of columns 0, 1, ...
  std::vector<int32_t> places;
  int* released;
  Cells(std::vector<std::vector<std::string>> cells, int* released_count)
      : rows_cells(std::move(cells)), places(rows_cells.size()), released(released_count) {
    for (size_t i = 0; i < places.size(); ++i) places[i] = int32_t(i);
    rows = int32_t(rows_cells.size());
    order = places.data();
    text = [](const RowSource* s, int32_t row, int32_t column, char*) {
      auto& row_cells = static_cast<const Cells*>(s)->rows_cells[size_t(row)];
      return size_t(column) < row_cells.size() ? row_cells[size_t(column)].c_str() : "";
    };
    release = [](RowSource* s) {
      auto* self = static_cast<Cells*>(s);
      ++*self->released;
      delete self;
    };
  }
};

// Many equal keys in every column type's shape.
std::vector<std::vector<std::string>> generated_rows(int count) {
  static const char* words[] = {"apple", "Apple", "APPLE", "banana", "Cherry", "cherry ", "", "z", "Zebra", "a b",
                                "ab",    "a-b",   "\xE9t\xE9", "\xC9T\xC9", "10 KB", "2 MB", "900 b", "1.5 GB",
                                "lemon Tart", "Lemon tarT x", "LEMON TARTS"};
  static const char* dates[] = {"01/02/2020", "02/01/2020", "31/12/1999", "01/02/2020 10:00:00", "15/06/05 08:30:00",
                                "15/06/95 08:30:00", "", "xx"};
  std::vector<std::vector<std::string>> rows;
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  for (int i = 0; i < count; ++i) {
    std::string word = words[next() % 21];
    if (next() % 7 == 0) word += std::string(260, 'q') + char('a' + next() % 3);  // past the sort limit
    rows.push_back({std::to_string(i + 1), word, std::to_string(int(next() % 50) - 25), std::to_string((next() % 40) / 4.0),
                    dates[next() % 8]});
  }
  return rows;
}

size_t busy_blocks(HANDLE heap) {
  size_t count = 0;
  PROCESS_HEAP_ENTRY entry = {};
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++count;
  return count;
}

}  // namespace

class VirtualRows : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "virtual", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
  }
  void TearDown() override {
    close_window(0);
    RuntimeTest::TearDown();
  }
  Cells* make(int rows) { return make(generated_rows(rows)); }
  Cells* make(std::vector<std::vector<std::string>> rows) {
    auto* cells = new Cells(std::move(rows), &released);
    if (!create_virtual_list_icon_gadget(3, 5, 5, 390, 250, "Row", 0, 0x50000008, cells)) return nullptr;
    for (int c = 1; c <= 4; ++c) add_gadget_column(3, c, "c", 60);
    show_list_icon_rows(3);
    return cells;
  }
  std::string item_text(int row, int column) {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(gadget_handle(3), LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  HWND window = nullptr;
  int released = 0;
};

// The order after each sort is a stable sort of the order before it by
// today's comparison of the column's cells (their first 254 characters).
TEST_F(VirtualRows, EverySortIsTheStableSortByTheColumnsRules) {
  Cells* cells = make(20000);
  ASSERT_NE(cells, nullptr);
  ASSERT_EQ(sorter_register(3, ARROWS_IMAGE_LEFT), SORTER_DONE);
  struct Case {
    int column;
    int8_t type;
  };
  const Case cases[] = {{1, SORT_TEXT_NOCASE}, {1, SORT_TEXT_CASE}, {2, SORT_INTEGER},     {2, SORT_INTEGER64},
                        {3, SORT_FLOAT},       {3, SORT_DOUBLE},    {1, SORT_FILE_SIZE},   {4, SORT_DATE_DMY},
                        {4, SORT_DATE_MDY},    {4, SORT_DATETIME_DMY}, {4, SORT_DATETIME_DMY2}, {0, SORT_TEXT_NOCASE}};
  for (const Case& c : cases) {
    for (int direction : {1, -1}) {
      std::vector<int32_t> expected = cells->places;
      auto limited = [&](int32_t row) { return cells->rows_cells[size_t(row)][size_t(c.column)].substr(0, SORT_TEXT_LIMIT); };
      std::stable_sort(expected.begin(), expected.end(), [&](int32_t a, int32_t b) {
        return compare_cell_texts(c.type, limited(a).c_str(), limited(b).c_str()) * direction < 0;
      });
      ASSERT_EQ(sorter_set_column_type(3, c.column, c.type), SORTER_DONE);
      ASSERT_EQ(sorter_sort_column(3, c.column, direction), SORTER_DONE);
      ASSERT_EQ(cells->places, expected) << "column " << c.column << " type " << int(c.type) << " direction "
                                         << direction;
    }
  }
  EXPECT_EQ(count_gadget_items(3), 20000);
}

// The control's own messages see the rows as the order places them; the
// chosen row stays chosen through a sort; the rows go with the list.
TEST_F(VirtualRows, CellsSelectionAndRelease) {
  Cells* cells = make(300);
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(SendMessageA(gadget_handle(3), LVM_GETITEMCOUNT, 0, 0), 300);
  EXPECT_EQ(item_text(5, 0), "6");
  int32_t p = buffer_position();
  EXPECT_EQ(std::string(get_gadget_item_text(3, 5, 1, p)), cells->rows_cells[5][1]);
  set_buffer_position(p);
  EXPECT_EQ(item_text(299, 9), "") << "a column the rows lack";

  set_gadget_state(3, 7);
  LVITEMA focus = {};
  focus.stateMask = focus.state = LVIS_FOCUSED;
  SendMessageA(gadget_handle(3), LVM_SETITEMSTATE, 11, reinterpret_cast<LPARAM>(&focus));
  ASSERT_EQ(sorter_register(3, ARROWS_IMAGE_LEFT), SORTER_DONE);
  sorter_set_column_type(3, 2, SORT_INTEGER);
  // The rows' order is their owner's: no record per row is made, to be lost
  // with the list (a million rows lost 34 MB so), by a sort or by a row's data.
  size_t blocks = busy_blocks(general_heap());
  sorter_sort_column(3, 2, -1);
  set_gadget_item_data(3, 4, 9);
  EXPECT_LT(busy_blocks(general_heap()), blocks + 30);
  int32_t selected = get_gadget_state(3);
  ASSERT_GE(selected, 0);
  EXPECT_EQ(cells->places[size_t(selected)], 7) << "the chosen row lost its choice in the sort";
  EXPECT_EQ(SendMessageA(gadget_handle(3), LVM_GETSELECTEDCOUNT, 0, 0), 1) << "the selection stayed behind as well";
  auto focused = SendMessageA(gadget_handle(3), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED);
  ASSERT_GE(focused, 0);
  EXPECT_EQ(cells->places[size_t(focused)], 11) << "the focus did not follow its row";
  EXPECT_EQ(item_text(selected, 0), "8");

  // Type-to-find reads the source: the first row in the order whose column starts so.
  int32_t found = find_row_starting_with(gadget_handle(3), 1, L"BAN", 3, 0, 300);
  ASSERT_GE(found, 0);
  EXPECT_EQ(cells->rows_cells[size_t(cells->places[size_t(found)])][1].substr(0, 6), "banana");
  for (int32_t place = 0; place < found; ++place)
    EXPECT_NE(cells->rows_cells[size_t(cells->places[size_t(place)])][1].substr(0, 3), "ban");

  EXPECT_EQ(released, 0);
  close_window(0);
  EXPECT_EQ(released, 1) << "the rows did not go with the list";
}

// In a wide call, case-blind text columns order as the platform's Unicode
// comparison for the user's locale does, stably: columns of letters and
// digits, of characters it ranks apart from the library's own order (":",
// "_"), of characters it ignores or weighs apart (hyphens, apostrophes),
// and of non-ASCII text each take their own way there.
TEST_F(VirtualRows, WideCallsSortTextAsThePlatformDoes) {
  const std::vector<std::pair<std::string, Collation>> alphabets = {
      {"aAbBzZ019 ", Collation::Folded},
      {"aB9:_.,/ ", Collation::Ranked},
      {"aAb-'e ", Collation::SortKeys},
      {"a\xC3\xA1" "b\xC3\x9F" "e\xC3\xA9z\xD0\xB0\xD0\x91\xE6\x9D\xB1 ", Collation::SortKeys}};
  TextCodePageScope utf8(CODE_PAGE_UTF8);
  for (const auto& [alphabet, way] : alphabets) {
    // Only what the platform's order needs is asked of it: a column of
    // letters, digits and spaces keeps the library's own keys.
    SeenBytes seen;
    seen.note(alphabet.c_str());
    EXPECT_EQ(collation_for(seen), way) << alphabet;
    // The alphabet's characters, each whole.
    std::vector<std::string> characters;
    for (size_t at = 0; at < alphabet.size();) {
      size_t length = (alphabet[at] & 0x80) == 0 ? 1 : (alphabet[at] & 0xE0) == 0xC0 ? 2 : 3;
      characters.push_back(alphabet.substr(at, length));
      at += length;
    }
    std::vector<std::vector<std::string>> rows;
    unsigned seed = 99;
    // Platform keys are made on every processor, for a share of 16,384 rows or more each.
    const int count = way == Collation::SortKeys ? 40000 : 3000;
    for (int i = 0; i < count; ++i) {
      std::string text;
      for (unsigned n = (seed = seed * 1103515245u + 12345u) >> 28; n > 0; --n)
        text += characters[((seed = seed * 1103515245u + 12345u) >> 8) % characters.size()];
      rows.push_back({std::to_string(i + 1), text});
    }
    auto wide = [](const std::string& text) {
      std::wstring out(text.size(), L'\0');
      out.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], int(out.size()))));
      return out;
    };
    Cells* cells = make(rows);
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(sorter_register(3, ARROWS_IMAGE_LEFT), SORTER_DONE);
    for (int direction : {1, -1}) {
      std::vector<int32_t> expected = cells->places;
      std::stable_sort(expected.begin(), expected.end(), [&](int32_t a, int32_t b) {
        std::wstring x = wide(rows[size_t(a)][1]), y = wide(rows[size_t(b)][1]);
        int order = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.c_str(), int(x.size()), y.c_str(),
                                   int(y.size())) - CSTR_EQUAL;
        return order * direction < 0;
      });
      ASSERT_EQ(sorter_sort_column(3, 1, direction), SORTER_DONE);
      ASSERT_EQ(cells->places, expected) << "alphabet \"" << alphabet << "\" direction " << direction;
    }
    close_window(0);
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "virtual", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
  }
}
