// Installers that no one here wrote call the library as installers in the
// field do: Debian's makensis builds them (nsis_test.sh), NSIS's own System
// plug-in makes the calls, and a person answers the dialog. An installer
// that was not built for this machine's kind is skipped.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1;

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the installer beside this program, answers its dialog with `drive`,
// and gives what it wrote to `answer_file` beside it.
std::string run_installer(const char* installer, const char* answer_file, const std::function<void(Dialog&)>& drive) {
  std::string program = beside_program(installer), answer = beside_program(answer_file);
  DeleteFileA(answer.c_str());
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION child = {};
  std::string command = "\"" + program + "\"";
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
    ADD_FAILURE() << "cannot start " << program;
    return "";
  }
  Dialog d = {nullptr};
  bool appeared = wait_until([&] {
    HWND w = current_dialog();
    DWORD owner = 0;
    if (w) GetWindowThreadProcessId(w, &owner);
    DWORD_PTR answered;
    if (!w || owner != child.dwProcessId || !IsWindowVisible(w) ||
        !SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &answered))
      return false;
    d.window = w;
    return true;
  }, 30000);
  EXPECT_TRUE(appeared) << installer << " showed no dialog";
  if (appeared) {
    settle(d);
    drive(d);
  }
  if (WaitForSingleObject(child.hProcess, 30000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << installer << " did not end";
    TerminateProcess(child.hProcess, 99);
  }
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  return read_file(answer);
}

bool built(const char* installer) { return GetFileAttributesA(beside_program(installer).c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(Nsis, AnAnsiInstallerCallsTheFixedExport) {
  if (!built("nsis_ansi.exe")) GTEST_SKIP() << "no ANSI installer for this machine's kind";
  std::string answer = run_installer("nsis_ansi.exe", "nsis_ansi_answer.txt", [](Dialog& d) {
    char title[64] = {};
    GetWindowTextA(d.window, title, sizeof title);
    EXPECT_STREQ(title, "NSIS ANSI");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "from an installer");
}

TEST(Nsis, AUnicodeInstallerCallsTheWideExport) {
  if (!built("nsis_unicode.exe")) GTEST_SKIP() << "no Unicode installer";
  const std::wstring typed = L"\x041F\x0440\x0438\x0432\x0435\x0442 \x6771\x4EAC \xD83D\xDE00";
  std::string answer = run_installer("nsis_unicode.exe", "nsis_unicode_answer.txt", [&](Dialog& d) {
    wchar_t title[64] = {};
    GetWindowTextW(d.window, title, 64);
    EXPECT_EQ(std::wstring(title), L"NSIS \x03A9\x03BC\x03AD\x03B3\x03B1 \x6771\x4EAC");
    SetForegroundWindow(d.window);
    settle(d);
    type_unicode(typed);
    settle(d);
    save_screenshot(d.window, "nsis_unicode");
    click_gadget(d, OK);
  });
  // NSIS writes UTF-16, little end first, with no byte-order mark.
  std::string expected;
  for (wchar_t c : typed) expected += std::string{char(c & 0xFF), char(c >> 8)};
  EXPECT_EQ(answer, expected);
}
