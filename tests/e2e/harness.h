#pragma once
// What the end-to-end tests share: the library loaded as a host loads it, a
// host window, a driver thread that acts as the person through real input,
// geometry checks and screenshots.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace harness {

std::string beside_program(const char* file_name);

// vantrel.dll loaded by LoadLibraryA; exports looked up by name.
class Library {
 public:
  Library();
  ~Library();
  HMODULE module() const { return module_; }
  void* find(const char* name) const;
  template <typename Function>
  Function get(const char* name) const {
    return reinterpret_cast<Function>(find(name));
  }

 private:
  HMODULE module_;
};

// One library for the whole test program, loaded on first use.
const Library& shared_library();

using Text = const char*;
using Show4 = Text(__stdcall*)(Text, Text, Text, Text);
using Show5 = Text(__stdcall*)(Text, Text, Text, Text, Text);
using Show6 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text);
using Show10 = Text(__stdcall*)(Text, Text, Text, Text, Text, Text, Text, Text, Text, Text);

// A plain top-level window standing for the host's own.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HWND handle() const { return handle_; }
  std::string text() const;  // the handle as decimal text

 private:
  HWND handle_;
};

// The dialog as the driver sees it.
struct Dialog {
  HWND window;
  HWND gadget(int number) const { return GetDlgItem(window, number); }
  RECT client() const;                 // window 0's client rectangle
  RECT gadget_rect(int number) const;  // in window 0's client coordinates
  POINT client_to_screen(int x, int y) const;
};

// Runs `call` on this thread while a driver thread waits for a new dialog
// (not `previous`), checks what every dialog must be, and runs `drive`. If
// the call has not returned some seconds after `drive`, the driver presses
// Cancel for it and the test fails. Returns the answer ("<null>" for none).
// `accept`, when given, must also hold for the window (a call that is
// replaced while it builds shows another dialog first).
std::string run_dialog(const std::function<Text()>& call, const std::function<void(Dialog&)>& drive,
                       HWND host = nullptr, HWND previous = nullptr,
                       const std::function<bool(HWND)>& accept = nullptr);

// While one lives, run_dialog waits this long (not 10 s) for a dialog to
// come and to end: for contents that the platform's own controls take
// seconds over.
class PatientWaits {
 public:
  explicit PatientWaits(DWORD timeout_ms);
  ~PatientWaits();

 private:
  DWORD before_;
};

// The dialog window currently on screen (window 0), or null.
HWND current_dialog();

// A 16 x 16 grey 24-bit bitmap file at `path`; false when it cannot be written.
bool write_picture(const std::wstring& path);

// The shared library's export `name` called with `texts` through
// run_dialog, after whatever dialog is on screen now.
template <typename Show, typename... Texts>
std::string run_export(const char* name, const std::function<void(Dialog&)>& drive, Texts... texts) {
  Show show = shared_library().get<Show>(name);
  if (!show) return "<no export " + std::string(name) + ">";
  return run_dialog([&] { return show(texts...); }, drive, nullptr, current_dialog());
}

// A gadget or client rectangle at x, y of w x h (h -1: any height).
void expect_rect(const RECT& r, int x, int y, int w, int h, const char* what);

// A hidden host window of its own class whose procedure is `procedure`: a
// host that calls into the library from one of its messages.
HWND make_calling_host(const char* class_name, WNDPROC procedure);

// What the shell hands a drop target: ANSI names, each zero-terminated, and
// one more zero at the end, in movable memory.
HDROP make_drop(const std::vector<std::string>& names);

// Waits for a condition, polling; false after the timeout.
bool wait_until(const std::function<bool()>& condition, DWORD timeout_ms = 5000);

// Real input.
void click_at(POINT screen);
void click_gadget(const Dialog& dialog, int number);
// A row (its label, a little inside) and a header item of a report list gadget.
void click_list_row(const Dialog& dialog, int number, int row);
void click_list_header(const Dialog& dialog, int number, int column);
// The sort arrow's bitmap on a report list's header item, or null.
HBITMAP header_arrow(const Dialog& dialog, int number, int column);
// Clicks a header item until the column's arrow changes (a click that comes
// while the window is being activated can be taken by that); false if two
// clicks did not sort.
bool click_list_header_to_sort(const Dialog& dialog, int number, int column);
void press_key(WORD key, bool shift = false, bool alt = false);
void type_text(const std::string& text);
// Types characters as an input method hands them over (a pair as its two halves).
void type_unicode(const std::wstring& text);
// Waits until the dialog's thread has handled what came before (only while
// the dialog still waits: once it has ended, its thread no longer answers).
void settle(const Dialog& dialog);

// A console program's exit code and what it wrote (line ends as a script
// reads them).
struct ConsoleOutcome {
  DWORD code;
  std::string out, err;
};

// Runs `program` (vantrel.exe beside the tests when empty) with `arguments`
// and `input` on its standard input; with `drive`, waits for its dialog and
// acts on it as the person. It inherits this process's environment; one
// that has not ended after `timeout_ms` fails the test and is ended.
ConsoleOutcome run_console(const std::string& arguments, const std::string& input = "",
                           const std::function<void(Dialog&)>& drive = nullptr, const std::string& program = "",
                           DWORD timeout_ms = 20000);

// The text of a list view's cell, as the fixed exports' callers see it.
std::string list_view_cell(HWND list_view, int row, int column);

// Saves the window as it is on screen to screenshots/<name>.png in the build tree.
std::string save_screenshot(HWND window, const std::string& name);

}  // namespace harness
