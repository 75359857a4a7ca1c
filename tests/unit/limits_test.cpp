// Reads into room of a fixed size, with texts exactly at the limit and one
// past it: the text comes back whole (or cut at the limit), and not one
// byte past the room is written. The bytes after the room in the shared
// buffer are filled with a canary before each read and checked after it.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime_fixture.h"
#include "sorter/sort_keys.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

constexpr unsigned char CANARY = 0xCD;
constexpr int32_t CANARY_SPAN = 64;

// The shared buffer from `at`: `room` bytes the read may use, then a canary.
class GuardedRoom {
 public:
  GuardedRoom(int32_t at, int32_t room) : at_(at), room_(room) {
    char* block = buffer_reserve(room + CANARY_SPAN, at);
    memset(block, CANARY, size_t(room + CANARY_SPAN));
    set_buffer_position(at);
  }
  // The canary after the room is whole (the buffer may have moved: it is looked up again).
  bool intact() const {
    const unsigned char* after = reinterpret_cast<const unsigned char*>(buffer_address_at(at_ + room_));
    for (int32_t i = 0; i < CANARY_SPAN; ++i)
      if (after[i] != CANARY) return false;
    return true;
  }

 private:
  int32_t at_, room_;
};

class Limits : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 500, 400, "limits", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
  }
  // The text read by `read` at the buffer's position, with its room guarded.
  template <typename Read>
  std::string guarded_read(int32_t room, Read read, bool* intact) {
    int32_t p = buffer_position();
    GuardedRoom guard(p, room);
    read(p);
    *intact = guard.intact();
    return take(p);
  }
  HWND window = nullptr;
};

}  // namespace

// Header titles are read into 4,096 bytes: 4,095 characters and the zero.
TEST_F(Limits, HeaderTitlesAtTheirRoom) {
  constexpr int32_t LIST = 3, ROOM = 4096;
  ASSERT_NE(create_list_icon_gadget(LIST, 5, 5, 490, 300, "First", 100), 0);
  for (int32_t length : {ROOM - 1, ROOM, ROOM + 1}) {
    SCOPED_TRACE(length);
    std::string title(size_t(length), 'T');
    add_gadget_column(LIST, 1, title.c_str(), 50);
    bool intact = false;
    std::string read = guarded_read(ROOM, [&](int32_t p) { get_gadget_item_text(LIST, -1, 1, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the header's room";
    EXPECT_EQ(read, title.substr(0, ROOM - 1));
  }
}

// A cell is read into room for the longest text the list was given and its
// zero: a cell that long comes back whole, in no more room.
TEST_F(Limits, CellsAtTheLongestLength) {
  constexpr int32_t LIST = 3;
  ASSERT_NE(create_list_icon_gadget(LIST, 5, 5, 490, 300, "Name", 200), 0);
  for (int32_t length : {1, 254, 255, 4096, 10000}) {
    SCOPED_TRACE(length);
    std::string text(size_t(length), 'c');
    add_gadget_item(LIST, -1, text.c_str());
    int32_t row = int32_t(SendMessageA(gadget_handle(LIST), LVM_GETITEMCOUNT, 0, 0)) - 1;
    bool intact = false;
    std::string read = guarded_read(length + 1, [&](int32_t p) { get_gadget_item_text(LIST, row, 0, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the longest text's room";
    EXPECT_EQ(read, text);
  }
}

// A line of the editor is read by EM_GETLINE into room for its own length
// (in ANSI bytes), the size word and the zero; a line ended by its break
// comes back without it.
TEST_F(Limits, EditorLinesOfEveryLength) {
  constexpr int32_t EDITOR = 1;
  ASSERT_NE(create_editor_gadget(EDITOR, 5, 5, 490, 300), 0);
  for (int32_t length : {0, 1, 2, 3, 254, 255, 1024, 65534, 65535, 70000}) {
    SCOPED_TRACE(length);
    std::string line(size_t(length), 'e');
    set_gadget_text(EDITOR, (line + "\r" + "next").c_str());
    bool intact = false;
    // Room for a line of double-byte characters: the most the read may take.
    std::string read = guarded_read(length * 2 + 4, [&](int32_t p) { get_gadget_item_text(EDITOR, 0, 0, p); }, &intact);
    EXPECT_TRUE(intact) << "written past the line's room";
    EXPECT_EQ(read, line);
    read = guarded_read(4 * 2 + 4, [&](int32_t p) { get_gadget_item_text(EDITOR, 1, 0, p); }, &intact);
    EXPECT_TRUE(intact);
    EXPECT_EQ(read, "next");
  }
}

namespace {

// A list sorted by the column sorter, whose reads of titles, cells and
// filter texts go to 255 bytes on the stack (254 characters and the zero);
// this build puts a canary after every such buffer.
class StackLimits : public Limits {
 protected:
  void SetUp() override {
    Limits::SetUp();
    ASSERT_NE(create_list_icon_gadget(LIST, 5, 5, 490, 300, "First", 100), 0);
    add_gadget_column(LIST, 1, "Second", 100);
    list = gadget_handle(LIST);
  }
  void click_header(int32_t column) { click_list_header(window, list, column); }
  // The header's own title, read whole.
  std::string title(int32_t column) {
    std::string text(8192, '\0');
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text.data();
    info.cchTextMax = int(text.size());
    SendMessageA(list, LVM_GETCOLUMNA, WPARAM(column), reinterpret_cast<LPARAM>(&info));
    return text.c_str();
  }
  std::string cell(int32_t row) {
    int32_t p = buffer_position();
    get_gadget_item_text(LIST, row, 0, p);
    return take(p);
  }
  static constexpr int32_t LIST = 3, LIMIT = 254;
  HWND list = nullptr;
};

}  // namespace

// The sorted column's title is kept in 254 characters while its marks
// stand in the header, and comes back from them when another column is sorted.
TEST_F(StackLimits, SortedTitlesAtTheLimitAndPast) {
  ASSERT_EQ(sorter_register(LIST, ARROWS_TEXT), SORTER_DONE);
  add_gadget_item(LIST, -1, "b\n1");
  add_gadget_item(LIST, -1, "a\n2");
  for (int32_t length : {LIMIT - 1, LIMIT, LIMIT + 1, 4000}) {
    SCOPED_TRACE(length);
    std::string name(size_t(length), 'N');
    set_column_title(list, 0, name.c_str());
    click_header(0);
    std::string kept = name.substr(0, size_t(LIMIT));
    EXPECT_EQ(title(0), "\xAB " + kept + " \xBB");
    click_header(1);
    EXPECT_EQ(title(0), kept);
  }
}

// A cell sorts by its first 254 characters: a difference at the 254th
// orders the rows, one at the 255th leaves them as they stand (the sort is stable).
TEST_F(StackLimits, SortTextsAtTheLimitAndPast) {
  ASSERT_EQ(sorter_register(LIST, ARROWS_NONE), SORTER_DONE);
  for (int8_t type : {int8_t(SORT_TEXT_CASE), int8_t(SORT_TEXT_NOCASE), int8_t(SORT_DATE_DMY)}) {
    SCOPED_TRACE(int(type));
    sorter_set_column_type(LIST, 0, type);
    for (int32_t at : {LIMIT - 1, LIMIT, LIMIT + 1}) {
      SCOPED_TRACE(at);
      SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
      std::string stem(size_t(at), '7');
      std::string high = stem + "9" + std::string(300, '7'), low = stem + "1" + std::string(300, '7');
      add_gadget_item(LIST, -1, high.c_str());
      add_gadget_item(LIST, -1, low.c_str());
      ASSERT_EQ(sorter_sort_column(LIST, 0, 1), SORTER_DONE);
      bool differs = at < LIMIT;
      EXPECT_EQ(cell(0), differs ? low : high);
      EXPECT_EQ(cell(1), differs ? high : low);
    }
  }
}

// The filter text typed into the header, answered as the platform's header
// answers it: cut to the room the reader names. (Wine's header keeps no filters.)
std::string typed_filter;
WNDPROC header_procedure = nullptr;
LRESULT CALLBACK filtering_header(HWND header, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* item = reinterpret_cast<HDITEMW*>(lparam);
  if (message == HDM_GETITEMW && item && (item->mask & HDI_FILTER) && item->type == HDFT_ISSTRING) {
    auto* filter = static_cast<HD_TEXTFILTERW*>(item->pvFilter);
    std::wstring wide(typed_filter.begin(), typed_filter.end());
    lstrcpynW(filter->pszText, wide.c_str(), filter->cchTextMax);
    return TRUE;
  }
  return CallWindowProcW(header_procedure, header, message, wparam, lparam);
}

// A filter text is read in 254 characters and finds the row whose cell is
// those characters.
TEST_F(StackLimits, FilterTextsAtTheLimitAndPast) {
  ASSERT_EQ(sorter_register(LIST, ARROWS_NONE), SORTER_DONE);
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  header_procedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(filtering_header)));
  for (int32_t length : {LIMIT - 1, LIMIT, LIMIT + 1, 1000}) {
    SCOPED_TRACE(length);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    std::string wanted(size_t(length), 'w');
    add_gadget_item(LIST, -1, "other");
    add_gadget_item(LIST, -1, wanted.c_str());
    add_gadget_item(LIST, -1, wanted.substr(0, size_t(LIMIT)).c_str());
    typed_filter = wanted;
    NMHEADERA change = {};
    change.hdr.hwndFrom = header;
    change.hdr.code = HDN_FILTERCHANGE;
    SendMessageA(list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(get_gadget_state(LIST), length <= LIMIT ? 1 : 2);
  }
  SetWindowLongPtrW(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(header_procedure));
}

// Class names are read into rooms of their own sizes: a class of the
// longest name the platform takes is read cut and mistaken for no other.
TEST_F(Limits, ClassNamesOfEveryLength) {
  for (int32_t length : {13, 14, 15, 49, 50, 255}) {
    SCOPED_TRACE(length);
    std::string name = std::string("MDI_ChildClass") + std::string(size_t(length > 14 ? length - 14 : 0), 'x');
    name.resize(size_t(length));
    WNDCLASSA type = {};
    type.lpfnWndProc = DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = name.c_str();
    ASSERT_NE(RegisterClassA(&type), 0);
    HWND holder = CreateWindowA(name.c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, window, nullptr,
                                type.hInstance, nullptr);
    HWND first = CreateWindowA("BUTTON", "a", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20, holder, nullptr,
                               type.hInstance, nullptr);
    HWND second = CreateWindowA("BUTTON", "b", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 30, 50, 20, window, nullptr,
                                type.hInstance, nullptr);
    SetActiveWindow(window);
    SetFocus(first);
    focus_next_gadget(false);
    // Only a holder named exactly "MDI_ChildClass" keeps the focus among its own children.
    if (length == 14)
      EXPECT_EQ(GetFocus(), first);
    else
      EXPECT_NE(GetFocus(), first);
    DestroyWindow(second);
    DestroyWindow(holder);
    UnregisterClassA(name.c_str(), type.hInstance);
  }
}
