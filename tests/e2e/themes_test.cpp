// Version 6 of the common controls in every host: the dialogs' controls are
// themed whether the host has a manifest of its own (the build gives one
// copy of this program one) or not. Under Wine a version-6 button has a
// window theme and user32's old button has none.
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

}  // namespace
