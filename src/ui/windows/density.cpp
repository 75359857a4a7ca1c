#include "ui/windows/density.h"

#include "runtime/platform_calls.h"
#include "runtime/system_library.h"
#include "ui/windows/windows.h"

namespace vantrel {
namespace {

int32_t current_density = 0;  // 0: never set, places and sizes as given

using ThreadAwarenessContext = HANDLE(WINAPI*)();
using AwarenessOfContext = int(WINAPI*)(HANDLE);
using MonitorDensity = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int PER_MONITOR_AWARE = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE
constexpr int EFFECTIVE_DPI = 0;      // MDT_EFFECTIVE_DPI

// Looked up at run time: the library must load on systems without them.
template <typename Function>
Function system_function(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = load_system_library(library);  // kept: the system holds it for the process anyway
  return platform_function<Function>(module, name);
}

bool aware_of_each_monitor() {
  auto context = system_function<ThreadAwarenessContext>(L"user32.dll", "GetThreadDpiAwarenessContext");
  auto awareness = system_function<AwarenessOfContext>(L"user32.dll", "GetAwarenessFromDpiAwarenessContext");
  return context && awareness && awareness(context()) == PER_MONITOR_AWARE;
}

int32_t system_density() {
  HDC screen = GetDC(nullptr);
  int32_t dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : BASE_DENSITY;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : BASE_DENSITY;
}

}  // namespace

int32_t density_near(HWND looked_at) {
  if (aware_of_each_monitor()) {
    HMONITOR monitor = looked_at && IsWindow(looked_at) ? MonitorFromWindow(looked_at, MONITOR_DEFAULTTONEAREST)
                                              : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    auto monitor_density = system_function<MonitorDensity>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && monitor_density && SUCCEEDED(monitor_density(monitor, EFFECTIVE_DPI, &x, &y)) && y > 0)
      return int32_t(y);
  }
  return system_density();
}

void set_layout_density(int32_t dpi) { current_density = dpi > 0 ? dpi : 0; }

int32_t layout_density() { return current_density ? current_density : BASE_DENSITY; }

int32_t font_density(HDC display) {
  if (current_density) return current_density;
  int32_t dpi = GetDeviceCaps(display, LOGPIXELSY);
  return dpi > 0 ? dpi : BASE_DENSITY;
}

int32_t scale_to_layout(int32_t value) {
  if (!current_density || current_density == BASE_DENSITY || value == KEEP_VALUE || value == int32_t(CW_USEDEFAULT))
    return value;
  return MulDiv(value, current_density, BASE_DENSITY);
}

}  // namespace vantrel
