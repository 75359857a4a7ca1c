#include "launcher/launcher.h"

#include <shellapi.h>

#include <cstring>
#include <initializer_list>

#include "runtime/heaps.h"
#include "runtime/lead_bytes.h"
#include "runtime/string_functions.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"

namespace vantrel {
namespace {

struct ProgramNode {
  ProgramNode* next;
  ProgramRecord record;
};

ProgramNode* programs = nullptr;
CRITICAL_SECTION programs_lock;  // made once, never deleted: a record may be inserted while the library stops
bool lock_made = false;

constexpr uint32_t PIPE_FLAGS = RUN_READ | RUN_WRITE | RUN_ERROR | RUN_CONNECT;

void close_handle(HANDLE* handle) {
  if (*handle) CloseHandle(*handle);
  *handle = nullptr;
}

// One pipe: the child's end inheritable, the caller's end not, so that the
// child holds no copy of it (an output pipe would never report its end).
struct Pipe {
  HANDLE child = nullptr;
  HANDLE caller = nullptr;
  // `child_reads`: the child gets the read end (its input).
  bool make(bool child_reads) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inheritable, 0)) return false;
    child = child_reads ? read : write;
    HANDLE kept = child_reads ? write : read;
    if (!DuplicateHandle(GetCurrentProcess(), kept, GetCurrentProcess(), &caller, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
      CloseHandle(read);
      CloseHandle(write);
      child = caller = nullptr;
      return false;
    }
    CloseHandle(kept);
    return true;
  }
  // The child's input from another program's output pipe: the record keeps
  // its end uninheritable, so the child gets an inheritable copy.
  bool connect_to(HANDLE output) {
    return DuplicateHandle(GetCurrentProcess(), output, GetCurrentProcess(), &child, 0, TRUE, DUPLICATE_SAME_ACCESS);
  }
  void close_both() {
    close_handle(&child);
    close_handle(&caller);
  }
};

intptr_t keep_record(const ProgramRecord& record) {
  auto* node = static_cast<ProgramNode*>(heap_alloc(object_node_heap(), sizeof(ProgramNode), true));
  if (!node) return 0;
  node->record = record;
  EnterCriticalSection(&programs_lock);
  node->next = programs;
  programs = node;
  LeaveCriticalSection(&programs_lock);
  return reinterpret_cast<intptr_t>(&node->record);
}

// A started process: waited for with RUN_WAIT; its record with RUN_OPEN,
// else its handle closed and 1.
intptr_t finish(const ProgramRecord& record, uint32_t flags) {
  bool caller_pipes = record.input || record.output || record.error;
  if ((flags & RUN_WAIT) && record.process && !caller_pipes) WaitForSingleObject(record.process, INFINITE);
  if (!(flags & RUN_OPEN)) {
    if (record.process) CloseHandle(record.process);
    return 1;
  }
  intptr_t kept = keep_record(record);
  if (!kept) {  // no room for the record: nothing of it may stay open
    ProgramRecord lost = record;
    close_handle(&lost.process);
    close_handle(&lost.input);
    close_handle(&lost.output);
    close_handle(&lost.error);
  }
  return kept;
}

intptr_t open_through_shell(const char* program, const char* parameters, const char* directory, uint32_t flags) {
  char* derived = nullptr;
  // An address has no folder of its own; a document is opened in its own.
  if (!*directory && !(flags & RUN_SHELL)) directory = derived = shell_directory_of(program);
  // Names and addresses are the call's text: the shell gets every character.
  WideText wide_program(program), wide_parameters(parameters), wide_directory(directory);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // A failure is the caller's to report or not: the shell's own error box
  // would hold the caller's thread until someone dismisses it.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.nShow = (flags & RUN_HIDE) ? SW_HIDE : SW_SHOWNORMAL;
  info.lpVerb = L"Open";
  info.lpFile = wide_program.get();
  info.lpParameters = wide_parameters.get();
  info.lpDirectory = directory && *directory ? wide_directory.get() : nullptr;
  bool opened = ShellExecuteExW(&info) != FALSE;
  general_free(derived);
  if (!opened) return 0;
  // A document handed to a program that was running already gives no
  // process: there is nothing to wait for, and its record holds none.
  return finish({info.hProcess, -1, nullptr, nullptr, nullptr}, flags);
}


// A program named in quotes has them around its name alone; one named
// without holds none (no file name holds a quote).
bool quoted_safely(const char* program) {
  if (program[0] != '"') return strchr(program, '"') == nullptr;
  const char* closing = strchr(program + 1, '"');
  return closing && closing > program + 1;
}


// The program's own name: the text between its quotes, or all of it.
struct ProgramName {
  const char* start;
  size_t length;
};

ProgramName program_name(const char* program) {
  if (program[0] != '"') return {program, strlen(program)};
  const char* closing = strchr(program + 1, '"');
  return {program + 1, closing ? size_t(closing - program - 1) : 0};
}

// A name without a folder or a scheme. A "\\" that is the second byte of a
// double-byte character (表 is 95 5C in code page 932) is no folder's end.
bool is_bare(ProgramName name) {
  const LeadBytes& lead_bytes = text_lead_bytes();
  for (const char* stop : {"\\", "/", ":"})
    if (lead_bytes.find(name.start, name.length, stop[0])) return false;
  return name.length > 0;
}

// A bare name's program in the system folder, else the Windows folder
// (".exe" added when it has no extension); false when neither holds it.
bool system_program_path(ProgramName name, wchar_t* path) {
  WideText wide_name(name.start, ptrdiff_t(name.length));
  wchar_t folders[2 * MAX_PATH + 2];
  UINT system = GetSystemDirectoryW(folders, MAX_PATH);
  if (!system || system >= MAX_PATH) return false;
  folders[system] = L';';
  UINT windows = GetWindowsDirectoryW(folders + system + 1, MAX_PATH);
  if (!windows || windows >= MAX_PATH) return false;
  DWORD found = SearchPathW(folders, wide_name.get(), L".exe", MAX_PATH, path, nullptr);
  return found > 0 && found < MAX_PATH;
}

}  // namespace

bool start_launcher() {
  if (!lock_made) {
    InitializeCriticalSection(&programs_lock);
    lock_made = true;
  }
  programs = nullptr;
  return true;
}

void stop_launcher() {
  if (!lock_made) return;
  EnterCriticalSection(&programs_lock);
  for (ProgramNode* node = programs; node; node = node->next) {
    close_handle(&node->record.process);
    close_handle(&node->record.input);
    close_handle(&node->record.output);
    close_handle(&node->record.error);
  }
  programs = nullptr;  // the nodes go with the object node heap
  LeaveCriticalSection(&programs_lock);
}

char* program_command_line(const char* program, const char* parameters) {
  program = text_or_empty(program);
  parameters = text_or_empty(parameters);
  if (!quoted_safely(program)) return nullptr;
  size_t program_length = strlen(program), parameters_length = strlen(parameters);
  auto* line = static_cast<char*>(general_alloc(program_length + parameters_length + 4));
  if (!line) return nullptr;
  char* at = line;
  bool quoted = program[0] == '"';
  if (!quoted) *at++ = '"';
  memcpy(at, program, program_length);
  at += program_length;
  if (!quoted) *at++ = '"';
  if (parameters_length) {
    *at++ = ' ';
    memcpy(at, parameters, parameters_length);
    at += parameters_length;
  }
  *at = 0;
  return line;
}

char* shell_directory_of(const char* program) {
  program = text_or_empty(program);
  const char* last = nullptr;  // the last "\\" that stands as a character
  for (const char* at = program; (at = text_lead_bytes().find(at, '\\')); ++at) last = at;
  size_t length = last && last > program ? size_t(last - program) + 1 : 0;
  auto* directory = static_cast<char*>(general_alloc(length + 1));
  if (directory) memcpy(directory, program, length);
  return directory;
}

intptr_t run_program(const char* program, const char* parameters, const char* directory, uint32_t flags,
                     const ProgramRecord* connected) {
  program = text_or_empty(program);
  parameters = text_or_empty(parameters);
  directory = text_or_empty(directory);
  if (flags & RUN_SHELL) return (flags & PIPE_FLAGS) ? 0 : open_through_shell(program, parameters, directory, flags);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = (flags & RUN_HIDE) ? SW_HIDE : SW_SHOWNORMAL;
  DWORD creation = NORMAL_PRIORITY_CLASS | ((flags & RUN_HIDE) ? DETACHED_PROCESS : 0);

  Pipe input, output, error;
  bool connect = (flags & RUN_CONNECT) && connected && connected->output;
  if (connect) {
    if (input.connect_to(connected->output)) startup.hStdInput = input.child;
  } else if ((flags & RUN_OPEN) && (flags & RUN_WRITE) && input.make(true)) startup.hStdInput = input.child;
  if ((flags & RUN_OPEN) && (flags & RUN_READ) && output.make(false)) startup.hStdOutput = output.child;
  if ((flags & RUN_OPEN) && (flags & RUN_ERROR) && error.make(false)) startup.hStdError = error.child;
  bool standard_handles = startup.hStdInput || startup.hStdOutput || startup.hStdError;
  if (standard_handles) {
    startup.dwFlags |= STARTF_USESTDHANDLES;
    creation &= ~DWORD(DETACHED_PROCESS);
    if (!startup.hStdInput) startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    if (!startup.hStdOutput) startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!startup.hStdError) startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }

  char* command_line = program_command_line(program, parameters);
  // A bare name is looked for in the system folders alone: the platform
  // would look in the host's folder and the current one first.
  wchar_t application[MAX_PATH] = {};
  bool bare = command_line && is_bare(program_name(program));
  bool findable = !bare || system_program_path(program_name(program), application);
  // The platform may write into the command line it is given: a copy of our own.
  WideText wide_line(command_line), wide_directory(directory);
  WideBuffer writable(command_line ? wide_line.length() : -1);
  if (writable.get()) memcpy(writable.get(), wide_line.get(), (size_t(wide_line.length()) + 1) * sizeof(wchar_t));
  PROCESS_INFORMATION started = {};
  bool created = findable && writable.get() &&
                 CreateProcessW(bare ? application : nullptr, writable.get(), nullptr, nullptr, standard_handles,
                                creation, nullptr, *directory ? wide_directory.get() : nullptr, &startup, &started);
  general_free(command_line);
  if (created) {
    CloseHandle(started.hThread);
    close_handle(&input.child);
    close_handle(&output.child);
    close_handle(&error.child);
    return finish({started.hProcess, int32_t(started.dwProcessId), input.caller, output.caller, error.caller}, flags);
  }
  input.close_both();
  output.close_both();
  error.close_both();
  // A program that was to be fed or read cannot be a document. Nor is a
  // bare name, or a text whose quotes make no name, handed to the shell,
  // which too would look in the current folder first.
  if ((flags & PIPE_FLAGS) || bare || !command_line) return 0;
  return open_through_shell(program, parameters, directory, flags);
}

}  // namespace vantrel
