#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "dialogs/dialogs.h"
#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/gadgets/report_lists.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

class ListIcon : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "list icon", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    ASSERT_NE(create_list_icon_gadget(3, 5, 5, 390, 250, "Name", 120), 0);
    gadget = find_gadget(3);
    ops = gadget->operations;
  }
  void make_multi_select() {
    ASSERT_NE(create_list_icon_gadget(3, 5, 5, 390, 250, "Name", 120, LIST_ICON_MULTI_SELECT), 0);
    gadget = find_gadget(3);
  }
  std::string cell(int32_t row, int32_t column) {
    int32_t p = buffer_position();
    get_gadget_item_text(3, row, column, p);
    return take(p);
  }
  int32_t columns() {
    HWND header = reinterpret_cast<HWND>(SendMessageA(gadget_handle(3), LVM_GETHEADER, 0, 0));
    return int32_t(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  }
  HWND window = nullptr;
  GadgetRecord* gadget = nullptr;
  const GadgetOperations* ops = nullptr;
};

TEST_F(ListIcon, RowsFromLineSeparatedTextsFillTheColumns) {
  EXPECT_EQ(GetDlgCtrlID(gadget_handle(3)), 3);
  EXPECT_EQ(columns(), 1);
  add_gadget_column(3, 1, "Size", 80);
  add_gadget_column(3, 2, nullptr, 80);
  add_gadget_item(3, -1, "a\nb\nc");
  add_gadget_item(3, -1, "d\n\nf\n");
  add_gadget_item(3, -1, "g\nh\ni\nj");  // a fourth part has no column
  add_gadget_item(3, 0, "first");
  ASSERT_EQ(count_gadget_items(3), 4);
  EXPECT_EQ(cell(0, 0), "first");
  EXPECT_EQ(cell(1, 2), "c");
  EXPECT_EQ(cell(2, 1), "");
  EXPECT_EQ(cell(2, 2), "f");
  EXPECT_EQ(cell(3, 2), "i");
  EXPECT_EQ(cell(3, 3), "");
  EXPECT_EQ(cell(9, 0), "");  // no such row
  EXPECT_EQ(cell(-1, 1), "Size");
  EXPECT_EQ(cell(-1, 2), "");
  ops->set_item_text(gadget, -1, "Kind", 2);
  EXPECT_EQ(cell(-1, 2), "Kind");
  // A three-part row on a two-column list keeps the first two parts.
  ops->remove_column(gadget, 2);
  add_gadget_item(3, -1, "x\ny\nz");
  EXPECT_EQ(cell(4, 0), "x");
  EXPECT_EQ(cell(4, 1), "y");
  ops->clear_items(gadget);
  EXPECT_EQ(count_gadget_items(3), 0);
}

// A cell is read into a reservation of the longest text written so far; a
// cell exactly that long must come back whole, not one byte short.
TEST_F(ListIcon, CellTextsComeBackWholeAtTheLongestLength) {
  add_gadget_item(3, -1, "short");
  std::string longest(300, 'L');
  add_gadget_item(3, -1, longest.c_str());
  EXPECT_EQ(cell(1, 0), longest);
  std::string equal(300, 'E');
  ops->set_item_text(gadget, 0, equal.c_str(), 0);
  EXPECT_EQ(cell(0, 0), equal);
  std::string longer(1000, 'x');
  ops->set_item_text(gadget, 0, longer.c_str(), 0);
  EXPECT_EQ(cell(0, 0), longer);
  int32_t p = buffer_position();
  get_gadget_item_text(3, 1, 0, p);
  EXPECT_EQ(buffer_position(), p + 300) << "the unused reservation was not given back";
  set_buffer_position(p);
  // The selected row's text, and a selected row's cells set from one text.
  set_gadget_state(3, 1);
  EXPECT_EQ(get_gadget_state(3), 1);
  p = buffer_position();
  EXPECT_EQ(std::string(get_gadget_text(3, p)), longest);
  set_buffer_position(p);
  add_gadget_column(3, 1, "Two", 50);
  set_gadget_text(3, "one\ntwo");
  EXPECT_EQ(cell(1, 0), "one");
  EXPECT_EQ(cell(1, 1), "two");
}

TEST_F(ListIcon, CellColoursFollowTheirCellsThroughColumnChanges) {
  add_gadget_column(3, 1, "B", 50);
  add_gadget_column(3, 2, "C", 50);
  for (int i = 0; i < 3; ++i) add_gadget_item(3, -1, "r\ns\nt");
  EXPECT_EQ(ops->get_item_colour(gadget, 0, COLOUR_FRONT, 0), -1);  // no record yet
  ops->set_item_colour(gadget, 1, COLOUR_FRONT, 0x000000, 1);  // black is a colour
  ops->set_item_colour(gadget, 1, COLOUR_BACK, 0x00FF00, 2);
  ops->set_item_colour(gadget, 2, COLOUR_BACK, 0x0000FF, 0);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_FRONT, 1), 0);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_FRONT, 0), -1);

  ops->add_column(gadget, 1, "New", 40);  // old columns 1 and 2 become 2 and 3
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_FRONT, 1), -1);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_FRONT, 2), 0);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_BACK, 3), 0x00FF00);
  EXPECT_EQ(ops->get_item_colour(gadget, 2, COLOUR_BACK, 0), 0x0000FF);

  ops->remove_column(gadget, 0);  // and back down by one
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_FRONT, 1), 0);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_BACK, 2), 0x00FF00);
  EXPECT_EQ(ops->get_item_colour(gadget, 1, COLOUR_BACK, 3), -1);  // past the last column
  EXPECT_EQ(ops->get_item_colour(gadget, 2, COLOUR_BACK, 0), -1);

  ops->set_item_colour(gadget, -1, COLOUR_FRONT, 0x123456, -1);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < columns(); ++column)
      EXPECT_EQ(ops->get_item_colour(gadget, row, COLOUR_FRONT, column), 0x123456) << row << "," << column;
  ops->set_item_colour(gadget, 0, COLOUR_BACK, 0xABCDEF, 7);  // no such column: nothing
  EXPECT_EQ(ops->get_item_colour(gadget, 0, COLOUR_BACK, 0), -1);
}

TEST_F(ListIcon, DataValuesAndStates) {
  add_gadget_item(3, -1, "a");
  add_gadget_item(3, -1, "b");
  set_gadget_item_data(3, 1, 77);
  set_gadget_item_data(3, 2, 99);  // out of range: nothing
  set_gadget_item_data(3, -1, 99);
  EXPECT_EQ(ops->get_item_data(gadget, 1), 77);
  EXPECT_EQ(ops->get_item_data(gadget, 0), 0);
  ops->set_item_colour(gadget, 1, COLOUR_FRONT, 5, 0);
  EXPECT_EQ(ops->get_item_data(gadget, 1), 77) << "a colour took the data value";
  EXPECT_EQ(get_gadget_item_state(3, 0), 0);
  set_gadget_item_state(3, 0, 3);
  EXPECT_EQ(get_gadget_item_state(3, 0), 1) << "no check box on a list without them";
  set_gadget_state(3, -1);
  EXPECT_EQ(get_gadget_state(3), -1);

  make_multi_select();
  for (const char* text : {"a", "b", "c", "d"}) add_gadget_item(3, -1, text);
  set_gadget_state(3, 0);
  set_gadget_state(3, 2);
  set_gadget_state(3, 3);
  EXPECT_EQ(get_gadget_item_state(3, 2), 1);
  set_gadget_state(3, -1);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(get_gadget_item_state(3, row) & 1, 0) << row;
}

TEST_F(ListIcon, CheckBoxesAndColumnWidths) {
  ASSERT_NE(create_list_icon_gadget(3, 5, 5, 390, 250, "Name", 120, LIST_ICON_CHECKBOXES), 0);
  gadget = find_gadget(3);
  add_gadget_item(3, -1, "a");
  set_gadget_item_state(3, 0, 2);
  EXPECT_EQ(get_gadget_item_state(3, 0), 2);
  set_gadget_item_state(3, 0, 1);
  EXPECT_EQ(get_gadget_item_state(3, 0), 1);
  EXPECT_EQ(ops->get_item_attribute(gadget, 0, ATTRIBUTE_COLUMN_WIDTH, 0), 120);
  ops->set_item_attribute(gadget, 0, ATTRIBUTE_COLUMN_WIDTH, 0x10000 + 90, 0);
  EXPECT_EQ(ops->get_item_attribute(gadget, 0, ATTRIBUTE_COLUMN_WIDTH, 0), 90);
}

TEST_F(ListIcon, OneImageOnManyRowsTakesOneEntry) {
  HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  HBITMAP bitmap = CreateBitmap(20, 12, 1, 32, nullptr);
  for (int i = 0; i < 50; ++i) ops->add_item(gadget, -1, "row", i % 2 ? static_cast<HANDLE>(icon) : bitmap);
  ASSERT_NE(gadget->words.list_icon.image_lists, nullptr);
  HIMAGELIST small = reinterpret_cast<HIMAGELIST>(SendMessageA(gadget_handle(3), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  EXPECT_EQ(ImageList_GetImageCount(small), 3);  // the blank image, the bitmap, the icon
  EXPECT_EQ(gadget->words.list_icon.image_lists->entry_count, 2);
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  SendMessageA(gadget_handle(3), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 2);
  ops->clear_items(gadget);
  EXPECT_EQ(ImageList_GetImageCount(small), 1);
  EXPECT_EQ(gadget->words.list_icon.image_lists->entry_count, 0);
  DeleteObject(bitmap);
}

TEST_F(ListIcon, ColoursOfTheListAndItsGridLines) {
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_LINE), -1);
  ops->set_colour(gadget, COLOUR_BACK, 0x00FFFF);
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_BACK), 0x00FFFF);
  ops->set_colour(gadget, COLOUR_BACK, -1);
  EXPECT_NE(ops->get_colour(gadget, COLOUR_BACK), 0x00FFFF);
  ops->set_colour(gadget, COLOUR_LINE, 0x0000FF);
  EXPECT_EQ(ops->get_colour(gadget, COLOUR_LINE), 0x0000FF);

  // Drawn on a bitmap of the list's size: an empty list only gets the area
  // below its header filled; rows get a line at each row's bottom edge.
  HWND list = gadget_handle(3);
  RECT client;
  GetClientRect(list, &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, client.right, client.bottom};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  draw_grid_lines(list, dc, RGB(255, 0, 0));
  COLORREF background = COLORREF(SendMessageA(list, LVM_GETBKCOLOR, 0, 0));
  EXPECT_EQ(GetPixel(dc, client.right / 2, client.bottom - 3), background);
  for (int i = 0; i < 5; ++i) add_gadget_item(3, -1, "row");
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  draw_grid_lines(list, dc, RGB(255, 0, 0));
  RECT first = {LVIR_BOUNDS};
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(GetPixel(dc, 10, first.bottom - 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 10, first.bottom + (first.bottom - first.top) - 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, first.right, client.bottom - 2), RGB(255, 0, 0)) << "no column line";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

namespace {
std::vector<UINT> filtered;
BOOL WINAPI record_filter(HWND, UINT message, DWORD action, void*) {
  if (action == 1) filtered.push_back(message);
  return TRUE;
}
}  // namespace

// Drops into an elevated host: the drop messages, and only they, are let
// through the privilege filter where the platform has one; where it has
// none, nothing fails.
TEST_F(ListIcon, DropMessagesAreLetThroughThePrivilegeFilter) {
  filtered.clear();
  EXPECT_EQ(allow_drops_through_privilege_filter(gadget_handle(3), record_filter), 2);
  EXPECT_EQ(filtered, (std::vector<UINT>{WM_DROPFILES, 0x0049})) << "only what a drop needs";
  EXPECT_EQ(allow_drops_through_privilege_filter(gadget_handle(3), nullptr), 0);
  EXPECT_EQ(allow_drops_through_privilege_filter(gadget_handle(3)), 2);  // the platform's own
}

namespace {

void click_screen(POINT at, bool twice = false) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  std::vector<INPUT> inputs;
  for (DWORD flags : {DWORD(0), DWORD(MOUSEEVENTF_LEFTDOWN), DWORD(MOUSEEVENTF_LEFTUP), DWORD(MOUSEEVENTF_LEFTDOWN),
                      DWORD(MOUSEEVENTF_LEFTUP)}) {
    if (!twice && inputs.size() == 3) break;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((at.x * 65536 + width / 2) / width);
    input.mi.dy = LONG((at.y * 65536 + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    inputs.push_back(input);
  }
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void press(WORD key) {
  INPUT keys[2] = {};
  for (INPUT& k : keys) {
    k.type = INPUT_KEYBOARD;
    k.ki.wVk = key;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

// The event types gadget 3 reports while the messages of a moment are handled.
std::vector<int32_t> reported_events() {
  std::vector<int32_t> types;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 400) {
    if (wait_event(20) == EVENT_GADGET && event_gadget() == 3) types.push_back(event_type());
  }
  return types;
}

}  // namespace

// The events a person causes: a click into empty space after a selection
// ends the selection once (768, then 0), a second such click is only a click;
// the keyboard moves the selection (768 alone); a double click is 2.
TEST_F(ListIcon, RealClicksAndKeysReportTheirEvents) {
  using Events = std::vector<int32_t>;
  for (const char* text : {"one", "two", "three"}) add_gadget_item(3, -1, text);
  HWND list = gadget_handle(3);
  SetForegroundWindow(window);
  SetFocus(list);
  reported_events();
  auto row_point = [&](int row) {
    RECT r = {LVIR_LABEL};
    SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&r));
    POINT at = {r.left + 10, (r.top + r.bottom) / 2};
    ClientToScreen(list, &at);
    return at;
  };
  click_screen(row_point(1));
  EXPECT_EQ(reported_events(), (Events{768, 0}));
  EXPECT_EQ(get_gadget_state(3), 1);
  RECT client;
  GetClientRect(list, &client);
  POINT empty = {client.right / 2, client.bottom - 20};
  ClientToScreen(list, &empty);
  Sleep(GetDoubleClickTime() + 50);
  click_screen(empty);
  EXPECT_EQ(reported_events(), (Events{768, 0}));
  EXPECT_EQ(get_gadget_state(3), -1);
  Sleep(GetDoubleClickTime() + 50);
  click_screen(empty);
  EXPECT_EQ(reported_events(), (Events{0}));
  set_gadget_state(3, 0);
  reported_events();
  SetFocus(list);
  press(VK_DOWN);
  EXPECT_EQ(reported_events(), (Events{768}));
  EXPECT_EQ(get_gadget_state(3), 1);
  Sleep(GetDoubleClickTime() + 50);
  click_screen(row_point(2), true);
  Events double_click = reported_events();
  EXPECT_NE(std::find(double_click.begin(), double_click.end(), 2), double_click.end()) << "no double click";
}
