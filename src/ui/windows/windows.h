#pragma once
// Numbered top-level windows, each with a class of its own and the Tab /
// Shift+Tab accelerators that cycle the focus.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum WindowFlags : uint32_t {
  WINDOW_CENTRE_SCREEN = 0x00000001,
  WINDOW_CENTRE_PARENT = 0x00000002,
  WINDOW_INVISIBLE = 0x10000000,
};

constexpr int32_t KEEP_VALUE = -65535;  // a coordinate or size that keeps its current value
constexpr WORD CMD_FOCUS_NEXT = 1212;
constexpr WORD CMD_FOCUS_PREVIOUS = 1213;
constexpr const char* WINDOW_PROPERTY = "VX_WindowID";

struct WindowRecord {
  HWND handle;
  int32_t accelerator_count;
  ACCEL* accelerators;
  HACCEL accelerator_table;
  HWND focus;  // the control that had the focus when the window was last deactivated
  DWORD opened_at;  // the message clock when it was made: input older than that was meant for another window
};

bool start_windows();
void stop_windows();

// For a named number the window handle, for OBJECT_ANY the new number; 0 on
// failure. WINDOW_CENTRE_SCREEN centres it on the monitor that holds most of
// `looked_at` (a window the person is looking at), or on the primary monitor.
intptr_t open_window(int32_t number, int32_t x, int32_t y, int32_t inner_width, int32_t inner_height,
                     const char* title, uint32_t flags, HWND parent = nullptr, HWND looked_at = nullptr);
void close_window(int32_t number);
// Flag 0 takes the window out of the topmost band where it is, without
// activating it.
BOOL set_window_topmost(int32_t number, int flag);
// True when input of `message` reached the window (or one of its controls)
// from before the window was made: a click or a key meant for what stood
// there before.
bool input_predates_window(int32_t number, const MSG& message);
HWND window_handle(int32_t number);

// Keeps the focused control when the window loses activation and gives it
// the focus back when the window is activated, as the platform's dialogs do.
void remember_focus(int32_t number);
void restore_focus(int32_t number);

// The accelerator table that applies to a message for `window`, or none.
HACCEL window_accelerators(HWND window);

// Where a window of that inner size opens: pure arithmetic of the flag rules.
struct WindowPlacement {
  DWORD style;
  bool visible;
  int x, y, width, height;
};
WindowPlacement place_window(int32_t x, int32_t y, int32_t inner_width, int32_t inner_height, uint32_t flags,
                             HWND parent, HWND looked_at = nullptr);
// Centres the placement's window on the monitor's full rectangle, its size
// held to the monitor's.
void centre_on_monitor(const RECT& monitor, WindowPlacement* placement);

}  // namespace vantrel
