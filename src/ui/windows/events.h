#pragma once
// Turning platform messages into the toolkit's events: the event loop, the
// window procedure of every toolkit window, and focus cycling.
#include <windows.h>

#include <cstdint>

namespace vantrel {

enum EventCode : int32_t {
  EVENT_NONE = 0,
  EVENT_WINDOW_MOVED = 3,
  EVENT_WINDOW_SIZED = 5,
  EVENT_REPAINT = 15,
  EVENT_CLOSE_WINDOW = 16,
  EVENT_GADGET = 13100,
  EVENT_MENU = 13101,
  EVENT_WINDOW_ACTIVATED = 13104,
};

constexpr UINT MSG_GADGET_EVENT = 13103;
constexpr LRESULT NOT_HANDLED = LRESULT(0xD0D0D0D1u);
constexpr int32_t MENU_CONTROL_ID = -10000;

bool start_events();

int32_t wait_event(int32_t timeout = -1);
int32_t event_gadget();
int32_t event_window();
int32_t event_type();

// A WM_QUIT that a loop of the toolkit took from the thread's queue is not
// dispatched but kept here: a dialog puts it back for the host and ends.
// True once per quit, with its exit code.
bool take_quit_request(int* exit_code);

void post_gadget_event(HWND control, int32_t type);
HWND find_toolkit_window(HWND window);
void flush_messages();
// Forgets every event not yet taken: what came while no one waited (a
// click on the last call's window, left on screen) is not the next call's.
void discard_events();
void focus_next_gadget(bool backwards);

LRESULT CALLBACK toolkit_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace vantrel
