// A library planted beside a host, under the name of one that vantrel.dll or
// vantrel.exe (or the platform's libraries they use) may load, never runs:
// every dialog opens through the fixed and the wide exports, and through the
// console host, with a copy of a logging library under each such name in the
// host's folder. Windows searches a host's folder first for a library named
// bare; Wine prefers its own copy unless told to prefer the one beside the
// program, so each run tells it so for every planted name.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1, CANCEL = 2, ABOUT_OK = 4;

// What the DLL loads at run time, and what the controls it makes load.
// Not UXTHEME: Wine's own USER32 loads it by its bare name at a process's
// first window, in any host that does not restrict its search.
const std::vector<std::string> library_loads = {"riched20", "riched32", "comctl32", "oleacc", "dwmapi"};
// The console host restricts its search before it loads anything, so
// beside it also what the platform's own libraries import (Wine's USER32
// imports VERSION, its SHLWAPI imports SHCORE).
const std::vector<std::string> console_host_loads = {"riched20", "riched32", "uxtheme", "comctl32",
                                                     "oleacc",   "dwmapi",   "shcore",  "version"};

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string environment(const char* name) {
  char value[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
  return length && length < MAX_PATH ? value : "";
}

// A fresh folder holding copies of `files` (from beside this program) and
// the logging library under each of `names`.
class PlantedFolder {
 public:
  PlantedFolder(const std::string& name, const std::vector<std::string>& files, const std::vector<std::string>& names)
      : folder_(beside_program(("planted-" + name).c_str())), log_(folder_ + ".log") {
    remove_folder();
    DeleteFileA(log_.c_str());
    EXPECT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
    for (const std::string& file : files)
      EXPECT_TRUE(CopyFileA(beside_program(file.c_str()).c_str(), path(file).c_str(), FALSE)) << file;
    std::string planted = beside_program("planted_library.dll");
    for (const std::string& planted_name : names)
      EXPECT_TRUE(CopyFileA(planted.c_str(), path(planted_name + ".dll").c_str(), FALSE)) << planted_name;
  }
  ~PlantedFolder() { remove_folder(); }
  std::string path(const std::string& file) const { return folder_ + "\\" + file; }
  const std::string& log() const { return log_; }
  // Each planted file that was loaded, once, one path a line.
  std::string loaded() const {
    std::string lines = contents(log_), once;
    for (size_t at = 0, end; at < lines.size(); at = end + 2) {
      end = lines.find("\r\n", at);
      if (end == std::string::npos) end = lines.size();
      std::string line = lines.substr(at, end - at) + "\n";
      if (once.find(line) == std::string::npos) once += line;
    }
    return once;
  }

 private:
  void remove_folder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA(path(found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder_.c_str());
  }
  std::string folder_, log_;
};

// While it lives, the platform prefers a library beside the program
// `program` (a file name) for each planted name, and the programs started
// find the log and their part in the environment. Wine takes a program's
// library overrides from its own registry key (a child does not read them
// from the environment its parent changed).
class PreferPlanted {
 public:
  PreferPlanted(const std::string& program, const std::vector<std::string>& names, const std::string& log)
      : key_("Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides") {
    HKEY overrides = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &overrides, nullptr),
              ERROR_SUCCESS);
    for (const std::string& name : names)
      RegSetValueExA(overrides, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    RegCloseKey(overrides);
    SetEnvironmentVariableA("VANTREL_PLANTED_LOG", log.c_str());
    SetEnvironmentVariableA("VANTREL_PLANTED_CHILD", "1");
  }
  ~PreferPlanted() {
    RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
    SetEnvironmentVariableA("VANTREL_PLANTED_LOG", nullptr);
    SetEnvironmentVariableA("VANTREL_PLANTED_CHILD", nullptr);
  }

 private:
  std::string key_;
};

void cancel(Dialog& d) { click_gadget(d, CANCEL); }
void close_about(Dialog& d) { click_gadget(d, ABOUT_OK); }

using Wide = const wchar_t*;
using Wide4 = Wide(__stdcall*)(Wide, Wide, Wide, Wide);
using Wide5 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide);
using Wide6 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide, Wide);
using Wide10 = Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide, Wide);

// A wide export's call run as run_dialog runs a call; its answer as UTF-8.
template <typename Show, typename... Texts>
std::string run_wide(const char* name, void (*drive)(Dialog&), Texts... texts) {
  Show show = shared_library().get<Show>(name);
  if (!show) return std::string("<no export ") + name + ">";
  std::wstring answer = L"<null>";
  run_dialog(
      [&]() -> Text {
        if (Wide text = show(texts...)) answer = text;
        return "";
      },
      drive, nullptr, current_dialog());
  return std::string(answer.begin(), answer.end());  // the answers here are ASCII
}

}  // namespace

// The host's side, run in a copy of this program beside the planted files.
TEST(PlantedHost, EveryDialogThroughTheFixedAndTheWideExports) {
  if (environment("VANTREL_PLANTED_CHILD").empty()) GTEST_SKIP() << "runs beside the planted files only";
  std::string picture = beside_program("picture.bmp");
  ASSERT_TRUE(write_picture(std::wstring(picture.begin(), picture.end())));
  std::wstring wide_picture(picture.begin(), picture.end());

  EXPECT_EQ(run_export<Show5>("ShowInput", cancel, "Name", "Ada", "300", "200", "0"), "CANCEL");
  EXPECT_EQ(run_export<Show4>("ShowCal", cancel, "Date", "TODAY", "ISO", "0"), "CANCEL");
  EXPECT_EQ(run_export<Show5>("ShowListBox", cancel, "Pick", "a|b|", "200", "150", "0"), "CANCEL");
  EXPECT_EQ(run_export<Show5>("ShowComboBox", cancel, "Pick", "a|b|", "200", "150", "0"), "CANCEL");
  EXPECT_EQ(run_export<Show4>("ShowDragnDrop", cancel, "Drop", "300", "200", "0"), "CANCEL");
  EXPECT_EQ(run_export<Show6>("ShowMultiListBox", cancel, "Table", "Name;Age;|Smith;42;|", "1", "300", "200", "0"), "");
  EXPECT_EQ(run_export<Show10>("ShowAbout", close_about, "About", "Vantrel", "Dialogs", picture.c_str(), "Body",
                               "https://example.org", "help@example.org", "300", "220", "0"),
            "OK");

  EXPECT_EQ(run_wide<Wide5>("ShowInputW", cancel, L"Name", L"Ada", L"300", L"200", L"0"), "CANCEL");
  EXPECT_EQ(run_wide<Wide4>("ShowCalW", cancel, L"Date", L"TODAY", L"EUR", L"0"), "CANCEL");
  EXPECT_EQ(run_wide<Wide5>("ShowListBoxW", cancel, L"Pick", L"a|b|", L"200", L"150", L"0"), "CANCEL");
  EXPECT_EQ(run_wide<Wide5>("ShowComboBoxW", cancel, L"Pick", L"a|b|", L"200", L"150", L"0"), "CANCEL");
  EXPECT_EQ(run_wide<Wide4>("ShowDragnDropW", cancel, L"Drop", L"300", L"200", L"0"), "CANCEL");
  EXPECT_EQ(run_wide<Wide6>("ShowMultiListBoxW", cancel, L"Table", L"Name;Age;|Smith;42;|", L"1", L"300", L"200", L"0"),
            "");
  EXPECT_EQ(run_wide<Wide10>("ShowAboutW", close_about, L"About", L"Vantrel", L"Dialogs", wide_picture.c_str(), L"Body",
                             L"https://example.org", L"help@example.org", L"300", L"220", L"0"),
            "OK");
  DeleteFileA(picture.c_str());
}

TEST(PlantedLibraries, NeverRunBesideAHostOfTheLibrary) {
  if (!environment("VANTREL_PLANTED_CHILD").empty()) GTEST_SKIP() << "the host's side runs here";
  PlantedFolder folder("library", {"vantrel.dll"}, library_loads);
  // A name of its own, so that the platform prefers the planted files for it alone.
  ASSERT_TRUE(CopyFileA(beside_program("e2e_planted.exe").c_str(), folder.path("planted_host.exe").c_str(), FALSE));
  PreferPlanted planted("planted_host.exe", library_loads, folder.log());
  // Fourteen dialogs, each a few seconds on a loaded machine.
  ConsoleOutcome host =
      run_console("--gtest_filter=PlantedHost.*", "", nullptr, folder.path("planted_host.exe"), 150000);
  EXPECT_EQ(host.code, 0u) << host.out << host.err;
  EXPECT_NE(host.out.find("[  PASSED  ] 1 test"), std::string::npos) << host.out;
  EXPECT_EQ(folder.loaded(), "") << "a planted library ran in the host";
}

TEST(PlantedLibraries, NeverRunBesideTheConsoleHost) {
  if (!environment("VANTREL_PLANTED_CHILD").empty()) GTEST_SKIP() << "the host's side runs here";
  PlantedFolder folder("console", {"vantrel.exe", "vantrel.dll"}, console_host_loads);
  PreferPlanted planted("vantrel.exe", console_host_loads, folder.log());
  struct Call {
    const char* arguments;
    void (*drive)(Dialog&);
    const char* answer;
  };
  const Call calls[] = {
      {"ShowInput Name Ada 300 200 0", cancel, "CANCEL\n"},
      {"ShowCal Date TODAY ISO 0", cancel, "CANCEL\n"},
      {"ShowListBox Pick \"a|b|\" 200 150 0", cancel, "CANCEL\n"},
      {"ShowComboBox Pick \"a|b|\" 200 150 0", cancel, "CANCEL\n"},
      {"ShowDragnDrop Drop 300 200 0", cancel, "CANCEL\n"},
      {"ShowMultiListBox Table \"Name;Age;|Smith;42;|\" 1 300 200 0", cancel, "\n"},
      {"ShowAbout About Vantrel Dialogs \"\" Body https://example.org help@example.org 300 220 0", close_about, "OK\n"},
      {"--entry --title Name", cancel, ""},
  };
  for (const Call& call : calls) {
    ConsoleOutcome outcome = run_console(call.arguments, "", call.drive, folder.path("vantrel.exe"));
    EXPECT_EQ(outcome.out, call.answer) << call.arguments << ": " << outcome.err;
  }
  EXPECT_EQ(folder.loaded(), "") << "a planted library ran in the console host";
}

// The check itself: a library loaded by its bare name from a host that does
// not restrict its search is the planted one, under the same environment.
TEST(PlantedLibraries, TheCheckSeesALibraryLoadedByItsBareName) {
  if (!environment("VANTREL_PLANTED_CHILD").empty()) GTEST_SKIP() << "the host's side runs here";
  PlantedFolder folder("calibration", {"console_tool.exe"}, {"uxtheme"});
  PreferPlanted planted("console_tool.exe", {"uxtheme"}, folder.log());
  run_console("load uxtheme.dll", "", nullptr, folder.path("console_tool.exe"));
  EXPECT_NE(folder.loaded().find("planted-calibration\\uxtheme.dll"), std::string::npos) << folder.loaded();
}
