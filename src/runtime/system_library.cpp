#include "runtime/system_library.h"

#include <cwchar>

namespace vantrel {
namespace {

// Platforms that know the search flags have AddDllDirectory; the others
// refuse the flags outright.
bool platform_knows_search_flags() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel && GetProcAddress(kernel, "AddDllDirectory") != nullptr;
}

// The full path under the system folder, for platforms without the flags.
HMODULE load_by_system_path(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  size_t name_length = wcslen(name);
  if (length == 0 || size_t(length) + 1 + name_length >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  wmemcpy(path + length + 1, name, name_length + 1);
  return LoadLibraryExW(path, nullptr, 0);
}

}  // namespace

HMODULE load_system_library(const wchar_t* name) {
  if (!name || !*name || wcspbrk(name, L"\\/:")) return nullptr;  // a bare name only
  if (platform_knows_search_flags()) {
    // The active activation context still redirects the name first, which
    // is how the version-6 common controls are found.
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  }
  return load_by_system_path(name);
}

}  // namespace vantrel
