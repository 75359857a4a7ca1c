// What the dialogs are asked to show, at its worst: item lists of a million
// items, tables of every odd shape, dates of every malformed form, and an
// export file that cannot be written. Each dialog opens, ends with its
// buttons and answers as it should.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1, CANCEL = 2, ITEMS = 0, TABLE = 3, CALENDAR = 0;

void press(const Dialog& d, int number) {
  PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(number, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(number)));
}

std::string repeated(const std::string& piece, size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// The table's first row (as shown) selected, then OK.
void choose_first_row(Dialog& d) {
  LVITEMA item = {};
  item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(d.gadget(TABLE), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  press(d, OK);
}

bool shaped_like(const std::string& answer, const char* shape) {  // '9' stands for a digit
  if (answer.size() != strlen(shape)) return false;
  for (size_t i = 0; i < answer.size(); ++i)
    if (shape[i] == '9' ? !isdigit(static_cast<unsigned char>(answer[i])) : answer[i] != shape[i]) return false;
  return true;
}

}  // namespace

TEST(HostileContent, AMillionItemsAndAMillionEmptyOnes) {
  auto list = shared_library().get<Show5>("ShowListBox");
  auto combo = shared_library().get<Show5>("ShowComboBox");
  const std::string items = repeated("item|", 1000000) + "last|";
  const std::string empty = repeated("|", 1000000);
  // The platform's list box takes a million strings in a time that grows
  // faster than their number: 15 s on a 64-bit Wine here.
  PatientWaits patience(90000);
  // The last of a million and one items, chosen in the list box.
  EXPECT_EQ(run_dialog([&] { return list("List", items.c_str(), "200", "200", "0"); },
                       [](Dialog& d) {
                         EXPECT_EQ(SendMessageA(d.gadget(ITEMS), LB_GETCOUNT, 0, 0), 1000001);
                         SendMessageA(d.gadget(ITEMS), LB_SETCURSEL, 1000000, 0);
                         press(d, OK);
                       },
                       nullptr, current_dialog()),
            "last");
  EXPECT_EQ(run_dialog([&] { return list("List", empty.c_str(), "200", "200", "0"); },
                       [](Dialog& d) {
                         EXPECT_EQ(SendMessageA(d.gadget(ITEMS), LB_GETCOUNT, 0, 0), 1000000);
                         press(d, CANCEL);
                       },
                       nullptr, current_dialog()),
            "CANCEL");
  EXPECT_EQ(run_dialog([&] { return combo("Combo", items.c_str(), "200", "80", "0"); },
                       [](Dialog& d) {
                         EXPECT_EQ(SendMessageA(d.gadget(ITEMS), CB_GETCOUNT, 0, 0), 1000001);
                         press(d, CANCEL);
                       },
                       nullptr, current_dialog()),
            "CANCEL");
  EXPECT_EQ(run_dialog([&] { return combo("Combo", empty.c_str(), "200", "80", "0"); },
                       [](Dialog& d) { press(d, CANCEL); }, nullptr, current_dialog()),
            "CANCEL");
}

TEST(HostileContent, TablesOfEveryOddShape) {
  auto table = shared_library().get<Show6>("ShowMultiListBox");
  std::string wide_header, wide_row, wide_answer;
  for (int i = 0; i < 300; ++i) {
    std::string number = std::to_string(i);
    wide_header.append("C").append(number).append(";");
    wide_row.append(number).append(";");
    wide_answer.append(number).append("|");
  }
  const std::string long_cell(10000, 'w');
  const std::string long_row = repeated("c;", 10000);
  struct Case {
    const char* what;
    std::string text;
    const char* column;
    std::string answer;  // for the first row shown, chosen with OK
  };
  const Case cases[] = {
      {"300 columns", wide_header + "|" + wide_row + "|", "-1", wide_answer},
      {"a header only", "Name;Age;|", "-1", ""},
      {"no rows at all", "Name;Age;", "-1", ""},
      {"'~' first", "~Name;~Age;|Smith;42;|", "1", "Smith"},
      {"'~' last", "120~;60~;|Smith;42;|", "2", "42"},
      {"'~' doubled", "1~~Name;~~;|Smith;42;|", "-1", "Smith|42|"},
      {"a width beyond any number", "99999999999~Name;-2147483648~Age;|Smith;42;|", "1", "Smith"},
      {"';' alone", ";", "-1", ""},
      {"'|' alone", "|", "-1", ""},
      {"bars alone", "||||", "0", "1"},
      {"semicolons and bars", ";|;|;;|", "-1", "|"},
      {"cells of 10,000 characters", "Long;Short;|" + long_cell + ";x;|", "1", long_cell},
      {"a row of 10,000 cells", "A;B;|" + long_row + "|", "-1", "c|c|"},
      // Wine's list takes minutes to make 10,000 columns (2,000 in two seconds).
      {"a header of 1,000 cells", repeated("c;", 1000) + "|" + long_row + "|", "2", "c"},
      {"a result column past the row", "A;B;|x;y;|", "2147483647", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run_dialog([&] { return table("Table", c.text.c_str(), c.column, "400", "300", "0"); }, choose_first_row,
                         nullptr, current_dialog()),
              c.answer);
  }
}

// A day the text does not name shows today; either way OK answers a date in
// the format's form.
TEST(HostileContent, MalformedDatesInEveryFormat) {
  auto calendar = shared_library().get<Show4>("ShowCal");
  const std::string long_date(4000, '1');
  const std::vector<std::string> dates = {"",           "--",         "//",         "abcd-ef-gh", "ab/cd/efgh",
                                          "99/99/9999", "9999-99-99", "0000-00-00", "00/00/0000", "2024-02-30",
                                          "31/04/2024", "-1/-1/-1",   "1969-12-31", "2038-01-20", "2147483647",
                                          " 1/ 2/2024", "TODAY ",     "today",      long_date};
  struct Format {
    const char* name;
    const char* shape;
  };
  const Format formats[] = {{"ISO", "9999-99-99"}, {"US", "99/99/9999"}, {"EUR", "99/99/9999"}, {"", "9999-99-99"}};
  for (const Format& f : formats) {
    for (const std::string& date : dates) {
      SCOPED_TRACE(std::string(f.name) + " " + date.substr(0, 20));
      std::string answer = run_dialog([&] { return calendar("Calendar", date.c_str(), f.name, "0"); },
                                      [](Dialog& d) {
                                        EXPECT_NE(d.gadget(CALENDAR), nullptr);
                                        press(d, OK);
                                      },
                                      nullptr, current_dialog());
      EXPECT_TRUE(shaped_like(answer, f.shape)) << answer;
    }
  }
}

// The list's export cannot be written (a folder stands where the file would,
// or another program holds it open): the answer is the same.
TEST(HostileContent, AnExportFileThatCannotBeWritten) {
  auto table = shared_library().get<Show6>("ShowMultiListBox");
  const char* path = "C:\\Items.txt";
  DeleteFileA(path);
  ASSERT_TRUE(CreateDirectoryA(path, nullptr));
  EXPECT_EQ(run_dialog([&] { return table("Table", "Name;Age;|Smith;42;|", "-1", "300", "200", "0"); },
                       choose_first_row, nullptr, current_dialog()),
            "Smith|42|");
  RemoveDirectoryA(path);
  HANDLE held = CreateFileA(path, GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(run_dialog([&] { return table("Table", "Name;Age;|Smith;42;|", "1", "300", "200", "0"); },
                       choose_first_row, nullptr, current_dialog()),
            "Smith");
  DWORD size = GetFileSize(held, nullptr);
  CloseHandle(held);
  EXPECT_EQ(size, 0u) << "written through another program's lock";
  DeleteFileA(path);
}
