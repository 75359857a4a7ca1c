// Every dialog that answers text, on a multi-byte code page (Japanese, 932):
// preset and typed double-byte text comes back byte for byte. CTest runs
// this under a Japanese locale; elsewhere the tests are skipped.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, OK = 1;
// 日本語 in Shift-JIS, between ASCII.
const std::string japanese = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string mixed = "abc " + japanese + " xyz";

class MultiByteCodePage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 932) {
      if (getenv("VANTREL_EXPECT_ACP")) FAIL() << "the code page is " << GetACP() << ", not 932";
      GTEST_SKIP() << "not on code page 932";
    }
  }
};

}  // namespace

TEST_F(MultiByteCodePage, InputAnswersPresetTextByteForByte) {
  std::string answer = run_export<Show5>("ShowInput", [](Dialog& d) { click_gadget(d, OK); }, "Input", mixed.c_str(),
                                  "300", "200", "0");
  EXPECT_EQ(answer, mixed);
  std::string two_lines = japanese + "\r\n" + japanese + japanese;
  answer = run_export<Show5>("ShowInput", [](Dialog& d) { click_gadget(d, OK); }, "Input", two_lines.c_str(), "300", "200",
                      "0");
  EXPECT_EQ(answer, two_lines);
}

TEST_F(MultiByteCodePage, InputAnswersTypedTextByteForByte) {
  std::string answer = run_export<Show5>("ShowInput", [](Dialog& d) {
    settle(d);
    type_text("ab");
    type_unicode(L"\x65E5\x672C\x8A9E");  // 日本語
    type_text("z");
    settle(d);
    save_screenshot(d.window, "input_japanese");
    click_gadget(d, OK);
  }, "Input", "", "300", "200", "0");
  EXPECT_EQ(answer, "ab" + japanese + "z");
}

TEST_F(MultiByteCodePage, ListsAnswerTheChosenItemByteForByte) {
  std::string items = "one|" + mixed + "|" + japanese + "|";
  std::string answer = run_export<Show5>("ShowListBox", [](Dialog& d) {
    SendMessageA(d.gadget(LIST), LB_SETCURSEL, 1, 0);
    click_gadget(d, OK);
  }, "List", items.c_str(), "240", "200", "0");
  EXPECT_EQ(answer, mixed);
  answer = run_export<Show5>("ShowComboBox", [](Dialog& d) {
    SendMessageA(d.gadget(LIST), CB_SETCURSEL, 2, 0);
    click_gadget(d, OK);
  }, "Combo", items.c_str(), "240", "80", "0");
  EXPECT_EQ(answer, japanese);
}

namespace {

// ポ (83 7C) and 表 (95 5C): a "|" and a "\" as their second bytes, and
// ソ (83 5C) beside them.
const std::string po = "\x83\x7C", hyo = "\x95\x5C", so = "\x83\x5C";
constexpr int TABLE = 3;

std::string window_title(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string list_item(const Dialog& d, int item, bool combo) {
  char text[256] = {};
  SendMessageA(d.gadget(LIST), combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(item), reinterpret_cast<LPARAM>(text));
  return text;
}

std::string table_cell(const Dialog& d, int row, int column) { return list_view_cell(d.gadget(TABLE), row, column); }

std::string column_title(const Dialog& d, int column) {
  char text[256] = {};
  LVCOLUMNA info = {};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  SendMessageA(d.gadget(TABLE), LVM_GETCOLUMNA, WPARAM(column), reinterpret_cast<LPARAM>(&info));
  return text;
}

}  // namespace

// Items are split where a "|" stands as a character, never at the second
// byte of one: each comes back whole.
TEST_F(MultiByteCodePage, ItemsHoldingABarAsASecondByteStayWhole) {
  const std::string items[] = {po, hyo + po, "a" + po + "b", so + hyo};
  std::string list;
  for (const std::string& item : items) list += item + "|";
  for (bool combo : {false, true}) {
    for (int pick = 0; pick < 4; ++pick) {
      std::string answer = run_export<Show5>(combo ? "ShowComboBox" : "ShowListBox", [&](Dialog& d) {
        EXPECT_EQ(window_title(d.window), po + hyo);
        EXPECT_EQ(SendMessageA(d.gadget(LIST), combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0), 4);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(list_item(d, i, combo), items[i]) << i;
        SendMessageA(d.gadget(LIST), combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(pick), 0);
        click_gadget(d, OK);
      }, (po + hyo).c_str(), list.c_str(), "240", "200", "0");
      EXPECT_EQ(answer, items[pick]) << (combo ? "combo box " : "list box ") << pick;
    }
  }
}

// A table's rows, cells and titles (with a width before "~") are split by
// characters too, and the export holds them whole. ミ is 83 7E: a "~" as
// its second byte.
TEST_F(MultiByteCodePage, TableCellsAndTitlesHoldingSeparatorBytesStayWhole) {
  const std::string mi = "\x83\x7E";
  const std::string table = "120~" + po + hyo + ";" + mi + ";|" + po + ";" + hyo + ";|a" + po + ";b" + hyo + ";|";
  DeleteFileA("C:\\Items.txt");
  std::string answer = run_export<Show6>("ShowMultiListBox", [&](Dialog& d) {
    EXPECT_EQ(window_title(d.window), hyo);
    EXPECT_EQ(column_title(d, 1), po + hyo);
    EXPECT_EQ(SendMessageA(d.gadget(TABLE), LVM_GETCOLUMNWIDTH, 1, 0), 120);
    EXPECT_EQ(column_title(d, 2), mi);
    ASSERT_EQ(SendMessageA(d.gadget(TABLE), LVM_GETITEMCOUNT, 0, 0), 2);
    int row = table_cell(d, 0, 1) == po ? 0 : 1;
    EXPECT_EQ(table_cell(d, row, 2), hyo);
    EXPECT_EQ(table_cell(d, 1 - row, 1), "a" + po);
    EXPECT_EQ(table_cell(d, 1 - row, 2), "b" + hyo);
    settle(d);
    click_list_row(d, TABLE, row);
    click_gadget(d, OK);
  }, hyo.c_str(), table.c_str(), "-1", "400", "200", "0");
  EXPECT_EQ(answer, po + "|" + hyo + "|");
  std::ifstream in("C:\\Items.txt", std::ios::binary);
  std::string exported((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(exported.find("Row\t" + po + hyo + "\t" + mi + "\r\n"), std::string::npos) << exported;
  EXPECT_NE(exported.find("1\t" + po + "\t" + hyo + "\t\r\n"), std::string::npos) << exported;
}

// Every fixed export's title comes back whole as the window's caption.
TEST_F(MultiByteCodePage, EveryDialogsTitleStaysWhole) {
  const std::string title = po + hyo + so;
  auto check_title = [&](Dialog& d) {
    EXPECT_EQ(window_title(d.window), title);
    click_gadget(d, 2);  // Cancel
  };
  auto check_about_title = [&](Dialog& d) {
    EXPECT_EQ(window_title(d.window), title);
    click_gadget(d, 4);  // the about box's OK
  };
  run_export<Show5>("ShowInput", check_title, title.c_str(), (po + "\\").c_str(), "300", "200", "0");
  run_export<Show4>("ShowCal", check_title, title.c_str(), "TODAY", "ISO", "0");
  run_export<Show5>("ShowListBox", check_title, title.c_str(), "a|", "200", "150", "0");
  run_export<Show5>("ShowComboBox", check_title, title.c_str(), "a|", "200", "150", "0");
  run_export<Show4>("ShowDragnDrop", check_title, title.c_str(), "300", "200", "0");
  run_export<Show6>("ShowMultiListBox", check_title, title.c_str(), "A;|a;|", "1", "300", "200", "0");
  run_export<Show10>("ShowAbout", check_about_title, title.c_str(), title.c_str(), title.c_str(), "", title.c_str(), "", "", "300",
                     "220", "0");
}
