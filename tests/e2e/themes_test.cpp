// Version 6 of the common controls in every host: the dialogs' controls are
// themed whether the host has a manifest of its own (the build gives one
// copy of this program one) or not. Under Wine a version-6 button has a
// window theme and user32's old button has none. The host's own code that
// runs while a dialog waits gets what it gets outside any call.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace harness;

namespace {

using WindowTheme = HANDLE(WINAPI*)(HWND);

HANDLE theme_of(HWND window) {
  static auto get = reinterpret_cast<WindowTheme>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("uxtheme.dll"), "GetWindowTheme")));
  return get ? get(window) : nullptr;
}

bool host_has_manifest() { return FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)) != nullptr; }

// The host's own button: themed only when the host asked for version 6.
TEST(Themes, TheMeasureTellsTheVersionsApart) {
  HWND button = CreateWindowExA(0, "Button", "host", WS_POPUP | BS_PUSHBUTTON, 0, 0, 50, 20, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(theme_of(button) != nullptr, host_has_manifest());
  DestroyWindow(button);
}

TEST(Themes, EveryDialogHasVersion6Controls) {
  const Library& lib = shared_library();
  auto themed = [](int button, const char* name) {
    return [=](Dialog& d) {
      EXPECT_NE(theme_of(d.gadget(button)), nullptr) << name << ": the button is not version 6";
      save_screenshot(d.window, std::string(host_has_manifest() ? "themed_host_" : "themed_") + name);
      PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(button)));
    };
  };
  auto input = lib.get<Show5>("ShowInput");
  auto list = lib.get<Show5>("ShowListBox");
  auto combo = lib.get<Show5>("ShowComboBox");
  auto calendar = lib.get<Show4>("ShowCal");
  auto drop = lib.get<Show4>("ShowDragnDrop");
  auto table = lib.get<Show6>("ShowMultiListBox");
  auto about = lib.get<Show10>("ShowAbout");
  run_dialog([&] { return input("Name", "Ada", "300", "200", "0"); }, themed(2, "input"), nullptr, current_dialog());
  run_dialog([&] { return calendar("Day", "2024-02-29", "ISO", "0"); }, themed(2, "calendar"), nullptr, current_dialog());
  run_dialog([&] { return list("Colour", "Red|Green|Blue|", "200", "150", "0"); }, themed(2, "list_box"), nullptr,
             current_dialog());
  run_dialog([&] { return combo("Colour", "Red|Green|Blue|", "200", "100", "0"); }, themed(2, "combo_box"), nullptr,
             current_dialog());
  run_dialog([&] { return drop("Drop", "400", "300", "0"); }, themed(2, "drop"), nullptr, current_dialog());
  run_dialog([&] { return table("People", "120~Name;60~Age;|Smith;42;|Jones;37;|", "1", "400", "300", "0"); },
             themed(2, "multi_list"), nullptr, current_dialog());
  run_dialog([&] { return about("About", "Vantrel", "Dialogs", "", "Body", "https://example.org", "a@example.org", "300",
                                "250", "0"); },
             themed(4, "about"), nullptr, current_dialog());
}

// What host code finds when it makes a button: the activation context it
// runs in, and whether the button is version 6.
struct HostView {
  bool seen;
  HANDLE context;
  bool themed;
};

HostView look_as_host() {
  HostView view = {true, nullptr, false};
  if (GetCurrentActCtx(&view.context) && view.context) ReleaseActCtx(view.context);  // only its value is compared
  HWND button = CreateWindowExA(0, "Button", "host", WS_POPUP | BS_PUSHBUTTON, 0, 0, 50, 20, nullptr, nullptr,
                                nullptr, nullptr);
  view.themed = theme_of(button) != nullptr;
  DestroyWindow(button);
  return view;
}

void expect_as_outside(const HostView& seen, const HostView& outside, const char* where) {
  EXPECT_TRUE(seen.seen) << where << " never ran";
  EXPECT_EQ(seen.context, outside.context) << where << ": not the host's context";
  EXPECT_EQ(seen.themed, outside.themed) << where << ": not the button the host gets outside a call";
}

HostView from_window_timer, from_message, from_timer_callback, from_nested_call;
Show5 nested_input = nullptr;

// A timer of the host that calls in again: the new dialog is version 6, and
// the host's code around the call runs in its own context before and after.
void CALLBACK calling_timer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  nested_input("Nested", "inner", "250", "150", "0");
  from_nested_call = look_as_host();
}

LRESULT CALLBACK looking_host(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && wparam == 1) {
    KillTimer(window, 1);
    from_window_timer = look_as_host();
    return 0;
  }
  if (message == WM_APP) {
    from_message = look_as_host();
    return 0;
  }
  if (message == WM_APP + 1) {  // the host starts a timer that will call in again
    SetTimer(nullptr, 0, 10, calling_timer);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

void CALLBACK looking_timer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  from_timer_callback = look_as_host();
}

}  // namespace

TEST(Themes, HostCodeDuringADialogRunsInTheHostsOwnContext) {
  const Library& lib = shared_library();
  auto input = lib.get<Show5>("ShowInput");
  ASSERT_TRUE(input);
  const HostView outside = look_as_host();
  HWND host = make_calling_host("LookingHost", looking_host);
  // Timers are the calling thread's: set before the call, they come while it waits.
  SetTimer(host, 1, 30, nullptr);
  SetTimer(nullptr, 0, 30, looking_timer);
  run_dialog([&] { return input("Host code", "text", "300", "200", "0"); },
             [&](Dialog& d) {
               PostMessageA(host, WM_APP, 0, 0);
               EXPECT_TRUE(wait_until([] { return from_window_timer.seen && from_message.seen && from_timer_callback.seen; }));
               EXPECT_NE(theme_of(d.gadget(2)), nullptr) << "the dialog's own button is not version 6";
               PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(2)));
             },
             nullptr, current_dialog());
  expect_as_outside(from_window_timer, outside, "a timer of the host's window");
  expect_as_outside(from_message, outside, "a message to the host's window");
  expect_as_outside(from_timer_callback, outside, "a timer callback");

  nested_input = input;
  run_dialog([&] { return input("Outer", "outer", "300", "200", "0"); },
             [&](Dialog& first) {
               PostMessageA(host, WM_APP + 1, 0, 0);
               HWND second = nullptr;
               ASSERT_TRUE(wait_until([&] {
                 second = current_dialog();
                 return second && second != first.window && IsWindowVisible(second);
               }));
               Dialog nested = {second};
               settle(nested);
               EXPECT_NE(theme_of(nested.gadget(1)), nullptr) << "the nested dialog's button is not version 6";
               PostMessageA(second, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(nested.gadget(1)));
             },
             nullptr, current_dialog());
  DestroyWindow(host);
  expect_as_outside(from_nested_call, outside, "the host after a nested call");
  expect_as_outside(look_as_host(), outside, "the host after both calls");
}
