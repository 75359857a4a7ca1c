#include "runtime_fixture.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/item_lists.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

using namespace vantrel;

class ListGadgets : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    window = reinterpret_cast<HWND>(open_window(0, 0, 0, 300, 300, "lists", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    ASSERT_NE(create_list_view_gadget(1, 0, 0, 200, 150), 0);
    ASSERT_NE(create_combo_box_gadget(2, 0, 160, 200, 30), 0);
    for (int32_t g : {1, 2}) {
      for (const char* item : {"Red", "Green", "Blue"}) add_gadget_item(g, -1, item);
    }
  }
  static std::string item(int32_t gadget, int32_t index) {
    int32_t p = buffer_position();
    get_gadget_item_text(gadget, index, 0, p);
    return take(p);
  }
  static std::string text(int32_t gadget) {
    int32_t p = buffer_position();
    get_gadget_text(gadget, p);
    return take(p);
  }
  static std::vector<int32_t> gadget_events() {
    std::vector<int32_t> types;
    for (int i = 0; i < 20; ++i) {
      if (wait_event(10) == EVENT_GADGET) types.push_back(event_type());
    }
    return types;
  }
  HWND window = nullptr;
};

TEST_F(ListGadgets, ItemsStateAndText) {
  for (int32_t g : {1, 2}) {
    EXPECT_EQ(count_gadget_items(g), 3);
    EXPECT_EQ(get_gadget_state(g), -1);
    EXPECT_EQ(item(g, 1), "Green");
    EXPECT_EQ(item(g, 3), "");   // past the end
    EXPECT_EQ(item(g, -5), "");
    set_gadget_state(g, 2);
    EXPECT_EQ(text(g), "Blue");
    EXPECT_EQ(set_gadget_text(g, "green"), 0);  // exact match, letter case aside
    EXPECT_EQ(get_gadget_state(g), 1);
  }
  add_gadget_item(1, 0, "First");
  EXPECT_EQ(item(1, 0), "First");
  add_gadget_item(2, -2, "Nowhere");  // a combo box adds nothing below -1
  EXPECT_EQ(count_gadget_items(2), 3);
  add_gadget_item(2, 1, nullptr);
  EXPECT_EQ(item(2, 1), "");
}

TEST_F(ListGadgets, UnknownTextClearsAListButNotADropDown) {
  set_gadget_state(1, 1);
  set_gadget_state(2, 1);
  EXPECT_EQ(set_gadget_text(1, "Purple"), -1);
  EXPECT_EQ(get_gadget_state(1), -1);
  EXPECT_EQ(text(1), "");
  EXPECT_EQ(set_gadget_text(2, "Purple"), -1);
  EXPECT_EQ(get_gadget_state(2), 1);
  EXPECT_EQ(set_gadget_text(2, ""), 0);
  EXPECT_EQ(get_gadget_state(2), -1);
}

TEST_F(ListGadgets, ReplacedTextKeepsDataAndPlace) {
  for (int32_t g : {1, 2}) {
    GadgetRecord* gadget = find_gadget(g);
    set_gadget_item_data(g, 1, 4242);
    gadget->operations->set_item_text(gadget, 1, "Teal", 0);
    EXPECT_EQ(item(g, 1), "Teal");
    EXPECT_EQ(item(g, 2), "Blue");
    EXPECT_EQ(gadget->operations->get_item_data(gadget, 1), 4242);
    EXPECT_EQ(count_gadget_items(g), 3);
    gadget->operations->set_item_text(gadget, 7, "none", 0);  // no such item: nothing changes
    EXPECT_EQ(count_gadget_items(g), 3);
    gadget->operations->remove_item(gadget, 0);
    EXPECT_EQ(item(g, 0), "Teal");
    gadget->operations->clear_items(gadget);
    EXPECT_EQ(count_gadget_items(g), 0);
  }
}

TEST_F(ListGadgets, ListEventsForSelectionAndDoubleClick) {
  gadget_events();
  HWND list = gadget_handle(1);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, LBN_SETFOCUS), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(gadget_events(), (std::vector<int32_t>{0, 2}));
  // A combo box's notifications take the window's own path, with their codes.
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(2, CBN_SELCHANGE), reinterpret_cast<LPARAM>(gadget_handle(2)));
  EXPECT_EQ(gadget_events(), (std::vector<int32_t>{CBN_SELCHANGE}));
  EXPECT_EQ(event_gadget(), 2);
}

TEST_F(ListGadgets, ListColours) {
  GadgetRecord* list = find_gadget(1);
  HWND control = gadget_handle(1);
  HDC dc = GetDC(control);
  auto colour_answer = [&] { return SendMessageA(window, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(control)); };
  EXPECT_EQ(colour_answer(), DefWindowProcA(window, WM_CTLCOLORLISTBOX, WPARAM(dc), LPARAM(control)));
  list->operations->set_colour(list, COLOUR_FRONT, 0x0000FF);
  EXPECT_EQ(colour_answer(), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNHIGHLIGHT)));
  list->operations->set_colour(list, COLOUR_BACK, 0x00EEEE);
  EXPECT_EQ(colour_answer(), reinterpret_cast<LRESULT>(list->words.colours.back_brush));
  EXPECT_EQ(GetBkColor(dc), COLORREF(0x00EEEE));
  EXPECT_EQ(list->operations->get_colour(list, COLOUR_BACK), 0x00EEEE);
  ReleaseDC(control, dc);
}

TEST_F(ListGadgets, EditableComboBox) {
  ASSERT_NE(create_combo_box_gadget(3, 0, 200, 200, 30, 2), 0);
  HWND field = GetWindow(gadget_handle(3), GW_CHILD);
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(GetWindowLongA(field, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(set_gadget_text(3, "typed text"), 0);
  EXPECT_EQ(text(3), "typed text");
  EXPECT_EQ(GetWindowLongA(gadget_handle(2), GWL_STYLE) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST);
}

TEST_F(ListGadgets, LargeFillsKeepEveryItemInOrder) {
  std::vector<std::string> texts;
  std::vector<const char*> pointers;
  for (int i = 0; i < 5000; ++i) texts.push_back("item" + std::to_string(i));
  for (const std::string& t : texts) pointers.push_back(t.c_str());
  for (int32_t g : {1, 2}) {
    find_gadget(g)->operations->clear_items(find_gadget(g));
    ASSERT_TRUE(fill_gadget_items(g, pointers.data(), int32_t(pointers.size()), 5000 * 10));
    EXPECT_EQ(count_gadget_items(g), 5000);
    EXPECT_EQ(item(g, 0), "item0");
    EXPECT_EQ(item(g, 4999), "item4999");
  }
  create_button_gadget(4, 0, 0, 10, 10, "not a list");
  EXPECT_FALSE(fill_gadget_items(4, pointers.data(), 1, 10));
  EXPECT_FALSE(fill_gadget_items(40, pointers.data(), 1, 10));
}
