#include "dialogs/skeleton.h"

#include "runtime/heaps.h"
#include "runtime/string_functions.h"
#include "runtime/visual_styles.h"
#include "ui/gadgets/gadgets.h"
#include "ui/gadgets/kinds.h"
#include "ui/graphics/fonts.h"
#include "ui/windows/density.h"
#include "ui/windows/events.h"
#include "ui/windows/windows.h"

namespace vantrel {

int32_t parse_extent(const char* text) {
  constexpr int32_t LOWEST = -32768, HIGHEST = 32767;
  int32_t value = parse_integer(text);
  return value < LOWEST ? LOWEST : value > HIGHEST ? HIGHEST : value;
}

namespace {

// The window the dialog is modal to: the top-level window of the one the
// host named (a form inside a frame names its frame's child), and only one
// of this process. Another process's window is not the host's to disable,
// and owning a dialog across processes would tie our input to theirs.
HWND host_window_named(const char* text) {
  HWND named = reinterpret_cast<HWND>(intptr_t(parse_integer(text)));
  DWORD process = 0;
  if (!named || !IsWindow(named) || !GetWindowThreadProcessId(named, &process) || process != GetCurrentProcessId())
    return nullptr;
  HWND top = GetAncestor(named, GA_ROOT);
  return top ? top : named;
}

// The host's window hears of it at once (WM_ENABLE, a lost focus): its
// code runs in its own context.
bool enable_host(HWND host, bool enable) {
  HostContextScope host_context;
  return EnableWindow(host, enable) != FALSE;
}

}  // namespace

DialogSkeleton::~DialogSkeleton() {
  // The call is over: the window stays on screen where it is, but no longer
  // above every program, beneath whatever the person brings forward.
  if (window_ && !replaced()) set_window_topmost(0, 0);
  if (host_) enable_host(host_, true);
}

bool DialogSkeleton::open(const char* title, int32_t width, int32_t height, const char* host_window,
                          int32_t font_points) {
  title_ = title;
  HWND host = host_window_named(host_window);
  // On the host's monitor, where the person is looking, at that monitor's density.
  set_layout_density(density_near(host));
  window_ = reinterpret_cast<HWND>(open_window(0, 0, 0, width, height, title, WINDOW_CENTRE_SCREEN, nullptr, host));
  if (!window_) return false;
  discard_events();
  // A host window that was disabled already (the host's own modal window
  // did it) is not ours to enable at the end.
  if (host && !enable_host(host, false)) host_ = host;
  set_window_topmost(0, 1);
  if (font_points > 0 && load_font(0, "Arial", font_points)) set_gadget_font(-1, reinterpret_cast<intptr_t>(font_handle(0)));
  return begin_gadget_list(window_handle(0)) != nullptr;
}

HWND add_hidden_label(const char* text, const char* fallback) {
  const char* name = text_length(text) > 0 ? text : fallback;
  int32_t length = text_length(name), ampersands = 0;
  for (int32_t i = 0; i < length; ++i) ampersands += name[i] == '&';
  // A '&' byte is never part of a longer character in the code pages we meet
  // (UTF-8, and the multi-byte ones put no lead or trail byte below 0x40).
  auto* doubled = static_cast<char*>(general_alloc(size_t(length + ampersands + 1)));
  if (!doubled) return nullptr;
  char* out = doubled;
  for (int32_t i = 0; i < length; ++i) {
    *out++ = name[i];
    if (name[i] == '&') *out++ = '&';
  }
  *out = 0;
  HWND label = create_gadget_control(0, L"Static", doubled, WS_CHILD | SS_LEFT, 0, 0, 0, 0, LABEL_CONTROL_ID);
  general_free(doubled);
  return label;
}

void DialogSkeleton::label_next_control(const char* kind_word) { add_hidden_label(title_, kind_word); }

void DialogSkeleton::add_ok_and_cancel(int32_t width, int32_t height) {
  add_ok_and_cancel_at(width / 2 - 55, width / 2 + 5, height - 27);
}

void DialogSkeleton::add_ok_and_cancel_at(int32_t ok_x, int32_t cancel_x, int32_t y) {
  create_button_gadget(GADGET_OK, ok_x, y, 50, 23, "OK");
  create_button_gadget(GADGET_CANCEL, cancel_x, y, 50, 23, "Cancel");
}

bool DialogSkeleton::replaced() const { return window_handle(0) != window_; }

int32_t DialogSkeleton::wait_for_gadget(const int32_t* endings, int32_t count) {
  for (;;) {
    // The host's loop must still see a quit that this loop took: it goes
    // back on the queue with its code, and the dialog ends.
    int exit_code = 0;
    if (take_quit_request(&exit_code)) {
      PostQuitMessage(exit_code);
      return QUIT;
    }
    int32_t event = wait_event();
    if (replaced()) return REPLACED;
    if (event != EVENT_GADGET || event_window() != 0) continue;
    for (int32_t i = 0; i < count; ++i)
      if (event_gadget() == endings[i]) return endings[i];
  }
}

DialogSkeleton::Ending DialogSkeleton::wait_for_ending() {
  static constexpr int32_t endings[] = {GADGET_OK, GADGET_CANCEL};
  switch (wait_for_gadget(endings, 2)) {
    case GADGET_OK: return Ending::Ok;
    case REPLACED: return Ending::Replaced;
    default: return Ending::Cancel;  // a quit ends the dialog as Cancel does
  }
}

}  // namespace vantrel
