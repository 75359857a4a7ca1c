// What a screen reader hears. A control without text of its own is named
// after the static text just before it in z-order; Wine's accessibility
// layer applies that rule to the plain Edit class only, so the rule itself is
// checked for every dialog's main control (calibrated against the Edit), and
// the accessibility layer for the buttons and texts that name themselves.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int OK = 1, CANCEL = 2, TABLE = 3, ABOUT_OK = 4, ABOUT_PICTURE = 8, LAST_GADGET = 10;
using Wide = const wchar_t*;

std::wstring text_of(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// What the accessibility layer names a control (its client object).
std::wstring accessible_name(HWND control) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return L"<no object>";
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring result = SUCCEEDED(object->get_accName(self, &name)) && name ? std::wstring(name) : L"<no name>";
  SysFreeString(name);
  object->Release();
  return result;
}

// The label rule: the control's previous window in z-order, when it is a
// static text, names it; "&&" reads as "&" and a lone "&" marks a mnemonic.
struct Label {
  HWND window = nullptr;
  std::wstring name;
};
Label label_before(HWND control) {
  Label label;
  label.window = GetWindow(control, GW_HWNDPREV);
  wchar_t kind[32] = {};
  if (!label.window || !GetClassNameW(label.window, kind, 32) || lstrcmpiW(kind, L"Static") != 0) return label;
  std::wstring text = text_of(label.window);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    else if (text[i] == L'&') continue;
    label.name += text[i];
  }
  return label;
}

// The control has a hidden label that is no tab stop, no gadget, and names it `expected`.
void expect_hidden_label(const Dialog& d, HWND control, const std::wstring& expected, const char* what) {
  ASSERT_NE(control, nullptr) << what;
  Label label = label_before(control);
  ASSERT_NE(label.window, nullptr) << what << ": no static text before it";
  EXPECT_EQ(label.name, expected) << what;
  EXPECT_FALSE(IsWindowVisible(label.window)) << what;
  EXPECT_FALSE(GetWindowLongW(label.window, GWL_STYLE) & WS_TABSTOP) << what;
  int id = GetDlgCtrlID(label.window);
  EXPECT_TRUE(id < 0 || id > LAST_GADGET) << what << ": label has a gadget's number " << id;
  EXPECT_EQ(GetParent(label.window), d.window) << what;
}

HWND focus_of(const Dialog& d) {
  GUITHREADINFO info = {sizeof info};
  GetGUIThreadInfo(GetWindowThreadProcessId(d.window, nullptr), &info);
  return info.hwndFocus;
}

// The buttons and visible texts of the dialog are named by their own text.
void expect_self_named(const Dialog& d) {
  for (HWND child = GetWindow(d.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[32] = {};
    GetClassNameW(child, kind, 32);
    bool button = lstrcmpiW(kind, L"Button") == 0, text = lstrcmpiW(kind, L"Static") == 0;
    if (!IsWindowVisible(child) || !(button || text) || text_of(child).empty()) continue;
    std::wstring own = text_of(child);
    EXPECT_EQ(accessible_name(child), own) << "a " << (button ? "button" : "text");
  }
}

struct Case {
  const char* name;    // the export
  int control;         // its main control's gadget number
  const wchar_t* kind; // the label of an untitled dialog
  std::vector<std::wstring> rest;  // the arguments after the title
};
const std::vector<Case> cases = {
    {"ShowInput", 0, L"Text", {L"", L"300", L"200", L"0"}},
    {"ShowCal", 0, L"Date", {L"TODAY", L"ISO", L"0"}},
    {"ShowListBox", 0, L"List", {L"Red|Green|", L"200", L"150", L"0"}},
    {"ShowComboBox", 0, L"List", {L"Red|Green|", L"200", L"80", L"0"}},
    {"ShowDragnDrop", TABLE, L"Files", {L"300", L"200", L"0"}},
    {"ShowMultiListBox", TABLE, L"Table", {L"Name;Age;|Smith;42;|Jones;37;|", L"0", L"300", L"200", L"0"}},
};

std::string narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += char(c);  // the fixed calls here pass ASCII only
  return out;
}

// Calls the export, fixed or wide, with `title` and the case's arguments,
// and runs `check` on its dialog before pressing Cancel.
void call(const Case& c, bool wide, const std::wstring& title, const std::function<void(Dialog&)>& check) {
  std::vector<std::wstring> wide_args = {title};
  wide_args.insert(wide_args.end(), c.rest.begin(), c.rest.end());
  std::vector<std::string> fixed_args;
  for (const std::wstring& a : wide_args) fixed_args.push_back(narrow(a));
  void* show = shared_library().find(wide ? (std::string(c.name) + "W").c_str() : c.name);
  ASSERT_NE(show, nullptr) << c.name;
  auto drive = [&](Dialog& d) {
    check(d);
    click_gadget(d, CANCEL);
  };
  run_dialog(
      [&]() -> Text {
        auto f = [&](size_t i) { return fixed_args[i].c_str(); };
        auto w = [&](size_t i) { return wide_args[i].c_str(); };
        switch (wide_args.size()) {
          case 4:
            if (wide) return reinterpret_cast<Text>(reinterpret_cast<Wide(__stdcall*)(Wide, Wide, Wide, Wide)>(show)(w(0), w(1), w(2), w(3)));
            return reinterpret_cast<Show4>(show)(f(0), f(1), f(2), f(3));
          case 5:
            if (wide) return reinterpret_cast<Text>(reinterpret_cast<Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide)>(show)(w(0), w(1), w(2), w(3), w(4)));
            return reinterpret_cast<Show5>(show)(f(0), f(1), f(2), f(3), f(4));
          default:
            if (wide) return reinterpret_cast<Text>(reinterpret_cast<Wide(__stdcall*)(Wide, Wide, Wide, Wide, Wide, Wide)>(show)(w(0), w(1), w(2), w(3), w(4), w(5)));
            return reinterpret_cast<Show6>(show)(f(0), f(1), f(2), f(3), f(4), f(5));
        }
      },
      drive, nullptr, current_dialog());
}

}  // namespace

// The helper's rule is the platform's where Wine applies it: an Edit after a
// hidden label is named by it, "&&" as "&". (Wine keeps a lone mnemonic "&"
// in the name, where Windows drops it; the dialogs' labels have none.)
TEST(ScreenReader, TheLabelRuleIsThePlatformsForAnEdit) {
  HostWindow host;
  HWND label = CreateWindowW(L"Static", L"Save && Close", WS_CHILD, 0, 0, 0, 0, host.handle(), nullptr, nullptr, nullptr);
  HWND edit = CreateWindowW(L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 20, host.handle(), nullptr,
                            nullptr, nullptr);
  ASSERT_TRUE(label && edit);
  EXPECT_EQ(label_before(edit).name, L"Save & Close");
  EXPECT_EQ(accessible_name(edit), label_before(edit).name);
  DestroyWindow(edit);
  DestroyWindow(label);
}

// Each dialog's main control, through both kinds of export: named by the
// title ("&" read as itself), by the kind's word when the title is empty;
// it has the keyboard focus, and the buttons are named by their text.
TEST(ScreenReader, EveryDialogsMainControlIsNamedByItsTitle) {
  for (bool wide : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (wide ? "W" : ""));
      const std::wstring title = wide ? L"\x03A9\x03BC\x03AD\x03B3\x03B1 & \x6771\x4EAC" : L"Save & Close";
      call(c, wide, title, [&](Dialog& d) {
        HWND control = d.gadget(c.control);
        expect_hidden_label(d, control, title, c.name);
        EXPECT_EQ(focus_of(d), control) << "keyboard focus";
        if (c.control == TABLE && SendMessageW(control, LVM_GETITEMCOUNT, 0, 0) > 0) {
          EXPECT_EQ(SendMessageW(control, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 0) << "a focused row";
        }
        EXPECT_EQ(accessible_name(d.gadget(OK)), L"OK");
        EXPECT_EQ(accessible_name(d.gadget(CANCEL)), L"Cancel");
        if (!wide && c.control == TABLE) save_screenshot(d.window, "screen_reader_table");
      });
      call(c, wide, L"", [&](Dialog& d) {
        HWND control = d.gadget(c.control);
        expect_hidden_label(d, control, c.kind, c.name);
        if (c.control != TABLE || SendMessageW(control, LVM_GETITEMCOUNT, 0, 0) == 0) return;
        // The row offered to be read is not skipped: Down still picks the first.
        SetForegroundWindow(d.window);
        settle(d);
        press_key(VK_DOWN);
        settle(d);
        EXPECT_EQ(SendMessageW(control, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 0) << "Down picks the first row";
      });
    }
  }
}

// The about box's picture is named by the heading, and its texts and buttons by themselves.
TEST(ScreenReader, TheAboutBoxsPictureIsNamedByTheHeading) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring picture = std::wstring(folder) + L"screen_reader_picture.bmp";
  ASSERT_TRUE(write_picture(picture));
  std::string picture_path(picture.begin(), picture.end());
  auto about = shared_library().get<Show10>("ShowAbout");
  ASSERT_NE(about, nullptr);
  run_dialog(
      [&] {
        return about("About", "Tom and Jerry", "Version 2", picture_path.c_str(), "A body text.", "www.example.org",
                     "me@example.org", "300", "250", "0");
      },
      [&](Dialog& d) {
        expect_hidden_label(d, d.gadget(ABOUT_PICTURE), L"Tom and Jerry", "picture");
        expect_self_named(d);
        save_screenshot(d.window, "screen_reader_about");
        click_gadget(d, ABOUT_OK);
      },
      nullptr, current_dialog());
  DeleteFileW(picture.c_str());
}
