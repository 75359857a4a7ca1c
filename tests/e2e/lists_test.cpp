// ShowListBox and ShowComboBox driven through real input.
#include <gtest/gtest.h>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, OK = 1, CANCEL = 2;

class ListDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    list_box = shared_library().get<Show5>("ShowListBox");
    combo_box = shared_library().get<Show5>("ShowComboBox");
    ASSERT_TRUE(list_box && combo_box);
  }
  std::string run(Show5 show, Text items, Text width, Text height, const std::function<void(Dialog&)>& drive) {
    return run_dialog([&] { return show("Choose", items, width, height, "0"); }, drive, nullptr, current_dialog());
  }
  std::string pick_list(Text items, const std::function<void(Dialog&)>& drive) {
    return run(list_box, items, "240", "300", drive);
  }
  Show5 list_box = nullptr;
  Show5 combo_box = nullptr;
};

std::vector<std::string> list_items(const Dialog& d) {
  std::vector<std::string> items;
  HWND list = d.gadget(LIST);
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::string text(size_t(SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0)), '\0');
    SendMessageA(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text.data()));
    items.push_back(text);
  }
  return items;
}

// Clicks the item's row in the list.
void click_item(const Dialog& d, int index) {
  RECT item;
  SendMessageA(d.gadget(LIST), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
  RECT list = d.gadget_rect(LIST);
  click_at(d.client_to_screen(list.left + 2 + (item.left + item.right) / 2, list.top + 2 + (item.top + item.bottom) / 2));
}


}  // namespace

TEST_F(ListDialogs, ListLayoutAndAClickedItem) {
  std::string answer = pick_list("Red|Green|Blue|", [](Dialog& d) {
    expect_rect(d.client(), 0, 0, 240, 300, "client");
    expect_rect(d.gadget_rect(LIST), 0, 0, 240, 270, "list");
    expect_rect(d.gadget_rect(OK), 65, 273, 50, 23, "OK");
    expect_rect(d.gadget_rect(CANCEL), 125, 273, 50, 23, "Cancel");
    EXPECT_EQ(list_items(d), (std::vector<std::string>{"Red", "Green", "Blue"}));
    EXPECT_EQ(SendMessageA(d.gadget(LIST), LB_GETCURSEL, 0, 0), LB_ERR);  // nothing selected
    click_item(d, 1);
    settle(d);
    save_screenshot(d.window, "list_box");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "Green");
}

TEST_F(ListDialogs, DoubleClickKeyboardAndNoSelection) {
  EXPECT_EQ(pick_list("Red|Green|Blue|", [](Dialog& d) {
              RECT item;
              SendMessageA(d.gadget(LIST), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
              RECT list = d.gadget_rect(LIST);
              POINT at = d.client_to_screen(list.left + 20, list.top + 2 + (item.top + item.bottom) / 2);
              std::vector<INPUT> clicks;
              for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
                INPUT input = {};
                input.type = INPUT_MOUSE;
                input.mi.dx = at.x * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1;
                input.mi.dy = at.y * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1;
                input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
                clicks.push_back(input);
              }
              SendInput(UINT(clicks.size()), clicks.data(), sizeof(INPUT));
              settle(d);
              EXPECT_TRUE(IsWindowVisible(d.window)) << "a double click ended the dialog";
              press_key(VK_UP);  // the keyboard moves the selection
              settle(d);
              click_gadget(d, OK);
            }),
            "Green");
  EXPECT_EQ(pick_list("Red|Green|Blue|", [](Dialog& d) { click_gadget(d, OK); }), "CANCEL");
  EXPECT_EQ(pick_list("Red|Green|Blue|", [](Dialog& d) {
              click_item(d, 0);
              click_gadget(d, CANCEL);
            }),
            "CANCEL");
}

TEST_F(ListDialogs, ItemListsWithOddSeparators) {
  EXPECT_EQ(pick_list("a||b|", [](Dialog& d) {
              EXPECT_EQ(list_items(d), (std::vector<std::string>{"a", "", "b"}));
              click_item(d, 1);
              click_gadget(d, OK);
            }),
            "");
  EXPECT_EQ(pick_list("Red|Green|Blue", [](Dialog& d) {
              EXPECT_EQ(list_items(d), (std::vector<std::string>{"Red", "Green"}));
              click_gadget(d, CANCEL);
            }),
            "CANCEL");
  EXPECT_EQ(pick_list("|", [](Dialog& d) {
              EXPECT_EQ(list_items(d), (std::vector<std::string>{""}));
              click_item(d, 0);
              click_gadget(d, OK);
            }),
            "");
  for (Text empty : {"", static_cast<Text>(nullptr)}) {
    EXPECT_EQ(pick_list(empty, [](Dialog& d) {
                EXPECT_TRUE(list_items(d).empty());
                click_gadget(d, OK);
              }),
              "CANCEL");
  }
  EXPECT_EQ(pick_list("zebra|apple|mango|", [](Dialog& d) {
              EXPECT_EQ(list_items(d), (std::vector<std::string>{"zebra", "apple", "mango"}));  // not sorted
              click_item(d, 2);
              click_gadget(d, OK);
            }),
            "mango");
  std::string long_item(10000, 'w');
  EXPECT_EQ(pick_list(("short|" + long_item + "|").c_str(), [](Dialog& d) {
              click_item(d, 1);
              click_gadget(d, OK);
            }),
            long_item);
}

TEST_F(ListDialogs, ComboLayoutAndAChoiceWithTheMouse) {
  std::string answer = run(combo_box, "One|Two|Three|", "300", "80", [](Dialog& d) {
    expect_rect(d.gadget_rect(LIST), 5, 5, 290, -1, "combo box");
    expect_rect(d.gadget_rect(OK), 95, 53, 50, 23, "OK");
    expect_rect(d.gadget_rect(CANCEL), 155, 53, 50, 23, "Cancel");
    HWND combo = d.gadget(LIST);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    click_gadget(d, LIST);  // opens the list
    settle(d);
    COMBOBOXINFO info = {sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_TRUE(IsWindowVisible(info.hwndList)) << "the list did not drop";
    RECT dropped;
    GetWindowRect(info.hwndList, &dropped);
    LRESULT item_height = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GE(dropped.bottom - dropped.top, 3 * item_height) << "the dropped list has no room for its entries";
    save_screenshot(d.window, "combo_box_dropped");
    RECT second;
    SendMessageA(info.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    POINT at = {(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    ClientToScreen(info.hwndList, &at);
    click_at(at);
    settle(d);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    save_screenshot(d.window, "combo_box");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "Two");
}

TEST_F(ListDialogs, ComboKeyboardNoChoiceAndCancel) {
  EXPECT_EQ(run(combo_box, "One|Two|Three|", "300", "80", [](Dialog& d) {
              settle(d);
              press_key(VK_DOWN);
              press_key(VK_DOWN);
              settle(d);
              click_gadget(d, OK);
            }),
            "Two");
  EXPECT_EQ(run(combo_box, "One|Two|Three|", "300", "80", [](Dialog& d) { click_gadget(d, OK); }), "CANCEL");
  EXPECT_EQ(run(combo_box, "One|Two|Three|", "300", "80", [](Dialog& d) {
              press_key(VK_DOWN);
              click_gadget(d, CANCEL);
            }),
            "CANCEL");
  EXPECT_EQ(run(combo_box, "", "300", "80", [](Dialog& d) { click_gadget(d, OK); }), "CANCEL");
}
