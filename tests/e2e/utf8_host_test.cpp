// A host whose ANSI code page is UTF-8 (its manifest says so) calls the
// fixed exports with UTF-8 text: every character given, typed, chosen,
// answered and exported comes back byte for byte, and a cut ends where a
// character does.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, OK = 1, TABLE = 3, BODY = 2;
const std::string greek = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", cyrillic = "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",
                  cjk = "\xE6\x9D\xB1\xE4\xBA\xAC", emoji = "\xF0\x9F\x98\x80";

std::wstring wide(const std::string& utf8) {
  std::wstring out(utf8.size(), L'\0');
  out.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), int(utf8.size()), &out[0], int(out.size()))));
  return out;
}

std::wstring window_text_of(HWND window) {
  std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(window, &text[0], int(text.size()))));
  return text;
}

class Utf8Host : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 65001u) << "the host's manifest did not make UTF-8 its code page"; }
};

}  // namespace

TEST_F(Utf8Host, InputAndListsKeepEveryCharacter) {
  const std::string given = greek + " " + emoji + "\r\n" + cjk;
  std::string answer = run_export<Show5>("ShowInput", [&](Dialog& d) {
    EXPECT_EQ(window_text_of(d.window), wide(cyrillic));
    click_gadget(d, OK);
  }, cyrillic.c_str(), given.c_str(), "300", "200", "0");
  EXPECT_EQ(answer, given);
  answer = run_export<Show5>("ShowInput", [](Dialog& d) {
    SetForegroundWindow(d.window);
    settle(d);
    type_unicode(wide(cyrillic + emoji));
    settle(d);
    save_screenshot(d.window, "utf8_host_input_typed");
    click_gadget(d, OK);
  }, "Typed", "", "300", "200", "0");
  EXPECT_EQ(answer, cyrillic + emoji);

  const std::string items = greek + "|" + cjk + emoji + "|" + cyrillic + "|";
  answer = run_export<Show5>("ShowListBox", [](Dialog& d) {
    SendMessageW(d.gadget(LIST), LB_SETCURSEL, 1, 0);
    click_gadget(d, OK);
  }, "List", items.c_str(), "240", "200", "0");
  EXPECT_EQ(answer, cjk + emoji);
  answer = run_export<Show5>("ShowComboBox", [](Dialog& d) {
    SendMessageW(d.gadget(LIST), CB_SETCURSEL, 2, 0);
    click_gadget(d, OK);
  }, "Combo", items.c_str(), "240", "80", "0");
  EXPECT_EQ(answer, cyrillic);
}

// The fixed call writes its export in the ANSI code page, here UTF-8: no
// byte-order mark, as before.
TEST_F(Utf8Host, TableAnswersAndExportsUtf8) {
  const std::string table = "Name;City;|" + greek + ";" + cjk + ";|" + cyrillic + ";" + emoji + ";|";
  DeleteFileA("C:\\Items.txt");
  std::string answer = run_export<Show6>("ShowMultiListBox", [](Dialog& d) {
    click_list_row(d, TABLE, 0);
    settle(d);
    click_gadget(d, OK);
  }, "Table", table.c_str(), "-1", "300", "200", "0");
  // Sorted by the second column when ready, by the library's own
  // comparison of the code page's bytes: in UTF-8, the characters' order.
  EXPECT_EQ(answer, greek + "|" + cjk + "|");
  std::ifstream in("C:\\Items.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "Row\tName\tCity\r\n1\t" + greek + "\t" + cjk + "\t\r\n2\t" + cyrillic + "\t" + emoji + "\t\r\n");
}

// An about box shows at most 10,000 bytes of its body: with characters of
// three bytes, the cut falls inside one and goes back to where it starts.
TEST_F(Utf8Host, ALongBodyIsCutWhereACharacterEnds) {
  std::string body;
  for (int i = 0; i < 4000; ++i) body += "\xE6\x9D\xB1";
  std::wstring shown;
  std::string answer = run_export<Show10>("ShowAbout", [&](Dialog& d) {
    shown = window_text_of(d.gadget(BODY));
    click_gadget(d, 4);
  }, "About", "Heading", "Sub", "", body.c_str(), "", "", "300", "250", "0");
  EXPECT_EQ(answer, "OK");
  EXPECT_EQ(shown, std::wstring(3333, L'\x6771'));
}
