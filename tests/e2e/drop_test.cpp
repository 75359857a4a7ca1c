// ShowDragnDrop with files dropped the way the shell drops them: a DROPFILES
// block in movable global memory, posted to the list as WM_DROPFILES.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
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

// A drop block of exactly these bytes, as another process could send it.
HGLOBAL raw_block(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

// A DROPFILES header naming `offset`, then `names` as they stand.
std::string block_bytes(uint32_t offset, bool wide, const std::string& names) {
  DROPFILES header = {};
  header.pFiles = offset;
  header.fWide = wide;
  return std::string(reinterpret_cast<const char*>(&header), sizeof header) + names;
}

void drop_raw(const Dialog& d, const std::string& bytes) {
  PostMessageA(d.gadget(FILES), WM_DROPFILES, reinterpret_cast<WPARAM>(raw_block(bytes)), 0);
  settle(d);
}

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

// A drop message can come from a less trusted process: its block is read
// within its own size, whatever its header claims.
TEST_F(DropDialog, BlocksThatLieAddNothingOrOnlyWhatTheyHold) {
  std::string answer = run("400", "300", [](Dialog& d) {
    drop_raw(d, block_bytes(0x7FFFFFF0, false, std::string("C:\\a.txt\0\0", 10)));
    drop_raw(d, block_bytes(20, false, ""));  // the header alone
    drop_raw(d, block_bytes(8, false, std::string("C:\\a.txt\0\0", 10)));  // names inside the header
    EXPECT_EQ(rows(d), 0) << "rows from a block that names nothing readable";
    drop_raw(d, block_bytes(20, false, std::string("C:\\kept.txt\0C:\\unended", 22)));
    // 16-bit names at an odd offset, the last one cut short.
    std::string wide = "\x01";
    for (char c : std::string("C:\\wide.txt")) wide += std::string(1, c) + '\0';
    wide += std::string("\0\0C\0:", 5);
    drop_raw(d, block_bytes(21, true, wide));
    EXPECT_EQ(rows(d), 2);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "C:\\kept.txt|C:\\wide.txt|");
}

// A drag through OLE from another program, as Explorer and many others
// drag: the list takes it with the copy cursor.
TEST_F(DropDialog, ADragFromAnotherProgram) {
  std::string answer = run("400", "300", [](Dialog& d) {
    RECT list = d.gadget_rect(FILES);
    POINT target = d.client_to_screen((list.left + list.right) / 2, (list.top + list.bottom) / 2);
    std::string command = "\"" + beside_program("drag_source.exe") + "\" " + std::to_string(target.x) + " " +
                          std::to_string(target.y) + " C:\\dragged\\one.txt \"C:\\dragged\\two words.txt\"";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION source = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &source));
    EXPECT_EQ(WaitForSingleObject(source.hProcess, 30000), WAIT_OBJECT_0) << "the drag did not end";
    DWORD code = 99;
    GetExitCodeProcess(source.hProcess, &code);
    EXPECT_EQ(code, 0u) << "the drag was not taken as a copy";
    CloseHandle(source.hThread);
    CloseHandle(source.hProcess);
    EXPECT_TRUE(wait_until([&] { return rows(d) == 2; }));
    save_screenshot(d.window, "drop_from_another_program");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "C:\\dragged\\one.txt|C:\\dragged\\two words.txt|");
}

// A host thread that is in the multi-threaded COM mode cannot have OLE's
// drop targets; its dialog still takes the shell's drop messages.
TEST_F(DropDialog, AHostThreadInAnotherComMode) {
  std::string answer;
  std::atomic<bool> done{false};
  std::thread host([&] {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    DWORD me = GetCurrentThreadId();
    answer = run_dialog([&] { return show("Drop files here", "400", "300", "0"); },
                        [](Dialog& d) {
                          drop_files(d, {"C:\\mta.txt"});
                          click_gadget(d, OK);
                        },
                        nullptr, current_dialog(), [me](HWND w) { return GetWindowThreadProcessId(w, nullptr) == me; });
    CoUninitialize();
    done = true;
  });
  // This thread's dialog is handed back to it, and it closes it as a host's loop would.
  wait_until([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return done.load();
  }, 60000);
  host.join();
  EXPECT_EQ(answer, "C:\\mta.txt|");
}
