// ShowDragnDrop with files dropped the way the shell drops them: a DROPFILES
// block in movable global memory, posted to the list as WM_DROPFILES.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int FILES = 3, OK = 1, CANCEL = 2;

void drop_files(const Dialog& d, const std::vector<std::string>& names) {
  PostMessageA(d.gadget(FILES), WM_DROPFILES, reinterpret_cast<WPARAM>(make_drop(names)), 0);
  settle(d);
}

int rows(const Dialog& d) { return int(SendMessageA(d.gadget(FILES), LVM_GETITEMCOUNT, 0, 0)); }

std::string joined(const std::vector<std::string>& names) {
  std::string all;
  for (const std::string& name : names) all += name + "|";
  return all;
}

class DropDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    show = shared_library().get<Show4>("ShowDragnDrop");
    ASSERT_NE(show, nullptr);
  }
  std::string run(Text width, Text height, const std::function<void(Dialog&)>& drive, HWND host = nullptr) {
    std::string host_text = host ? std::to_string(reinterpret_cast<intptr_t>(host)) : "0";
    return run_dialog([&] { return show("Drop files here", width, height, host_text.c_str()); }, drive, host,
                      current_dialog());
  }
  Show4 show = nullptr;
};


}  // namespace

TEST_F(DropDialog, LayoutAndDropsThatAccumulateInOrder) {
  HostWindow host;
  std::string answer = run("400", "300", [](Dialog& d) {
    expect_rect(d.client(), 0, 0, 400, 300, "client");
    expect_rect(d.gadget_rect(FILES), 5, 5, 390, 263, "list");
    expect_rect(d.gadget_rect(OK), 145, 273, 50, 23, "OK");
    expect_rect(d.gadget_rect(CANCEL), 205, 273, 50, 23, "Cancel");
    HWND list = d.gadget(FILES);
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << "the list takes no drops";
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 390);
    char title[32] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(title, "Files");
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfHeight, -12);

    drop_files(d, {"C:\\a.txt"});
    drop_files(d, {"C:\\b.txt", "C:\\c.txt"});
    drop_files(d, {"C:\\a.txt"});  // dropped twice, listed twice
    EXPECT_EQ(rows(d), 4);
    save_screenshot(d.window, "drop");
    click_gadget(d, OK);
  }, host.handle());
  EXPECT_EQ(answer, "C:\\a.txt|C:\\b.txt|C:\\c.txt|C:\\a.txt|");
}

TEST_F(DropDialog, NothingDroppedCancelAndTheEmptyDrop) {
  EXPECT_EQ(run("400", "300", [](Dialog& d) { click_gadget(d, OK); }), "");
  EXPECT_EQ(run("400", "300", [](Dialog& d) {
              drop_files(d, {"C:\\dropped.txt"});
              click_gadget(d, CANCEL);
            }),
            "CANCEL");
  EXPECT_EQ(run("400", "300", [](Dialog& d) {
              drop_files(d, {});  // a drop that names no file adds no row
              EXPECT_EQ(rows(d), 0);
              click_gadget(d, OK);
            }),
            "");
}

TEST_F(DropDialog, FoldersLongNamesAndLatinLettersComeBackByteForByte) {
  char windows_folder[MAX_PATH];
  GetWindowsDirectoryA(windows_folder, MAX_PATH);
  std::string long_name = "C:\\" + std::string(252, 'n') + ".txt";  // 259 characters
  ASSERT_EQ(long_name.size(), 259u);
  std::vector<std::string> names = {windows_folder, long_name, "C:\\My Files\\caf\xE9 m\xFC" "de.txt"};
  std::string answer = run("400", "300", [&](Dialog& d) {
    drop_files(d, names);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, joined(names));
}

TEST_F(DropDialog, AThousandFilesInOneDrop) {
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) names.push_back("C:\\folder\\file " + std::to_string(i) + ".dat");
  DWORD took = 0;
  std::string answer = run("400", "300", [&](Dialog& d) {
    DWORD start = GetTickCount();
    drop_files(d, names);
    took = GetTickCount() - start;
    EXPECT_EQ(rows(d), 1000);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, joined(names));
  RecordProperty("drop_of_1000_ms", int(took));
}
