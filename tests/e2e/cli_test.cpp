// vantrel.exe as a script runs it: options, items from arguments or piped
// in, the answer on standard output and the exit code.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1, CANCEL = 2, ABOUT_OK = 4;

using Outcome = ConsoleOutcome;

Outcome run_cli(const std::string& arguments, const std::string& input = "",
                const std::function<void(Dialog&)>& drive = nullptr, const std::string& program = "") {
  return run_console(arguments, input, drive, program);
}

std::string title_of(const Dialog& d) {
  char text[128] = {};
  GetWindowTextA(d.window, text, sizeof text);
  return text;
}

void expect_answer(const Outcome& o, DWORD code, const std::string& out) {
  EXPECT_EQ(o.code, code) << o.err;
  EXPECT_EQ(o.out, out);
}

}  // namespace

TEST(CommandLine, EntryCalendarAndAboutAnswerOrCancel) {
  expect_answer(run_cli("--entry --title \"Your name\" --text Ada", "", [](Dialog& d) {
                  EXPECT_EQ(title_of(d), "Your name");
                  expect_rect(d.client(), 0, 0, 300, 200, "the entry's default size");
                  click_gadget(d, OK);
                }),
                0, "Ada\n");
  expect_answer(run_cli("--entry --text=Ada --width 400 --height=250", "", [](Dialog& d) {
                  expect_rect(d.client(), 0, 0, 400, 250, "--width and --height");
                  click_gadget(d, CANCEL);
                }),
                1, "");
  expect_answer(run_cli("--calendar --date 29/02/2024 --format EUR", "", [](Dialog& d) { click_gadget(d, OK); }), 0,
                "29/02/2024\n");
  expect_answer(run_cli("--calendar --date 2040-07-15", "", [](Dialog& d) { click_gadget(d, OK); }), 0,
                "2040-07-15\n");
  expect_answer(run_cli("--about --title About --heading Vantrel --text \"Dialogs for scripts\"", "",
                        [](Dialog& d) { click_gadget(d, ABOUT_OK); }),
                0, "OK\n");
}

TEST(CommandLine, ItemsFromArgumentsOrPipedIn) {
  expect_answer(run_cli("--list --column Colour", "Red\r\nGreen\nBlue\n", [](Dialog& d) {
                  EXPECT_EQ(title_of(d), "Colour") << "the column names the list";
                  EXPECT_EQ(SendMessageA(d.gadget(0), LB_GETCOUNT, 0, 0), 3);
                  SendMessageA(d.gadget(0), LB_SETCURSEL, 1, 0);
                  click_gadget(d, OK);
                }),
                0, "Green\n");
  expect_answer(run_cli("--combo --title Pick one two \"three words\"", "", [](Dialog& d) {
                  SendMessageA(d.gadget(0), CB_SETCURSEL, 2, 0);
                  click_gadget(d, OK);
                }),
                0, "three words\n");
  expect_answer(run_cli("--list a b", "", [](Dialog& d) { click_gadget(d, OK); }), 1, "");  // OK without a choice
}

// A table's row chosen as a person would in another process: by typing its start, then OK.
std::function<void(Dialog&)> choose_by_typing(const std::string& start) {
  return [start](Dialog& d) {
    SetForegroundWindow(d.window);
    settle(d);
    type_text(start);
    settle(d);
    click_gadget(d, OK);
  };
}

TEST(CommandLine, TablesFromCellsOrTabSeparatedLines) {
  auto pick_jones = choose_by_typing("j");
  expect_answer(run_cli("--table --column 120~Name --column Age --print-column ALL Smith 42 Jones 37", "", pick_jones),
                0, "Jones|37\n");
  expect_answer(run_cli("--list --column Name --column Age", "Smith\t42\nJones\t37\n", pick_jones), 0, "Jones\n");
  expect_answer(run_cli("--table --column Name Smith Jones", "", [](Dialog& d) { click_gadget(d, CANCEL); }), 1, "");
}

TEST(CommandLine, DroppedFilesOneALine) {
  expect_answer(run_cli("--drop", "", [](Dialog& d) {
                  RECT list = d.gadget_rect(3);
                  POINT target = d.client_to_screen((list.left + list.right) / 2, (list.top + list.bottom) / 2);
                  std::string command = "\"" + beside_program("drag_source.exe") + "\" " + std::to_string(target.x) +
                                        " " + std::to_string(target.y) + " C:\\a.txt \"C:\\b c.txt\"";
                  STARTUPINFOA startup = {sizeof startup};
                  PROCESS_INFORMATION source = {};
                  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                             &startup, &source));
                  EXPECT_EQ(WaitForSingleObject(source.hProcess, 30000), WAIT_OBJECT_0);
                  CloseHandle(source.hThread);
                  CloseHandle(source.hProcess);
                  settle(d);
                  click_gadget(d, OK);
                }),
                0, "C:\\a.txt\nC:\\b c.txt\n");
  expect_answer(run_cli("--drop", "", [](Dialog& d) { click_gadget(d, OK); }), 0, "");  // nothing dropped
  expect_answer(run_cli("--drop", "", [](Dialog& d) { click_gadget(d, CANCEL); }), 1, "");
}

// Usage errors end at once with a message and code 2, and show no dialog.
TEST(CommandLine, UsageErrorsAndHelp) {
  const char* wrong[] = {
      "--list \"a|b\" c",                        // a separator inside an item
      "--table --column Name --column Age x",    // cells that make no whole row
      "--table --column \"a;b\" x",              // a separator in a title
      "--table --column Name \"x;y\"",           // and in a cell
      "--table x y",                             // no columns
      "--entry --colour red",                    // an unknown option
      "--title T",                               // no dialog named
      "--entry --list",                          // two dialogs
      "--entry --title",                         // a value missing
      "--entry stray",                           // an argument the entry has no use for
      "--table --column A --print-column x a",   // not a column
      "--table --column A --column B --column C --print-column 0 a b c",   // columns run from 1
      "--table --column A --column B --column C --print-column 99 a b c",  // and end at the last
      "--list --column A --print-column 1 a",    // a list of one column prints its item
      "--entry --width abc",                     // sizes that are no number of pixels
      "--entry --width 99999999999",
      "--entry --width -300",
      "--list --height 0 a",
      "--entry --height=+12",
      "--entry --width 100000",                  // beyond any screen
      "--entry=foo",                             // a dialog takes no value
      "--entry --date 2024-01-01",               // an option the dialog has no use for
      "--list --text hello a",
      "--about --column A",
      "--calendar --width 300",
      "--calendar --date 2023-02-29",            // no such day
      "--calendar --date 2024-13-01",
      "--calendar --date 29/02/2024",            // not the format's shape
      "--calendar --date 1700-01-01",            // before what the calendar can show
      "--calendar --format GERMAN",              // no such format
      "--",                                      // nothing named before the options end
  };
  for (const char* arguments : wrong) {
    Outcome o = run_cli(arguments);
    EXPECT_EQ(o.code, 2u) << arguments;
    EXPECT_NE(o.err.find("vantrel: "), std::string::npos) << arguments;
    EXPECT_EQ(o.out, "") << arguments;
  }
  EXPECT_EQ(run_cli("--list", "a|b\n").code, 2u) << "a separator in a piped item";
  Outcome bare = run_cli("");
  EXPECT_EQ(bare.code, 2u) << "no arguments at all";
  EXPECT_EQ(bare.out, "");
  EXPECT_NE(bare.err.find("--entry"), std::string::npos) << "the help goes to standard error";
  Outcome lone = run_cli("--");
  EXPECT_NE(lone.err.find("\"--\" ends the options"), std::string::npos) << lone.err;
  Outcome day = run_cli("--calendar --format US --date 02/30/2024");
  EXPECT_NE(day.err.find("MM/DD/YYYY"), std::string::npos) << "the message shows the format: " << day.err;
  Outcome help = run_cli("--help");
  EXPECT_EQ(help.code, 0u);
  for (const char* mentioned : {"--entry", "--calendar", "--list", "--combo", "--drop", "--table", "--about",
                                "--print-column", "standard input", "Exit code", "ShowMultiListBox"})
    EXPECT_NE(help.out.find(mentioned), std::string::npos) << mentioned;
  Outcome version = run_cli("--version");
  EXPECT_EQ(version.out.substr(0, 8), "vantrel ");
  // The raw form is as it was.
  expect_answer(run_cli("ShowListBox Colour \"Red|Green|\" 200 150 0", "", [](Dialog& d) { click_gadget(d, CANCEL); }),
                0, "CANCEL\n");
}

// Standard input as scripts send it: read as bytes, every line kept.
TEST(CommandLine, StandardInputAsBytes) {
  Outcome nul = run_cli("--list", std::string("a\0b\nc\nd\n", 8));
  EXPECT_EQ(nul.code, 2u) << "a NUL byte loses no items silently";
  EXPECT_NE(nul.err.find("line 1 "), std::string::npos) << nul.err;
  Outcome third = run_cli("--list", std::string("a\nb\nc\0\n", 7));
  EXPECT_NE(third.err.find("line 3 "), std::string::npos) << third.err;
  EXPECT_EQ(run_cli("--list", "").code, 2u) << "no items at all";
  EXPECT_EQ(run_cli("--table --column A", "").code, 2u) << "no rows at all";
  // A Ctrl-Z is text, not the end of the input.
  expect_answer(run_cli("--list", "a\nb\x1a" "c\nd\n", [](Dialog& d) {
                  EXPECT_EQ(SendMessageA(d.gadget(0), LB_GETCOUNT, 0, 0), 3);
                  SendMessageA(d.gadget(0), LB_SETCURSEL, 2, 0);
                  click_gadget(d, OK);
                }),
                0, "d\n");
  expect_answer(run_cli("--list", "a\nb\x1a" "c\nd\n", [](Dialog& d) {
                  SendMessageA(d.gadget(0), LB_SETCURSEL, 1, 0);
                  click_gadget(d, OK);
                }),
                0, "b\x1a" "c\n");
}

// A table's rows from standard input: more cells than columns is an error
// naming the line; fewer end with empty cells.
TEST(CommandLine, TableRowsFromStandardInput) {
  Outcome wide = run_cli("--table --column A --column B --column C", "a\tb\tc\nc\td\te\tf\n");
  EXPECT_EQ(wide.code, 2u);
  EXPECT_NE(wide.err.find("line 2 has 4 cells for 3 columns"), std::string::npos) << wide.err;
  EXPECT_EQ(wide.out, "");
  expect_answer(run_cli("--table --column A --column B --column C --print-column ALL", "x\n", choose_by_typing("x")),
                0, "x||\n");
}

// OK and Cancel told apart whatever the answer: an empty cell, an item or a
// text that reads "CANCEL" are answers; Cancel and OK with nothing chosen are not.
TEST(CommandLine, AnswersThatLookLikeCancel) {
  expect_answer(run_cli("--table --column Name --column Note --print-column 2", "Smith\t\n", choose_by_typing("s")), 0,
                "\n");
  expect_answer(run_cli("--table --column Name --column Note --print-column 2", "Smith\t\n",
                        [](Dialog& d) { click_gadget(d, OK); }),
                1, "");
  expect_answer(run_cli("--list CANCEL other", "", [](Dialog& d) {
                  SendMessageA(d.gadget(0), LB_SETCURSEL, 0, 0);
                  click_gadget(d, OK);
                }),
                0, "CANCEL\n");
  expect_answer(run_cli("--combo CANCEL other", "", [](Dialog& d) {
                  SendMessageA(d.gadget(0), CB_SETCURSEL, 0, 0);
                  click_gadget(d, OK);
                }),
                0, "CANCEL\n");
  expect_answer(run_cli("--combo CANCEL other", "", [](Dialog& d) { click_gadget(d, CANCEL); }), 1, "");
  expect_answer(run_cli("--entry --text CANCEL", "", [](Dialog& d) { click_gadget(d, OK); }), 0, "CANCEL\n");
  expect_answer(run_cli("--entry --text \"\"", "", [](Dialog& d) { click_gadget(d, OK); }), 0, "\n");
}

// Without vantrel.dll beside it, both forms end with code 3.
TEST(CommandLine, MissingLibrary) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "vantrel_alone";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string alone = folder + "\\vantrel.exe";
  ASSERT_TRUE(CopyFileA(beside_program("vantrel.exe").c_str(), alone.c_str(), FALSE));
  Outcome raw = run_cli("ShowInput Name Ada 300 200 0", "", nullptr, alone);
  Outcome options = run_cli("--entry", "", nullptr, alone);
  DeleteFileA(alone.c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(raw.code, 3u) << raw.err;
  EXPECT_EQ(options.code, 3u) << options.err;
  EXPECT_NE(raw.err.find("vantrel.dll"), std::string::npos);
}

// Every character on the way in and out: the command line as UTF-16,
// standard input as UTF-8 (a byte-order mark of UTF-8 or UTF-16 honoured),
// answers as UTF-8 to a pipe.
TEST(CommandLine, UnicodeInAndOut) {
  const std::string greek = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1", cyrillic = "\xD0\x9C\xD0\xB8\xD1\x80",
                    cjk = "\xE6\x9D\xB1\xE4\xBA\xAC", emoji = "\xF0\x9F\x98\x80";
  expect_answer(run_cli("--entry --title " + cyrillic + " --text \"" + greek + " " + emoji + "\"", "",
                        [&](Dialog& d) { click_gadget(d, OK); }),
                0, greek + " " + emoji + "\n");
  expect_answer(run_cli("ShowInput " + cjk + " " + cyrillic + " 300 200 0", "", [](Dialog& d) { click_gadget(d, OK); }),
                0, cyrillic + "\n");
  auto second = [](Dialog& d) {
    EXPECT_EQ(SendMessageW(d.gadget(0), LB_GETCOUNT, 0, 0), 3);
    SendMessageW(d.gadget(0), LB_SETCURSEL, 1, 0);
    click_gadget(d, OK);
  };
  std::string items = greek + "\n" + cjk + "\r\n" + cyrillic + "\n";
  expect_answer(run_cli("--list", items, second), 0, cjk + "\n");
  expect_answer(run_cli("--list", "\xEF\xBB\xBF" + items, second), 0, cjk + "\n");
  std::string utf16 = "\xFF\xFE";  // the same lines as UTF-16, little end first
  std::wstring wide(size_t(MultiByteToWideChar(CP_UTF8, 0, items.c_str(), int(items.size()), nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, items.c_str(), int(items.size()), &wide[0], int(wide.size()));
  for (wchar_t c : wide) utf16 += std::string{char(c & 0xFF), char(c >> 8)};
  expect_answer(run_cli("--list", utf16, second), 0, cjk + "\n");
  // Bytes that are not UTF-8: a usage error naming their line, and no dialog.
  Outcome broken = run_cli("--list", "one\n\xC3(\nthree\n");
  EXPECT_EQ(broken.code, 2u);
  EXPECT_NE(broken.err.find("line 2 of standard input is not UTF-8"), std::string::npos) << broken.err;
  EXPECT_EQ(broken.out, "");
}
