#include "launcher/launcher.h"

#include <fstream>
#include <iterator>
#include <string>

#include "runtime/heaps.h"
#include "runtime_fixture.h"

using namespace vantrel;

namespace {

// The helper program beside the tests.
std::string tool() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1) + "console_tool.exe";
}

// Everything the pipe gives until the program's end closes it.
std::string read_all(HANDLE pipe) {
  std::string text;
  char chunk[256];
  DWORD read = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &read, nullptr) && read) text.append(chunk, read);
  return text;
}

std::string taken(char* text) {
  std::string copy = text ? text : "(null)";
  general_free(text);
  return copy;
}

}  // namespace

using Launcher = RuntimeTest;

TEST_F(Launcher, CommandLinesAndShellDirectories) {
  EXPECT_EQ(taken(program_command_line("C:\\a b\\x.exe", "one two")), "\"C:\\a b\\x.exe\" one two");
  EXPECT_EQ(taken(program_command_line("\"C:\\x.exe\" -q", "")), "\"C:\\x.exe\" -q") << "a quoted program is changed";
  EXPECT_EQ(taken(program_command_line("x.exe", "")), "\"x.exe\"") << "empty parameters add a space";
  EXPECT_EQ(taken(program_command_line(nullptr, nullptr)), "\"\"");
  // Quotes around the name alone: none inside a name, none left open.
  EXPECT_EQ(taken(program_command_line("C:\\x.exe\" & calc.exe \"", "")), "(null)");
  EXPECT_EQ(taken(program_command_line("\"C:\\x.exe", "-q")), "(null)");
  EXPECT_EQ(taken(program_command_line("\"\" calc.exe", "")), "(null)");
  EXPECT_EQ(taken(shell_directory_of("D:\\Tools\\x.exe")), "D:\\Tools\\");
  EXPECT_EQ(taken(shell_directory_of("x.exe")), "");
  EXPECT_EQ(taken(shell_directory_of("\\x.exe")), "") << "a backslash in first place is no directory";
  EXPECT_EQ(taken(shell_directory_of("http://example.org/a")), "");
}

TEST_F(Launcher, OutputPipesAndConnectedPrograms) {
  auto* printer = reinterpret_cast<ProgramRecord*>(
      run_program(tool().c_str(), "print \"piped text\"", "", RUN_OPEN | RUN_READ | RUN_HIDE));
  ASSERT_NE(printer, nullptr);
  ASSERT_NE(printer->output, nullptr);
  EXPECT_GT(printer->process_id, 0);
  EXPECT_EQ(printer->input, nullptr);
  DWORD flags = 0;
  ASSERT_TRUE(GetHandleInformation(printer->output, &flags));
  EXPECT_FALSE(flags & HANDLE_FLAG_INHERIT) << "the caller's end is inheritable";
  EXPECT_EQ(read_all(printer->output), "piped text");
  EXPECT_EQ(WaitForSingleObject(printer->process, 10000), WAIT_OBJECT_0);

  // One program's output becomes the next one's input.
  auto* source = reinterpret_cast<ProgramRecord*>(run_program(tool().c_str(), "print connected", "", RUN_OPEN | RUN_READ));
  ASSERT_NE(source, nullptr);
  auto* upper = reinterpret_cast<ProgramRecord*>(
      run_program(tool().c_str(), "upper", "", RUN_OPEN | RUN_READ | RUN_CONNECT, source));
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(read_all(upper->output), "CONNECTED");

  // And the caller can write to a program.
  auto* fed = reinterpret_cast<ProgramRecord*>(run_program(tool().c_str(), "upper", "", RUN_OPEN | RUN_READ | RUN_WRITE));
  ASSERT_NE(fed, nullptr);
  DWORD written = 0;
  WriteFile(fed->input, "abc", 3, &written, nullptr);
  CloseHandle(fed->input);
  fed->input = nullptr;
  EXPECT_EQ(read_all(fed->output), "ABC");
}

TEST_F(Launcher, WaitingAndFailing) {
  std::string mark = temp_path("vantrel_launcher_mark.txt");
  DeleteFileA(mark.c_str());
  std::string parameters = "late 300 \"" + mark + "\"";
  EXPECT_EQ(run_program(tool().c_str(), parameters.c_str(), "", RUN_WAIT | RUN_HIDE), 1);
  EXPECT_NE(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "returned before the program ended";
  DeleteFileA(mark.c_str());

  // A document that the shell could open is not tried there when pipes were asked for.
  std::string document = temp_path("vantrel_launcher_note.txt");
  { std::ofstream(document) << "note"; }
  EXPECT_EQ(run_program(document.c_str(), "", "", RUN_OPEN | RUN_READ), 0);
  EXPECT_EQ(run_program("C:\\no\\such\\program.exe", "", "", RUN_OPEN | RUN_WRITE), 0);
  EXPECT_EQ(run_program("C:\\no\\such\\program.exe"), 0) << "neither started nor opened, yet reported";
  DeleteFileA(document.c_str());
}

// Waiting for a program whose pipes only the caller can empty or feed would
// hold both for ever: the call returns at once, and the pipes tell the end.
TEST_F(Launcher, WaitingWithPipesDoesNotHoldTheProgram) {
  constexpr size_t BYTES = 10 * 1024 * 1024;
  std::string parameters = "flood " + std::to_string(BYTES);
  auto* flood = reinterpret_cast<ProgramRecord*>(
      run_program(tool().c_str(), parameters.c_str(), "", RUN_OPEN | RUN_READ | RUN_ERROR | RUN_WAIT | RUN_HIDE));
  ASSERT_NE(flood, nullptr);
  std::string output = read_all(flood->output);
  EXPECT_EQ(output.size(), BYTES);
  EXPECT_EQ(output.find_first_not_of('x'), std::string::npos);
  EXPECT_EQ(WaitForSingleObject(flood->process, 10000), WAIT_OBJECT_0);

  auto* fed = reinterpret_cast<ProgramRecord*>(
      run_program(tool().c_str(), "upper", "", RUN_OPEN | RUN_READ | RUN_WRITE | RUN_WAIT | RUN_HIDE));
  ASSERT_NE(fed, nullptr);
  DWORD written = 0;
  WriteFile(fed->input, "fed", 3, &written, nullptr);
  CloseHandle(fed->input);
  fed->input = nullptr;
  EXPECT_EQ(read_all(fed->output), "FED");
}

// The shell alone: nothing is started as a program, and what needs a pipe
// cannot be handed to the shell.
TEST_F(Launcher, ShellOnlyNeverCreatesAProcess) {
  EXPECT_EQ(run_program("C:\\no\\such\\program.exe", "", "", RUN_SHELL), 0);
  EXPECT_EQ(run_program(tool().c_str(), "print x", "", RUN_SHELL | RUN_OPEN | RUN_READ), 0);
}

// A bare name runs the system's program of that name, not one of the same
// name in the current folder; a name the system folders do not hold runs
// nothing and goes to the shell neither. Text whose quotes make no name
// starts nothing.
TEST_F(Launcher, ABareNameComesFromTheSystemFolderOnly) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  std::string folder = temp_path("vantrel_launcher_folder");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string planted = folder + "\\notepad.exe", lookalike = folder + "\\vantrel_nowhere.exe";
  std::string mark = temp_path("vantrel_shell_record.txt");
  ASSERT_TRUE(CopyFileA(tool().c_str(), planted.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(tool().c_str(), lookalike.c_str(), FALSE));
  SetCurrentDirectoryA(folder.c_str());
  DeleteFileA(mark.c_str());
  // Started with no arguments, the tool records that it ran.
  auto* system = reinterpret_cast<ProgramRecord*>(run_program("notepad", "", "", RUN_OPEN | RUN_HIDE));
  EXPECT_NE(system, nullptr) << "the system's notepad did not start";
  EXPECT_EQ(run_program("vantrel_nowhere", "", "", RUN_HIDE), 0) << "a program of the current folder started";
  EXPECT_EQ(run_program("vantrel_nowhere.exe"), 0);
  EXPECT_EQ(run_program("\"vantrel_nowhere.exe\""), 0);
  EXPECT_EQ(run_program("notepad.exe\" \"x"), 0) << "quotes inside a name started something";
  SetCurrentDirectoryA(current);
  Sleep(500);
  EXPECT_EQ(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "a planted program ran";
  if (system) {
    wchar_t started[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    using ImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    auto image_name = reinterpret_cast<ImageName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameW")));
    if (image_name && image_name(system->process, 0, started, &length)) {
      std::wstring name(started);
      EXPECT_EQ(name.find(L"vantrel_launcher_folder"), std::wstring::npos) << "the planted notepad ran";
    }
    TerminateProcess(system->process, 0);
  }
  DeleteFileA(planted.c_str());
  DeleteFileA(lookalike.c_str());
  RemoveDirectoryA(folder.c_str());
  DeleteFileA(mark.c_str());
}
