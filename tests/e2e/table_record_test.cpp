// ShowMultiListBox answers and exports byte for byte as the build before the
// table kept its own rows: tables with equal keys in every letter case, line
// feeds and carriage returns in cells, short and long rows, empty and long
// cells, sorted by real header clicks, checked against what that build
// answered and exported for them (tests/e2e/data/table_record.txt). With
// VANTREL_RECORD set to a file, the test writes that record instead, from
// whichever library it loads.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int TABLE = 3, OK = 1;

// With `returns`, some cells hold a carriage return, which sends the whole
// export through the line reader's cuts; without, every line is written straight.
std::string make_table(int rows, unsigned seed, bool returns) {
  static const char* names[] = {"apple", "Apple", "APPLE", "banana", "Cherry", "cherry ", "", "z", "Zebra",
                                "a b",   "ab",    "a-b",   "line\nfeed", "return\rhere", "\xE9t\xE9", "\xC9T\xC9",
                                "lemon Tart", "Lemon tarT x"};
  static const char* sizes[] = {"10 KB", "2 MB", "900 b", "1.5 GB", "", "10 kb"};
  std::string table = "90~Name;60~Size;Count;When;Note;|";
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  auto without_return = [](const char* name) { return strchr(name, '\r') ? "no return" : name; };
  for (int i = 0; i < rows; ++i) {
    // (One expression, as the record was made: the order its draws are taken in stays.)
    std::string row = std::string(returns ? names[next() % 18] : without_return(names[next() % 18])) + ";" +
                      sizes[next() % 6] + ";" + std::to_string(int(next() % 40) - 20) + ";";
    char date[16];
    std::snprintf(date, sizeof date, "%02u/%02u/%04u", next() % 3 + 1, next() % 2 + 1, 2020 + next() % 2);
    row += std::string(date) + ";";
    switch (next() % 6) {
      case 0: row += std::string(300, 'q') + char('a' + next() % 3) + ";"; break;  // past the sort's limit
      case 1: break;                                                             // a short row
      case 2: row += "note;extra;"; break;                                       // a long row
      case 3: row += "note;after the last"; break;                               // text after the last ";"
      default: row += "n" + std::to_string(next() % 4) + ";"; break;
    }
    table += row + "|";
  }
  return table;
}

std::string export_file() {
  std::ifstream in("C:\\Items.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

unsigned long long fnv1a(const std::string& bytes) {
  unsigned long long hash = 14695981039346656037ull;
  for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// One run: header clicks (list columns), then the row at `place` (-1: the
// last) chosen by keyboard and OK.
struct Session {
  std::vector<int> clicks;
  int place;
  const char* result_column;
};

std::string escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\\' || c < 32 || c > 126) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      out += code;
    } else {
      out += char(c);
    }
  }
  return out;
}

}  // namespace

TEST(TableRecord, AnswersAndExportsAsTheBuildBefore) {
  auto show = shared_library().get<Show6>("ShowMultiListBox");
  ASSERT_NE(show, nullptr);
  const Session runs[] = {{{}, 0, "-1"},        {{2}, 5, "1"},          {{1}, 17, "-1"},   {{1, 1}, 3, "5"},
                      {{4, 3}, 40, "-1"},   {{5}, 9, "0"},          {{3, 3, 3}, 0, "2"}, {{1, 4}, -1, "-1"}};
  std::ostringstream record;
  for (unsigned table_seed : {1u, 2u, 3u}) {
    std::string table = make_table(table_seed == 1 ? 300 : 2000, table_seed, table_seed != 3);
    for (size_t r = 0; r < sizeof runs / sizeof runs[0]; ++r) {
      const Session& run = runs[r];
      DeleteFileA("C:\\Items.txt");
      std::string answer = run_dialog(
          [&] { return show("Record", table.c_str(), run.result_column, "500", "400", "0"); },
          [&](Dialog& d) {
            for (int column : run.clicks)
              ASSERT_TRUE(click_list_header_to_sort(d, TABLE, column)) << "a click on header " << column;
            SetForegroundWindow(d.window);
            SetFocus(d.gadget(TABLE));
            settle(d);
            press_key(run.place < 0 ? VK_END : VK_HOME);
            for (int i = 0; i < run.place; ++i) press_key(VK_DOWN);
            settle(d);
            click_gadget(d, OK);
          },
          nullptr, current_dialog());
      std::string exported = export_file();
      char line[64];
      std::snprintf(line, sizeof line, " export %zu bytes %016llx\n", exported.size(), fnv1a(exported));
      record << "table " << table_seed << " run " << r << " answer " << escaped(answer) << line;
    }
  }
  if (const char* recording = std::getenv("VANTREL_RECORD")) {
    std::ofstream(recording, std::ios::binary) << record.str();
    return;
  }
  std::ifstream before(beside_program("table_record.txt"), std::ios::binary);
  ASSERT_TRUE(before.good()) << "no table_record.txt beside the tests";
  std::string expected((std::istreambuf_iterator<char>(before)), {});
  std::istringstream got(record.str()), want(expected);
  for (std::string a, b; std::getline(want, b);) {
    ASSERT_TRUE(std::getline(got, a)) << "missing: " << b;
    EXPECT_EQ(a, b);
  }
}
