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
