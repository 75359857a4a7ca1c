#include "cli/platform.h"

#include "runtime/platform_calls.h"
#include "runtime/system_library.h"

namespace host {

void restrict_library_search() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  auto set_default = vantrel::platform_function<SetDefaultDirectories>(kernel, "SetDefaultDllDirectories");
  if (set_default) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Where the flags are unknown, at least the current folder is left out.
  using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
  if (auto set_directory = vantrel::platform_function<SetDirectory>(kernel, "SetDllDirectoryW")) set_directory(L"");
}

const UserFunctions& user() {
  static const UserFunctions functions = [] {
    HMODULE user32 = vantrel::load_system_library(L"user32.dll");
    UserFunctions f;
    f.get_system_metrics = vantrel::platform_function<decltype(f.get_system_metrics)>(user32, "GetSystemMetrics");
    f.set_windows_hook = vantrel::platform_function<decltype(f.set_windows_hook)>(user32, "SetWindowsHookExA");
    f.unhook_windows_hook = vantrel::platform_function<decltype(f.unhook_windows_hook)>(user32, "UnhookWindowsHookEx");
    f.call_next_hook = vantrel::platform_function<decltype(f.call_next_hook)>(user32, "CallNextHookEx");
    f.get_class_name = vantrel::platform_function<decltype(f.get_class_name)>(user32, "GetClassNameA");
    f.get_dialog_item = vantrel::platform_function<decltype(f.get_dialog_item)>(user32, "GetDlgItem");
    f.send_message = vantrel::platform_function<decltype(f.send_message)>(user32, "SendMessageA");
    return f;
  }();
  return functions;
}

wchar_t** command_line_arguments(int* count) {
  using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
  auto split = vantrel::platform_function<Split>(vantrel::load_system_library(L"shell32.dll"), "CommandLineToArgvW");
  *count = 0;
  return split ? split(GetCommandLineW(), count) : nullptr;
}

}  // namespace host
