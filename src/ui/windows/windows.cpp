#include "ui/windows/windows.h"

#include <cstdio>
#include <cstring>

#include "runtime/heaps.h"
#include "runtime/module.h"
#include "runtime/object_table.h"
#include "runtime/platform_calls.h"
#include "runtime/strings.h"
#include "runtime/text_code_page.h"
#include "ui/gadgets/gadgets.h"
#include "ui/windows/density.h"
#include "ui/windows/events.h"

#include <ole2.h>
#include <richedit.h>

namespace vantrel {
namespace {

ObjectTable* windows = nullptr;
HICON default_icon = nullptr;
HCURSOR default_cursor = nullptr;

constexpr uint32_t PLACEMENT_BITS = WINDOW_CENTRE_SCREEN | WINDOW_CENTRE_PARENT;
constexpr ACCEL focus_accelerators[] = {
    {FVIRTKEY | FNOINVERT, VK_TAB, CMD_FOCUS_NEXT},
    {FVIRTKEY | FNOINVERT | FSHIFT, VK_TAB, CMD_FOCUS_PREVIOUS},
};

struct ClassName {
  wchar_t text[32];
  explicit ClassName(int32_t number) {
    char narrow[32];
    int length = snprintf(narrow, sizeof narrow, "WindowClass_%ld", long(number));
    for (int i = 0; i <= length; ++i) text[i] = wchar_t(narrow[i]);
  }
};

// Toolkit windows are Unicode windows, whatever the call's code page: every
// character reaches their controls.
void register_window_class(const ClassName& name) {
  WNDCLASSW window_class = {};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = toolkit_window_procedure;
  window_class.hInstance = module_instance();
  window_class.hIcon = default_icon;
  window_class.hCursor = default_cursor;
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = name.text;
  RegisterClassW(&window_class);  // a class left registered by a host is used as it is
}

bool make_accelerators(WindowRecord* record) {
  auto* entries = static_cast<ACCEL*>(general_alloc(sizeof focus_accelerators));
  if (!entries) return false;
  memcpy(entries, focus_accelerators, sizeof focus_accelerators);
  record->accelerators = entries;
  record->accelerator_count = 2;
  record->accelerator_table = CreateAcceleratorTableW(entries, 2);
  return true;
}

// Only its own thread can destroy a window. One that another thread opened
// (a host calling from a worker thread) must not keep procedures of this
// library, which may be unloaded before that thread reads its next message:
// its gadgets and itself get the platform's procedures back, and its thread
// closes it on the WM_CLOSE that the default procedure handles.
void hand_window_back(HWND window) {
  hand_back_gadgets(window);
  replace_window_procedure(window, DefWindowProcW);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

bool start_windows() {
  windows = new_object_table(sizeof(WindowRecord), 16, close_window);
  default_icon = LoadIconA(module_instance(), MAKEINTRESOURCEA(1));
  default_cursor = LoadCursorA(nullptr, IDC_ARROW);
  return windows && start_events();
}

void stop_windows() {
  free_all_objects(windows, close_window);
  windows = nullptr;
}

void centre_on_monitor(const RECT& monitor, WindowPlacement* placement) {
  int monitor_width = monitor.right - monitor.left, monitor_height = monitor.bottom - monitor.top;
  if (placement->width > monitor_width) placement->width = monitor_width;
  if (placement->height > monitor_height) placement->height = monitor_height;
  placement->x = monitor.left + (monitor_width - placement->width) / 2;
  placement->y = monitor.top + (monitor_height - placement->height) / 2;
}

RECT monitor_of(HWND looked_at) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  HMONITOR monitor = looked_at && IsWindow(looked_at) ? MonitorFromWindow(looked_at, MONITOR_DEFAULTTONEAREST) : nullptr;
  if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcMonitor;
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};  // the primary monitor
}

WindowPlacement place_window(int32_t x, int32_t y, int32_t inner_width, int32_t inner_height, uint32_t flags,
                             HWND parent, HWND looked_at) {
  WindowPlacement placement = {};
  placement.visible = !(flags & WINDOW_INVISIBLE);
  uint32_t style = flags & ~WINDOW_INVISIBLE;
  if (!(flags & ~(PLACEMENT_BITS | WINDOW_INVISIBLE))) style |= WS_CAPTION;
  placement.style = style & ~PLACEMENT_BITS;

  RECT outer = {0, 0, inner_width, inner_height};
  AdjustWindowRect(&outer, placement.style, FALSE);
  placement.width = outer.right - outer.left;
  placement.height = outer.bottom - outer.top;
  placement.x = x;
  placement.y = y;

  if ((x == KEEP_VALUE || y == KEEP_VALUE) && !(flags & PLACEMENT_BITS)) {
    placement.x = placement.y = CW_USEDEFAULT;
  } else if (flags & WINDOW_CENTRE_SCREEN) {
    centre_on_monitor(monitor_of(looked_at), &placement);
  } else if (flags & WINDOW_CENTRE_PARENT) {
    HWND reference = parent ? parent : GetActiveWindow();
    RECT r;
    if (reference && GetWindowRect(reference, &r)) {
      placement.x = r.left + (r.right - r.left - placement.width) / 2;
      placement.y = r.top + (r.bottom - r.top - placement.height) / 2;
      if (placement.x < 0) placement.x = 0;
      if (placement.y < 0) placement.y = 0;
    }
  }
  return placement;
}

intptr_t open_window(int32_t number, int32_t x, int32_t y, int32_t inner_width, int32_t inner_height,
                     const char* title, uint32_t flags, HWND parent, HWND looked_at) {
  int32_t chosen = 0;
  auto* record = static_cast<WindowRecord*>(create_object(windows, number, &chosen));
  if (!record) return 0;
  ClassName name(chosen);
  register_window_class(name);
  WindowPlacement placement = place_window(scale_to_layout(x), scale_to_layout(y), scale_to_layout(inner_width),
                                           scale_to_layout(inner_height), flags, parent, looked_at);
  WideText wide_title(title);
  HWND handle = CreateWindowExW(0, name.text, creation_text(wide_title), placement.style, placement.x, placement.y,
                                placement.width, placement.height, parent, nullptr, module_instance(), nullptr);
  // Creation messages ran in between: address the record afresh.
  record = static_cast<WindowRecord*>(object_slot(windows, chosen));
  if (!handle || !record || !make_accelerators(record)) {
    if (handle) DestroyWindow(handle);
    UnregisterClassW(name.text, module_instance());
    free_object(windows, chosen);
    return 0;
  }
  record->handle = handle;
  record->opened_at = GetTickCount();
  SetPropA(handle, WINDOW_PROPERTY, reinterpret_cast<HANDLE>(intptr_t(chosen) + 1));
  if (placement.visible) ShowWindow(handle, (placement.style & WS_MAXIMIZE) ? SW_MAXIMIZE : SW_SHOWNORMAL);
  return number == OBJECT_ANY ? intptr_t(chosen) : reinterpret_cast<intptr_t>(handle);
}

void close_window(int32_t number) {
  auto* record = find_record<WindowRecord>(windows, number);
  if (!record) return;
  HWND handle = record->handle;
  // Mark the number as closing first: messages sent while the window is
  // destroyed must not find it and close it again.
  record->handle = nullptr;
  bool foreign = GetWindowThreadProcessId(handle, nullptr) != GetCurrentThreadId();
  if (HWND owner = GetWindow(handle, GW_OWNER); owner && !foreign) SetActiveWindow(owner);
  RemovePropA(handle, WINDOW_PROPERTY);
  if (RemovePropA(handle, DROP_PROPERTY)) RevokeDragDrop(handle);
  if (foreign) hand_window_back(handle);
  else DestroyWindow(handle);
  UnregisterClassW(ClassName(number).text, module_instance());  // fails while a handed-back window lives
  record = static_cast<WindowRecord*>(object_slot(windows, number));
  if (record && record->accelerators) {
    general_free(record->accelerators);
    DestroyAcceleratorTable(record->accelerator_table);
  }
  free_object(windows, number);
}

BOOL set_window_topmost(int32_t number, int flag) {
  auto* record = find_record<WindowRecord>(windows, number);
  if (!record) return 0;
  UINT keep = SWP_NOMOVE | SWP_NOSIZE | (flag ? 0 : SWP_NOACTIVATE);
  return SetWindowPos(record->handle, flag ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, keep);
}

bool input_predates_window(int32_t number, const MSG& message) {
  bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
               (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
               (message.message >= WM_NCMOUSEMOVE && message.message <= WM_NCXBUTTONDBLCLK);
  auto* record = input ? find_record<WindowRecord>(windows, number) : nullptr;
  // The message clock wraps every 49 days: compared by difference.
  return record && LONG(message.time - record->opened_at) < 0;
}

HWND window_handle(int32_t number) {
  auto* record = find_record<WindowRecord>(windows, number);
  return record ? record->handle : nullptr;
}

void remember_focus(int32_t number) {
  auto* record = find_record<WindowRecord>(windows, number);
  if (!record || !record->handle) return;
  HWND focus = GetFocus();
  record->focus = focus && IsChild(record->handle, focus) ? focus : nullptr;
}

void restore_focus(int32_t number) {
  auto* record = find_record<WindowRecord>(windows, number);
  if (record && record->focus && IsChild(record->handle, record->focus) && IsWindowEnabled(record->focus))
    SetFocus(record->focus);
}

HACCEL window_accelerators(HWND window) {
  auto key_down = [](int key) { return (GetKeyState(key) & 0x80) != 0; };
  if (key_down(VK_TAB) && !key_down(VK_CONTROL) && !key_down(VK_SHIFT) && !key_down(VK_MENU)) {
    // A Tab typed into an editable rich edit belongs to its text.
    if (HWND focus = GetFocus()) {
      char name[5] = {};
      GetClassNameA(focus, name, sizeof name);
      if (strncmp(name, "Rich", 4) == 0 && !(SendMessageA(focus, EM_GETOPTIONS, 0, 0) & ECO_READONLY)) return nullptr;
    }
  }
  if (!window) return nullptr;
  intptr_t property = reinterpret_cast<intptr_t>(GetPropA(window, WINDOW_PROPERTY));
  if (!property) return nullptr;
  auto* record = find_record<WindowRecord>(windows, int32_t(property - 1));
  return record ? record->accelerator_table : nullptr;
}

}  // namespace vantrel
