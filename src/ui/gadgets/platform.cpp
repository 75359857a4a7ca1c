// What the platform's common controls can do: their version, and whether
// visual themes are in force.
#include <windows.h>
#include <shlwapi.h>

#include "runtime/platform_calls.h"
#include "runtime/system_library.h"
#include "runtime/visual_styles.h"
#include "ui/gadgets/gadgets.h"

namespace vantrel {
namespace {
uint32_t common_controls_version = 0;
bool themed = false;
}  // namespace

uint32_t comctl_version() {
  if (common_controls_version) return common_controls_version;
  if (HMODULE comctl = load_system_library(L"comctl32.dll")) {
    auto get_version = platform_function<DLLGETVERSIONPROC>(comctl, "DllGetVersion");
    if (get_version) {
      DLLVERSIONINFO info = {};
      info.cbSize = 20;
      if (get_version(&info) >= 0) common_controls_version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
    } else {
      common_controls_version = 1;
    }
    FreeLibrary(comctl);
  }
  if (HMODULE uxtheme = load_system_library(L"uxtheme.dll")) {
    auto is_app_themed = platform_function<BOOL(WINAPI*)()>(uxtheme, "IsAppThemed");
    if (is_app_themed) themed = is_app_themed() && common_controls_version >= (6u << 16);
    FreeLibrary(uxtheme);
  }
  return common_controls_version;
}

bool themes_active() {
  comctl_version();
  return themed;
}

// Static controls (text, pictures, edged frames) look the same from either
// version of the controls, and version 6's static of some platforms keeps a
// block per control once it is given a font and never frees it (Wine's, 24
// bytes each: three or more per about box). They come from the host's
// classes instead, so a kind cannot keep one class's procedure for all.
HWND create_static_control(DWORD ex_style, const char* text, DWORD style, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
  HostContextScope host_classes;
  return create_gadget_control(ex_style, L"Static", text, style, x, y, width, height);
}

LRESULT call_static_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  WNDPROC procedure = class_procedure(control);
  return procedure ? CallWindowProcW(procedure, control, message, wparam, lparam)
                   : DefWindowProcW(control, message, wparam, lparam);
}

}  // namespace vantrel
