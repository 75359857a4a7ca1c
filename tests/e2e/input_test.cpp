// ShowInput driven through real input, as a person would use it.
#include <gtest/gtest.h>
#include <richedit.h>

#include "harness.h"

using namespace harness;

namespace {

constexpr int EDITOR = 0, OK = 1, CANCEL = 2;

class InputDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    show = shared_library().get<Show5>("ShowInput");
    ASSERT_NE(show, nullptr);
  }

  std::string input(Text title, Text text, Text width, Text height, const std::function<void(Dialog&)>& drive,
                    HWND host_window = nullptr) {
    std::string host_text = host_window ? std::to_string(reinterpret_cast<intptr_t>(host_window)) : "0";
    return run_dialog([&] { return show(title, text, width, height, host_text.c_str()); }, drive, host_window,
                      current_dialog());
  }

  static std::string editor_text(const Dialog& d) {
    char text[4096] = {};
    SendMessageA(d.gadget(EDITOR), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }

  static HWND focused(const Dialog& d) {
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(d.window, nullptr), &info);
    return info.hwndFocus;
  }

  Show5 show = nullptr;
};


}  // namespace

TEST_F(InputDialog, LaysOutCentredAndReturnsTypedText) {
  HostWindow host;
  std::string answer = input("Your name", "", "300", "200", [](Dialog& d) {
    expect_rect(d.client(), 0, 0, 300, 200, "client area");
    expect_rect(d.gadget_rect(EDITOR), 0, 0, 300, 170, "editor");
    expect_rect(d.gadget_rect(OK), 95, 173, 50, 23, "OK");
    expect_rect(d.gadget_rect(CANCEL), 155, 173, 50, 23, "Cancel");
    RECT outer;
    GetWindowRect(d.window, &outer);
    EXPECT_EQ(outer.left, (1024 - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (768 - (outer.bottom - outer.top)) / 2);
    char caption[64] = {};
    GetWindowTextA(d.window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Your name");
    // Editor and buttons share font 0, Arial 9.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(d.gadget(OK), WM_GETFONT, 0, 0));
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageA(d.gadget(CANCEL), WM_GETFONT, 0, 0)));
    LOGFONTA logical = {};
    GetObjectA(font, sizeof logical, &logical);
    EXPECT_STREQ(logical.lfFaceName, "Arial");
    EXPECT_EQ(logical.lfHeight, -12);
    CHARFORMATA format = {sizeof format};
    SendMessageA(d.gadget(EDITOR), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, "Arial");

    click_gadget(d, EDITOR);
    type_text("Ada Lovelace, 1815");
    settle(d);
    save_screenshot(d.window, "input_typed");
    click_gadget(d, OK);
  }, host.handle());
  EXPECT_EQ(answer, "Ada Lovelace, 1815");
}

TEST_F(InputDialog, SeveralLinesComeBackWithTheControlsLineBreaks) {
  std::string seen;
  std::string answer = input("Lines", "", "300", "200", [&](Dialog& d) {
    type_text("first\nsecond");
    settle(d);
    seen = editor_text(d);
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, seen);
  EXPECT_EQ(answer, "first\r\nsecond");
}

TEST_F(InputDialog, EmptyOkCancelAndTheWordCancel) {
  EXPECT_EQ(input("Empty", "", "300", "200", [](Dialog& d) { click_gadget(d, OK); }), "");
  EXPECT_EQ(input("Cancel", "kept?", "300", "200", [](Dialog& d) { click_gadget(d, CANCEL); }), "CANCEL");
  EXPECT_EQ(input("Typed", nullptr, "300", "200", [](Dialog& d) {
              EXPECT_EQ(editor_text(d), "");
              type_text("CANCEL");
              click_gadget(d, OK);
            }),
            "CANCEL");
}

TEST_F(InputDialog, LongLinesWrapAtTheBoxEdge) {
  std::string words;
  for (int i = 0; i < 30; ++i) words += "word" + std::to_string(i) + " ";
  std::string unbroken(200, 'x');
  input("Wrap", (words + "\r\n" + unbroken).c_str(), "300", "200", [](Dialog& d) {
    settle(d);
    LRESULT lines = SendMessageA(d.gadget(EDITOR), EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 4) << "the two long lines did not wrap";
    SCROLLINFO info = {sizeof info, SIF_ALL};
    if (GetScrollInfo(d.gadget(EDITOR), SB_HORZ, &info)) {
      EXPECT_LE(int(info.nMax - info.nMin + 1), int(info.nPage) + 1) << "scrolls sideways";
    }
    save_screenshot(d.window, "input_wrapped");
    click_gadget(d, CANCEL);
  });
}

TEST_F(InputDialog, ASecondCallReplacesTheFirstWindowWithItsOwnText) {
  HWND first = nullptr;
  input("First", "one", "300", "200", [&](Dialog& d) {
    first = d.window;
    type_text("typed ");
    click_gadget(d, OK);
  });
  input("Second", "two", "320", "180", [&](Dialog& d) {
    EXPECT_NE(d.window, first);
    EXPECT_FALSE(IsWindow(first)) << "the first window is still there";
    EXPECT_EQ(editor_text(d), "two");
    click_gadget(d, CANCEL);
  });
}

TEST_F(InputDialog, CloseRequestsDoNotEndIt) {
  std::string answer = input("Close", "stay", "300", "200", [](Dialog& d) {
    press_key(VK_F4, false, true);
    PostMessageA(d.window, WM_CLOSE, 0, 0);
    settle(d);
    EXPECT_TRUE(IsWindowVisible(d.window));
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "stay");
}

TEST_F(InputDialog, TabTypesIntoTheEditorAndMovesBetweenButtons) {
  std::string answer = input("Tabs", "", "300", "200", [](Dialog& d) {
    settle(d);
    EXPECT_EQ(focused(d), d.gadget(EDITOR));
    type_text("a");
    press_key(VK_TAB);
    type_text("b");
    settle(d);
    EXPECT_EQ(editor_text(d), "a\tb");
    EXPECT_EQ(focused(d), d.gadget(EDITOR));
    press_key(VK_TAB, true);  // back from the first gadget wraps to the last
    settle(d);
    EXPECT_EQ(focused(d), d.gadget(CANCEL));
    press_key(VK_TAB, true);
    settle(d);
    EXPECT_EQ(focused(d), d.gadget(OK));
    press_key(VK_TAB);
    settle(d);
    EXPECT_EQ(focused(d), d.gadget(CANCEL));
    press_key(VK_SPACE);
  });
  EXPECT_EQ(answer, "CANCEL");
}

TEST_F(InputDialog, BadSizesAndHostWindowsNeitherCrashNorHang) {
  // Not numbers and negative: a tiny window that the keyboard can still end.
  for (auto size : {std::pair<Text, Text>{"abc", "-5"}, {"-300", "xyz"}, {nullptr, ""}}) {
    std::string answer = input("Tiny", "t", size.first, size.second, [](Dialog&) {
      press_key(VK_TAB, true);
      press_key(VK_SPACE);
    });
    EXPECT_EQ(answer, "CANCEL");
  }
  // Larger than the screen: clipped to it and placed at 0, 0.
  input("Huge", "", "5000", "4000", [](Dialog& d) {
    RECT outer;
    GetWindowRect(d.window, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_LE(outer.right - outer.left, 1024);
    EXPECT_LE(outer.bottom - outer.top, 768);
    PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(CANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(CANCEL)));
  });
  // Host window texts that name no window: nothing is disabled.
  HostWindow bystander;
  for (Text host : {"not a window", "12345", "-1"}) {
    std::string answer = run_dialog([&] { return show("Host", "h", "300", "200", host); },
                                    [&](Dialog& d) {
                                      EXPECT_TRUE(IsWindowEnabled(bystander.handle()));
                                      click_gadget(d, OK);
                                    },
                                    nullptr, current_dialog());
    EXPECT_EQ(answer, "h");
  }
}

TEST_F(InputDialog, AMegabyteOfInitialTextComesBackWhole) {
  std::string big;
  while (big.size() < (1 << 20)) big += "0123456789abcdefghijklmnopqrstuvwxyz ";
  std::string answer = input("Big", big.c_str(), "300", "200", [](Dialog& d) { click_gadget(d, OK); });
  EXPECT_EQ(answer.size(), big.size());
  EXPECT_TRUE(answer == big);
}

namespace {
Show5 nested_show = nullptr;
std::string nested_answer;
// A host window whose handler calls in again when it gets WM_APP.
LRESULT CALLBACK calling_host(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) {
    nested_answer = nested_show("Nested", "inner", "250", "150", "0");
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
}  // namespace

// A host whose message handler calls in again while a dialog waits: the new
// dialog replaces the old one, and the old call returns instead of waiting
// for a window that is gone.
TEST_F(InputDialog, ACallFromAHostMessageEndsTheWaitingDialog) {
  nested_show = show;
  nested_answer.clear();
  HWND host = make_calling_host("CallingHost", calling_host);
  std::string outer = input("Outer", "outer", "300", "200", [host](Dialog& first) {
    PostMessageA(host, WM_APP, 0, 0);
    Dialog second = {nullptr};
    ASSERT_TRUE(wait_until([&] {
      HWND w = current_dialog();
      if (!w || w == first.window || !IsWindowVisible(w)) return false;
      second.window = w;
      return true;
    }));
    settle(second);
    EXPECT_FALSE(IsWindow(first.window));
    click_gadget(second, OK);
  });
  DestroyWindow(host);
  EXPECT_EQ(nested_answer, "inner");
  EXPECT_EQ(outer, "inner");  // the export's result as the nested call left it
}

// The box takes the host's text as plain text: a text that starts like RTF
// comes back byte for byte when the person changes nothing.
TEST_F(InputDialog, TextThatLooksLikeRtfStaysPlainText) {
  for (Text text : {"{\\rtf1 hello \\b world}", "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\f0\\pard x\\par}",
                    "{\\urtf1 plain}", "line one\r\n{\\rtf second line}"}) {
    std::string shown;
    std::string answer = input("Plain", text, "300", "200", [&](Dialog& d) {
      shown = editor_text(d);
      click_gadget(d, OK);
    });
    EXPECT_EQ(shown, text);
    EXPECT_EQ(answer, text);
  }
}

// A host that closes its main window while a dialog waits posts WM_QUIT to
// its thread: the dialog ends as Cancel does and the quit reaches the host.
TEST_F(InputDialog, AQuitPostedWhileItWaitsEndsItAndReachesTheHost) {
  DWORD host_thread = GetCurrentThreadId();
  HostWindow host;
  std::string answer = input("Quit", "kept", "300", "200", [&](Dialog&) {
    PostThreadMessageA(host_thread, WM_QUIT, 7, 0);
  }, host.handle());
  EXPECT_EQ(answer, "CANCEL");
  MSG message = {};
  bool quit = false;
  DWORD start = GetTickCount();
  while (!quit && GetTickCount() - start < 3000) {
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      Sleep(10);
      continue;
    }
    if (message.message == WM_QUIT) quit = true;
    else DispatchMessageA(&message);
  }
  ASSERT_TRUE(quit) << "the host's queue holds no quit";
  EXPECT_EQ(message.wParam, 7u);
}

// A host that calls from inside its own modal window passes a main window
// that window has disabled: it must stay disabled after the dialog.
TEST_F(InputDialog, AHostWindowDisabledBeforeTheCallStaysDisabled) {
  HostWindow host;
  EnableWindow(host.handle(), FALSE);
  std::string host_text = host.text();
  std::string answer = run_dialog([&] { return show("Modal host", "x", "300", "200", host_text.c_str()); },
                                  [&](Dialog& d) {
                                    EXPECT_FALSE(IsWindowEnabled(host.handle()));
                                    click_gadget(d, OK);
                                  },
                                  nullptr, current_dialog());
  EXPECT_EQ(answer, "x");
  EXPECT_FALSE(IsWindowEnabled(host.handle())) << "the dialog enabled a window it had not disabled";
  // One that was enabled is enabled again, as before.
  EnableWindow(host.handle(), TRUE);
  input("Host", "y", "300", "200", [](Dialog& d) { click_gadget(d, OK); }, host.handle());
  EXPECT_TRUE(IsWindowEnabled(host.handle()));
}

namespace {
Show5 list_show = nullptr;
std::string list_answer;
LRESULT CALLBACK list_calling_host(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_APP) {
    list_answer = list_show("Colour", "Red|Green|Blue|", "200", "150", "0");
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
}  // namespace

// A host message waiting when ShowInput starts is handled while the editor
// is made, and opens a list in its place: the list dialog stands whole, and
// the input call that it replaced answers its previous result.
TEST_F(InputDialog, ACallWhileTheBoxIsBuiltLeavesTheNewDialogWhole) {
  list_show = shared_library().get<Show5>("ShowListBox");
  ASSERT_NE(list_show, nullptr);
  std::string previous = input("Before", "earlier answer", "300", "200", [](Dialog& d) { click_gadget(d, OK); });
  HWND host = make_calling_host("ListCallingHost", list_calling_host);
  list_answer.clear();
  PostMessageA(host, WM_APP, 0, 0);
  int items_seen = -1;
  std::string outer = run_dialog([&] { return show("Outer", "outer", "300", "200", "0"); },
                                 [&](Dialog& d) {
                                   HWND list = d.gadget(0);
                                   items_seen = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
                                   RECT item;
                                   SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
                                   RECT r = d.gadget_rect(0);
                                   click_at(d.client_to_screen(r.left + 20, r.top + 2 + (item.top + item.bottom) / 2));
                                   click_gadget(d, OK);
                                 },
                                 nullptr, current_dialog(), [](HWND w) {
                                   // The input window shows for a moment before the list replaces it.
                                   char name[32] = {};
                                   return GetClassNameA(GetDlgItem(w, 0), name, sizeof name) && !strcmp(name, "ListBox");
                                 });
  DestroyWindow(host);
  EXPECT_EQ(items_seen, 3);
  EXPECT_EQ(list_answer, "Green");
  EXPECT_EQ(outer, previous);
  HWND standing = current_dialog();
  ASSERT_NE(standing, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(standing, 0), LB_GETCOUNT, 0, 0), 3) << "the list dialog lost its list";
}

// After the person switches to another window and back, the keys go to the
// gadget that had the focus, as in the platform's own dialogs.
TEST_F(InputDialog, FocusComesBackAfterSwitchingWindows) {
  HostWindow other;
  std::string answer = input("Switch", "", "300", "200", [&](Dialog& d) {
    settle(d);
    type_text("a");
    click_at(d.client_to_screen(-100, -100));  // somewhere outside the dialog
    SetForegroundWindow(other.handle());
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other.handle(); }));
    settle(d);
    // Back by a click on the caption, as a person does.
    RECT outer;
    GetWindowRect(d.window, &outer);
    click_at({(outer.left + outer.right) / 2, outer.top + 8});
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == d.window; }));
    settle(d);
    type_text("b");
    settle(d);
    EXPECT_EQ(editor_text(d), "ab");
    click_gadget(d, OK);
  });
  EXPECT_EQ(answer, "ab");
}
