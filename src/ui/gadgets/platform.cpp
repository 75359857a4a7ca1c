// What the platform's common controls can do: their version, and whether
// visual themes are in force.
#include <windows.h>
#include <shlwapi.h>

#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace {
uint32_t common_controls_version = 0;
bool themed = false;
}  // namespace

uint32_t comctl_version() {
  if (common_controls_version) return common_controls_version;
  if (HMODULE comctl = LoadLibraryA("COMCTL32.DLL")) {
    auto get_version = reinterpret_cast<HRESULT(CALLBACK*)(DLLVERSIONINFO*)>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    if (get_version) {
      DLLVERSIONINFO info = {};
      info.cbSize = 20;
      if (get_version(&info) >= 0) common_controls_version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
    } else {
      common_controls_version = 1;
    }
    FreeLibrary(comctl);
  }
  if (HMODULE uxtheme = LoadLibraryA("uxtheme.dll")) {
    auto is_app_themed =
        reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "IsAppThemed")));
    if (is_app_themed) themed = is_app_themed() && common_controls_version >= (6u << 16);
    FreeLibrary(uxtheme);
  }
  return common_controls_version;
}

bool themes_active() {
  comctl_version();
  return themed;
}

}  // namespace vantrel
