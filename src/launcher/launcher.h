#pragma once
// Starting programs, or opening documents and addresses with the program
// the platform associates with them; optionally with pipes to the program's
// standard input, output and error, kept in a program record.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum RunFlags : uint32_t {
  RUN_WAIT = 0x01,     // return once the program has ended
  RUN_HIDE = 0x02,     // start it with its window hidden
  RUN_OPEN = 0x04,     // keep its handle and pipes in a program record and return that
  RUN_READ = 0x08,     // with RUN_OPEN: a pipe from its standard output
  RUN_WRITE = 0x10,    // with RUN_OPEN: a pipe to its standard input
  RUN_ERROR = 0x20,    // with RUN_OPEN: a pipe from its standard error
  RUN_CONNECT = 0x40,  // its standard input from another record's output pipe
  RUN_SHELL = 0x80,    // hand it to the shell's open verb only, never start it as a program
};

// Handles of a started program; the pipe ends are the caller's (null when
// not asked for). Reading, writing and closing them is the caller's business.
struct ProgramRecord {
  HANDLE process;
  int32_t process_id;  // -1 when it was opened through the shell
  HANDLE input;        // write end of the program's standard input
  HANDLE output;       // read end of its standard output
  HANDLE error;        // read end of its standard error
};

bool start_launcher();
// Closes what the records still hold: they go with the library.
void stop_launcher();

// 0 on failure; with RUN_OPEN the program record (its address), else 1.
// A program named bare (no folder, no scheme) is started from the system
// folder or the Windows folder only, and never handed to the shell.
// RUN_WAIT does not wait while the record holds a pipe end of the caller's:
// the program could fill its output or wait for input that the caller can
// only handle once this returns. The pipe's end tells the caller instead.
// Null texts read as "", an empty working directory as none. `connected`
// is the record whose output feeds the program with RUN_CONNECT.
intptr_t run_program(const char* program, const char* parameters = "", const char* directory = "",
                     uint32_t flags = 0, const ProgramRecord* connected = nullptr);

// The command line: the program quoted unless it starts with a quote, then
// a space and the parameters when there are any; null for a program whose
// quotes do not stand around its name alone. Freed with general_free.
char* program_command_line(const char* program, const char* parameters);
// The working directory the shell gets when none is given: the program's
// text up to its last backslash, if it has one after its first character;
// "" otherwise. Freed with general_free.
char* shell_directory_of(const char* program);

}  // namespace vantrel
