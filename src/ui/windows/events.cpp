#include "ui/windows/events.h"

#include <cstring>

#include "runtime/heaps.h"
#include "runtime/object_table.h"
#include "runtime/visual_styles.h"
#include "ui/gadgets/gadgets.h"
#include "ui/windows/sizing.h"
#include "ui/windows/windows.h"

namespace vantrel {
namespace {

struct QueuedEvent {
  QueuedEvent* next;
  int32_t code;
  int32_t window;
};

struct EventState {
  int32_t gadget;
  int32_t window;
  int32_t type;
  int32_t pending;
  QueuedEvent* head;
  QueuedEvent* tail;
  bool quit_requested;
  int quit_code;
  HWND known_window;  // a toolkit window and its number, asked for last
  int32_t known_number;
};

EventState* state = nullptr;

void queue_event(int32_t code, int32_t window) {
  if (state->tail && state->tail->code == code && state->tail->window == window) return;
  auto* node = static_cast<QueuedEvent*>(general_alloc(sizeof(QueuedEvent)));
  if (!node) return;  // the event is dropped
  node->code = code;
  node->window = window;
  (state->tail ? state->tail->next : state->head) = node;
  state->tail = node;
}

void keep_quit(const MSG& message) {
  state->quit_requested = true;
  state->quit_code = int(message.wParam);
}

int32_t dequeue_event() {
  QueuedEvent* node = state->head;
  state->head = node->next;
  if (!state->head) state->tail = nullptr;
  state->window = node->window;
  state->pending = 0;
  int32_t code = node->code;
  general_free(node);
  return code;
}

// The number of the toolkit window that `window` belongs to, or -1.
// The last toolkit window asked about is remembered: every message of a
// dialog asks again, and a property costs a round trip to the window server
// on some platforms. The window table confirms it, so it never outlives it.
int32_t toolkit_window_number(HWND window) {
  if (window && window == state->known_window && window_handle(state->known_number) == window) return state->known_number;
  HWND owner = find_toolkit_window(window);
  intptr_t property = owner ? reinterpret_cast<intptr_t>(GetPropA(owner, WINDOW_PROPERTY)) : 0;
  int32_t number = property ? int32_t(property - 1) : -1;
  if (number != -1 && owner == window) {
    state->known_window = window;
    state->known_number = number;
  }
  return number;
}

// Fetches the next message as the timeout asks; false when none came.
// Messages that other threads send are handled while it waits: they run
// in the host's context.
bool next_message(int32_t timeout, MSG* message) {
  HostContextScope host_context;
  if (timeout == -1) return GetMessageW(message, nullptr, 0, 0) != -1;
  if (PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return true;
  if (timeout == 0) return false;
  if (MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(timeout), QS_ALLINPUT) == WAIT_TIMEOUT) return false;
  return PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != 0;
}

void translate_and_dispatch(const MSG& message) {
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// A message for a toolkit window is handled in the library's context (its
// controls may make windows of their own then); anything else (the host's
// windows, thread messages, timer callbacks) in the host's.
void dispatch(const MSG& message) {
  int32_t number = message.hwnd ? toolkit_window_number(message.hwnd) : -1;
  if (number != -1) {
    // A click or a key from before the window was made was meant for what
    // stood there before (the last call's window, left on screen): dropped.
    if (!input_predates_window(number, message)) translate_and_dispatch(message);
    return;
  }
  HostContextScope host_context;
  translate_and_dispatch(message);
}

LRESULT handle_command(HWND window, WPARAM wparam, LPARAM lparam) {
  HWND control = reinterpret_cast<HWND>(lparam);
  if (route_to_gadget(control, window, WM_COMMAND, wparam, lparam) != NOT_HANDLED) return 0;
  if (control) {
    int32_t id = int32_t(GetWindowLongA(control, GWL_ID));
    state->pending = EVENT_GADGET;
    state->type = HIWORD(wparam);
    state->gadget = id;
    if (id == MENU_CONTROL_ID) {
      state->pending = EVENT_MENU;
      state->gadget = LOWORD(wparam);
    }
  } else if (HIWORD(wparam) == 0) {
    state->pending = EVENT_MENU;
    state->gadget = int32_t(wparam);
  } else if (LOWORD(wparam) == CMD_FOCUS_NEXT || LOWORD(wparam) == CMD_FOCUS_PREVIOUS) {
    focus_next_gadget(LOWORD(wparam) == CMD_FOCUS_PREVIOUS);
  } else {
    state->pending = EVENT_MENU;
    state->gadget = LOWORD(wparam);
  }
  return 0;
}

BOOL CALLBACK pass_colour_change(HWND child, LPARAM) {
  SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT sized = sizing_message(window, message, wparam, lparam);
  if (sized != NOT_HANDLED) return sized;
  int32_t number = toolkit_window_number(window);
  state->window = number;
  switch (message) {
    case WM_COMMAND:
      return handle_command(window, wparam, lparam);
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      return route_to_gadget(header ? header->hwndFrom : nullptr, window, message, wparam, lparam);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return route_to_gadget(reinterpret_cast<HWND>(lparam), window, message, wparam, lparam);
    case MSG_GADGET_EVENT:
      state->pending = EVENT_GADGET;
      state->gadget = int32_t(wparam);
      state->type = int32_t(lparam);
      return 0;
    case WM_MOVE:
    case WM_CLOSE:  // the platform never closes a toolkit window by itself
      if (number != -1) queue_event(int32_t(message), number);
      return 0;
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED || number == -1) return NOT_HANDLED;
      queue_event(EVENT_WINDOW_SIZED, number);
      return 0;
    case WM_ACTIVATE:
      // The default handling is skipped, and with it the focus would stay
      // nowhere after the person comes back from another window.
      if (LOWORD(wparam) == WA_INACTIVE) {
        remember_focus(number);
        return 1;
      }
      if (!HIWORD(wparam)) restore_focus(number);
      queue_event(EVENT_WINDOW_ACTIVATED, number);
      return 1;
    case WM_ERASEBKGND:
      queue_event(EVENT_REPAINT, number);
      return NOT_HANDLED;
    case WM_SYSCOLORCHANGE:
      if (number != -1) EnumChildWindows(window, pass_colour_change, 0);
      return NOT_HANDLED;
    default:
      return NOT_HANDLED;
  }
}

struct FocusWalk {
  HWND current;
  bool backwards;
  bool passed_current;
  HWND first, last, previous, target;
};

BOOL CALLBACK visit_focus_candidate(HWND child, LPARAM data) {
  auto* walk = reinterpret_cast<FocusWalk*>(data);
  if (!IsWindowEnabled(child) || !IsWindowVisible(child) || !(GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP))
    return TRUE;
  if (!walk->first) walk->first = child;
  walk->last = child;
  if (walk->backwards) {
    if (child == walk->current && walk->previous) {
      walk->target = walk->previous;
      return FALSE;
    }
    walk->previous = child;
    return TRUE;
  }
  if (!walk->current || walk->passed_current) {
    walk->target = child;
    return FALSE;
  }
  if (child == walk->current) walk->passed_current = true;
  return TRUE;
}

}  // namespace

bool start_events() {
  state = static_cast<EventState*>(new_module_state(sizeof(EventState), nullptr, nullptr));
  return state && start_sizing();
}

int32_t wait_event(int32_t timeout) {
  state->type = -1;
  if (state->head) return dequeue_event();
  MSG message;
  if (!next_message(timeout, &message)) return EVENT_NONE;
  if (message.message == WM_QUIT) {
    keep_quit(message);
    return WM_QUIT;
  }
  // Only a toolkit window has accelerators; they go to it.
  HWND active = GetActiveWindow();
  HACCEL accelerators = window_accelerators(active);
  if (!accelerators || !TranslateAcceleratorW(active, accelerators, &message)) dispatch(message);
  if (state->pending) {
    int32_t code = state->pending;
    state->pending = 0;
    return code;
  }
  return int32_t(message.message);
}

void discard_events() {
  while (state->head) dequeue_event();
  state->pending = 0;
}

bool take_quit_request(int* exit_code) {
  if (!state || !state->quit_requested) return false;
  state->quit_requested = false;
  *exit_code = state->quit_code;
  return true;
}

int32_t event_gadget() { return state->gadget; }
int32_t event_window() { return state->window; }
int32_t event_type() { return state->type; }

void post_gadget_event(HWND control, int32_t type) {
  HWND window = find_toolkit_window(control);
  if (window) PostMessageA(window, MSG_GADGET_EVENT, WPARAM(GetWindowLongA(control, GWL_ID)), LPARAM(type));
}

HWND find_toolkit_window(HWND window) {
  while (window && !GetPropA(window, WINDOW_PROPERTY)) {
    HWND parent = GetParent(window);
    if (!parent) break;
    window = parent;
  }
  return window;
}

void flush_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      keep_quit(message);
      continue;
    }
    dispatch(message);
  }
  state->pending = 0;
}

void focus_next_gadget(bool backwards) {
  HWND root = GetActiveWindow();
  HWND focus = GetFocus();
  FocusWalk walk = {};
  walk.backwards = backwards;
  walk.current = (root && focus && IsChild(root, focus)) ? focus : nullptr;
  for (HWND ancestor = focus; ancestor; ancestor = GetParent(ancestor)) {
    char name[50] = {};
    GetClassNameA(ancestor, name, sizeof name);
    if (strcmp(name, "MDI_ChildClass") == 0) {
      root = ancestor;
      if (ancestor == focus) walk.current = nullptr;
    }
  }
  if (!root) return;
  EnumChildWindows(root, visit_focus_candidate, reinterpret_cast<LPARAM>(&walk));
  HWND target = walk.target ? walk.target : (backwards ? walk.last : walk.first);
  if (target) SetFocus(target);
}

LRESULT CALLBACK toolkit_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    LRESULT result = state ? handle_message(window, message, wparam, lparam) : NOT_HANDLED;
    return result == NOT_HANDLED ? DefWindowProcW(window, message, wparam, lparam) : result;
  } catch (...) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace vantrel
