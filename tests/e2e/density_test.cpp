// Every dialog at 120, 144 and 192 dpi: places and sizes grow with the
// fonts, so no button text is clipped. Wine takes the density from the
// prefix's LogPixels when a process starts, so each density runs in a child
// process of this program (the DensityChild tests, which only run there).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "harness.h"

using namespace harness;

namespace {

constexpr const char* DESKTOP_KEY = "Control Panel\\Desktop";

int expected_density() {
  const char* dpi = getenv("VANTREL_EXPECT_DPI");
  return dpi ? atoi(dpi) : 0;
}

int scaled(int value) { return MulDiv(value, expected_density(), 96); }

// The text of every button fits inside it in the button's own font.
void expect_button_texts_fit(const Dialog& d) {
  for (HWND child = GetWindow(d.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = {}, text[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Button") != 0 || (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
    int length = GetWindowTextA(child, text, sizeof text);
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
    SIZE needed = {};
    GetTextExtentPoint32A(dc, text, length, &needed);
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    RECT r;
    GetClientRect(child, &r);
    EXPECT_LE(needed.cx + 4, r.right) << "\"" << text << "\" is clipped";
    EXPECT_LE(needed.cy, r.bottom) << "\"" << text << "\" is clipped";
  }
}

void expect_scaled(const RECT& r, int x, int y, int w, int h, const char* what) {
  expect_rect(r, scaled(x), scaled(y), scaled(w), scaled(h), what);
}

// Checks the dialog at the density, saves it at 144 dpi, presses `ending`.
std::function<void(Dialog&)> check(int width, int height, int ending, const char* name,
                                   const std::function<void(Dialog&)>& more = nullptr) {
  return [=](Dialog& d) {
    expect_scaled(d.client(), 0, 0, width, height, name);
    expect_button_texts_fit(d);
    if (more) more(d);
    if (expected_density() == 144) save_screenshot(d.window, std::string("dpi144_") + name);
    PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(ending, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(ending)));
  };
}

// Sets the prefix's density for the processes started while it lives.
class PrefixDensity {
 public:
  explicit PrefixDensity(DWORD dpi) {
    RegCreateKeyExA(HKEY_CURRENT_USER, DESKTOP_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    DWORD size = sizeof before_;
    had_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) == 0;
    RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  ~PrefixDensity() {
    if (had_) RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_), sizeof before_);
    else RegDeleteValueA(key_, "LogPixels");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD before_ = 0;
  bool had_ = false;
};

}  // namespace

TEST(Density, EveryDialogAtEveryDensity) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  for (DWORD dpi : {120u, 144u, 192u}) {
    PrefixDensity density(dpi);
    std::string environment = "VANTREL_EXPECT_DPI=" + std::to_string(dpi);
    SetEnvironmentVariableA("VANTREL_EXPECT_DPI", std::to_string(dpi).c_str());
    std::string command = std::string("\"") + self + "\" --gtest_filter=DensityChild.*";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 150000), WAIT_OBJECT_0) << dpi << " dpi did not end";
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, 0u) << "the dialogs at " << dpi << " dpi (see the child's output)";
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    SetEnvironmentVariableA("VANTREL_EXPECT_DPI", nullptr);
  }
}

TEST(DensityChild, TheSevenDialogsGrowWithTheDensity) {
  if (!expected_density()) GTEST_SKIP() << "runs in the child of Density.EveryDialogAtEveryDensity";
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), expected_density()) << "the prefix's density did not take";
  ReleaseDC(nullptr, screen);
  const Library& lib = shared_library();
  auto input = lib.get<Show5>("ShowInput");
  auto list = lib.get<Show5>("ShowListBox");
  auto combo = lib.get<Show5>("ShowComboBox");
  auto calendar = lib.get<Show4>("ShowCal");
  auto drop = lib.get<Show4>("ShowDragnDrop");
  auto table = lib.get<Show6>("ShowMultiListBox");
  auto about = lib.get<Show10>("ShowAbout");
  auto ok_and_cancel = [](int width, int height) {
    return [=](Dialog& d) {
      expect_scaled(d.gadget_rect(1), width / 2 - 55, height - 27, 50, 23, "OK");
      expect_scaled(d.gadget_rect(2), width / 2 + 5, height - 27, 50, 23, "Cancel");
    };
  };
  run_dialog([&] { return input("Name", "Ada", "300", "200", "0"); }, check(300, 200, 2, "input", ok_and_cancel(300, 200)),
             nullptr, current_dialog());
  run_dialog([&] { return calendar("Day", "2024-02-29", "ISO", "0"); },
             check(226, 200, 2, "calendar",
                   [](Dialog& d) {
                     RECT needed = {};
                     SendMessageA(d.gadget(0), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed));
                     RECT has = d.gadget_rect(0);
                     EXPECT_LE(needed.right - needed.left, has.right - has.left) << "the month does not fit";
                     EXPECT_LE(needed.bottom - needed.top, has.bottom - has.top) << "the month does not fit";
                   }),
             nullptr, current_dialog());
  run_dialog([&] { return list("Colour", "Red|Green|Blue|", "200", "150", "0"); },
             check(200, 150, 2, "list_box", ok_and_cancel(200, 150)), nullptr, current_dialog());
  run_dialog([&] { return combo("Colour", "Red|Green|Blue|", "200", "100", "0"); },
             check(200, 100, 2, "combo_box", ok_and_cancel(200, 100)), nullptr, current_dialog());
  run_dialog([&] { return drop("Drop", "400", "300", "0"); },
             check(400, 300, 2, "drop", [](Dialog& d) { expect_scaled(d.gadget_rect(3), 5, 5, 390, 263, "list"); }),
             nullptr, current_dialog());
  run_dialog([&] { return table("People", "120~Name;60~Age;|Smith;42;|Jones;37;|", "1", "400", "300", "0"); },
             check(400, 300, 2, "multi_list",
                   [](Dialog& d) {
                     EXPECT_EQ(SendMessageA(d.gadget(3), LVM_GETCOLUMNWIDTH, 1, 0), scaled(120));
                     EXPECT_EQ(SendMessageA(d.gadget(3), LVM_GETCOLUMNWIDTH, 2, 0), scaled(60));
                   }),
             nullptr, current_dialog());
  run_dialog([&] { return about("About Vantrel", "Vantrel", "Dialogs for every host", "", "Body text.",
                                "https://example.org", "help@example.org", "300", "250", "0"); },
             check(300, 250, 4, "about",
                   [](Dialog& d) {
                     expect_scaled(d.gadget_rect(3), 55, 197, 90, 20, "web button");
                     expect_scaled(d.gadget_rect(4), 125, 223, 50, 23, "OK");
                   }),
             nullptr, current_dialog());
}
