// Every dialog that answers text, on a multi-byte code page (Japanese, 932):
// preset and typed double-byte text comes back byte for byte. CTest runs
// this under a Japanese locale; elsewhere the tests are skipped.
#include <gtest/gtest.h>

#include <cstdlib>
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
