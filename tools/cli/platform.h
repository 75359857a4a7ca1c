#pragma once
// What the console host calls beyond KERNEL32 and the C runtime. It imports
// nothing else, so that the loader searches for nothing before the host has
// restricted its own search to the system folder; USER32 and SHELL32 (and
// what they import) come from there at run time.
#include <windows.h>

namespace host {

// First thing: later loads, and what the loaded libraries import, are looked
// for in the system folder only (where the platform can restrict it).
void restrict_library_search();

struct UserFunctions {
  decltype(&GetSystemMetrics) get_system_metrics;
  decltype(&SetWindowsHookExA) set_windows_hook;
  decltype(&UnhookWindowsHookEx) unhook_windows_hook;
  decltype(&CallNextHookEx) call_next_hook;
  decltype(&GetClassNameA) get_class_name;
  decltype(&GetDlgItem) get_dialog_item;
  decltype(&SendMessageA) send_message;
};

// USER32's functions, each null where it cannot be found.
const UserFunctions& user();

// The command line split as the shell splits it; LocalFree it. Null when
// SHELL32 cannot be had.
wchar_t** command_line_arguments(int* count);

}  // namespace host
