#include "sorter/line_reader.h"
#include "sorter/text_files.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/object_table.h"
#include "runtime_fixture.h"
#include "sorter/sorter.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/windows/windows.h"

using namespace vantrel;

namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The size on disk while the writer still holds the file.
DWORD size_on_disk(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  DWORD size = GetFileSize(file, nullptr);
  CloseHandle(file);
  return size;
}

}  // namespace

using TextFiles = RuntimeTest;

TEST_F(TextFiles, LinesAreBufferedAndLongOnesGoStraightThrough) {
  std::string path = temp_path("vantrel_writer.txt");
  { std::ofstream(path, std::ios::binary) << std::string(10000, 'o'); }  // an older, longer file
  int32_t file = int32_t(file_create(OBJECT_ANY, path.c_str()));
  ASSERT_NE(file, 0);
  EXPECT_EQ(size_on_disk(path), 0u) << "the older file was not replaced";
  EXPECT_EQ(file_write_line(file, "short"), 7);
  EXPECT_EQ(file_write_line(file, ""), 2);
  EXPECT_EQ(size_on_disk(path), 0u) << "a short line was written before the close";
  std::string long_line(5000, 'x');
  file_write_line(file, long_line.c_str());
  EXPECT_GE(size_on_disk(path), 5009u) << "a long line waited in the buffer";
  file_close(file);
  EXPECT_EQ(contents(path), "short\r\n\r\n" + long_line + "\r\n");
  EXPECT_EQ(file_write_line(file, "closed"), 0);
  file_close(-1);
  file_close(file);
  DeleteFileA(path.c_str());
  EXPECT_EQ(file_create(OBJECT_ANY, "C:\\no\\such\\folder\\x.txt"), 0);
}

TEST_F(TextFiles, LinesAreReadAcrossEveryKindOfBreak) {
  const char* text = "one\r\ntwo\n\rthree\rfour\n\nsix";
  std::vector<std::string> lines;
  for (int i = 0; i < 7; ++i) {
    int32_t p = buffer_position();
    read_text_line(text, i == 0, p);
    lines.push_back(take(p));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "six", ""}));
}

// Written in runs, the lines come out as the line reader finds them, each
// ended by CR LF.
TEST_F(TextFiles, TextIsWrittenAsTheLinesTheReaderFinds) {
  std::string path = temp_path("vantrel_lines.txt");
  std::string r(9000, 'r');
  const std::pair<std::string, std::string> cases[] = {
      {"", "\r\n"},
      {"plain", "plain\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\r\rb\n\nc\n\rd\r", "a\r\n\r\nb\r\n\r\nc\r\nd\r\n"},
      {"\n\r\r\n\n", "\r\n\r\n\r\n"},
      {"t\r\r\n", "t\r\n\r\n"},
      {"0123456789\r0123456\n0123456789abcdef\n\r-", "0123456789\r\n0123456\r\n0123456789abcdef\r\n-\r\n"},
      {r + "\r\n" + r + "\r" + r, r + "\r\n" + r + "\r\n" + r + "\r\n"},
  };
  for (const auto& c : cases) {
    int32_t file = int32_t(file_create(OBJECT_ANY, path.c_str()));
    ASSERT_NE(file, 0);
    EXPECT_TRUE(write_text_lines(find_file(file), c.first.data(), c.first.size()));
    file_close(file);
    EXPECT_EQ(contents(path), c.second) << "text of " << c.first.size() << " bytes";
  }
  DeleteFileA(path.c_str());
}

class ListExport : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    HWND window = reinterpret_cast<HWND>(open_window(0, 0, 0, 400, 300, "export", WINDOW_CENTRE_SCREEN));
    begin_gadget_list(window);
    ASSERT_NE(create_list_icon_gadget(3, 5, 5, 390, 250, "T1", 50), 0);
    add_gadget_column(3, 1, "T2", 50);
    add_gadget_column(3, 2, "T3", 50);
    path = temp_path("vantrel_export.txt");
  }
  std::string path;
};

TEST_F(ListExport, TitlesThenRowsEachCellFollowedByATab) {
  add_gadget_item(3, -1, "x\ny\nz");
  add_gadget_item(3, -1, "u\nv\nw");
  EXPECT_EQ(sorter_export_to_file(3, path.c_str()), 1);
  EXPECT_EQ(contents(path), "T1\tT2\tT3\r\nx\ty\tz\t\r\nu\tv\tw\t\r\n");
  // Sorted first: the file follows the list's order.
  ASSERT_EQ(sorter_register(3, 0), SORTER_DONE);
  sorter_sort_column(3, 0, 1);
  EXPECT_EQ(sorter_export_to_file(3, path.c_str()), 1);
  EXPECT_EQ(contents(path), "T1\tT2\tT3\r\nu\tv\tw\t\r\nx\ty\tz\t\r\n");
}

TEST_F(ListExport, AnEmptyListLeavesAnEmptyFile) {
  { std::ofstream(path, std::ios::binary) << "older contents"; }
  EXPECT_EQ(sorter_export_to_file(3, path.c_str()), 0);
  EXPECT_EQ(contents(path), "");
  EXPECT_EQ(sorter_export_to_file(9, path.c_str()), 0);
}
