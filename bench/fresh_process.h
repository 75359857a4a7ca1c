#pragma once
// A figure of a host's first call needs a process that made no call before:
// the benchmark runs itself again for each, and reads what it printed.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace bench {

// This program run again with `arguments`; what it printed, "" if it could not start.
inline std::string run_fresh_process(const std::string& arguments) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string command = "\"";
  command.append(path, length).append("\" ").append(arguments);
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherited, 0)) return "";
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);  // the child's copy alone keeps the pipe open
  std::string printed;
  if (started) {
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(read_end, chunk, sizeof chunk, &read, nullptr) && read > 0) printed.append(chunk, read);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(read_end);
  return printed;
}

// The middle value (the lower of the two middle ones for an even count).
inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[(values.size() - 1) / 2];
}

}  // namespace bench
