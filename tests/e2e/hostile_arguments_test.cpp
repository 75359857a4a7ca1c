// Every export with arguments no caller should pass: each one null in turn
// and all at once, all empty, each 10 MB long, numbers that are no numbers
// or lie at the ends of their type, and host windows that are not the
// host's. Each call opens its dialog, ends with its button and answers what
// that button answers; the host window is enabled afterwards.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include "harness.h"

using namespace harness;

namespace {

constexpr int CANCEL = 2, ABOUT_OK = 4;

struct Export {
  const char* name;
  std::vector<const char*> sound;  // a call that works
  std::vector<int> numbers;        // which arguments are numbers (sizes, the result column)
  int host;                        // which argument names the host window
  int ending;                      // the button that ends it
  const char* ended;               // what that button answers
};

const Export exports[] = {
    {"ShowInput", {"Input", "some text", "300", "120", "0"}, {2, 3}, 4, CANCEL, "CANCEL"},
    {"ShowCal", {"Calendar", "2024-02-29", "ISO", "0"}, {}, 3, CANCEL, "CANCEL"},
    {"ShowListBox", {"List", "Red|Green|Blue|", "200", "200", "0"}, {2, 3}, 4, CANCEL, "CANCEL"},
    {"ShowComboBox", {"Combo", "Red|Green|Blue|", "200", "80", "0"}, {2, 3}, 4, CANCEL, "CANCEL"},
    {"ShowDragnDrop", {"Drop", "300", "200", "0"}, {1, 2}, 3, CANCEL, "CANCEL"},
    {"ShowMultiListBox", {"Table", "Name;Age;|Smith;42;|Jones;37;|", "1", "300", "200", "0"}, {2, 3, 4}, 5, CANCEL, ""},
    {"ShowAbout",
     {"About", "Heading", "Sub", "", "Body", "www.example.com", "a@example.com", "400", "300", "0"},
     {7, 8},
     9,
     ABOUT_OK,
     "OK"},
};

using Arguments = std::vector<const char*>;

Text call_export(const Export& e, const Arguments& a) {
  void* f = shared_library().find(e.name);
  switch (a.size()) {
    case 4: return reinterpret_cast<Show4>(f)(a[0], a[1], a[2], a[3]);
    case 5: return reinterpret_cast<Show5>(f)(a[0], a[1], a[2], a[3], a[4]);
    case 6: return reinterpret_cast<Show6>(f)(a[0], a[1], a[2], a[3], a[4], a[5]);
    default: return reinterpret_cast<Show10>(f)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
  }
}

// The same call through the export's wide form: its texts widened (a null
// stays null), its answer narrowed back (every answer here is ASCII).
Text call_wide_export(const Export& e, const Arguments& a) {
  using W = const wchar_t*;
  static std::string answer;
  std::vector<std::wstring> texts(a.size());
  std::vector<W> w(a.size(), nullptr);
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i]) w[i] = texts[i].assign(a[i], a[i] + strlen(a[i])).c_str();
  void* f = shared_library().find((std::string(e.name) + "W").c_str());
  W result;
  switch (a.size()) {
    case 4: result = reinterpret_cast<W(__stdcall*)(W, W, W, W)>(f)(w[0], w[1], w[2], w[3]); break;
    case 5: result = reinterpret_cast<W(__stdcall*)(W, W, W, W, W)>(f)(w[0], w[1], w[2], w[3], w[4]); break;
    case 6: result = reinterpret_cast<W(__stdcall*)(W, W, W, W, W, W)>(f)(w[0], w[1], w[2], w[3], w[4], w[5]); break;
    default:
      result = reinterpret_cast<W(__stdcall*)(W, W, W, W, W, W, W, W, W, W)>(f)(w[0], w[1], w[2], w[3], w[4], w[5],
                                                                                 w[6], w[7], w[8], w[9]);
      break;
  }
  answer.clear();
  for (const wchar_t* c = result; c && *c; ++c) answer += char(*c);
  return result ? answer.c_str() : nullptr;
}

void press(const Dialog& d, int number) {
  PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(number, BN_CLICKED), reinterpret_cast<LPARAM>(d.gadget(number)));
}

struct Case {
  std::string what;
  Arguments arguments;
  HWND host = nullptr;      // a window of ours that must be disabled while the dialog waits
  HWND foreign = nullptr;   // a window that must never be disabled
};

// The cases for one export; `texts` keeps their arguments alive.
std::vector<Case> cases_for(const Export& e, std::deque<std::string>& texts, const HostWindow& host, HWND child,
                            HWND destroyed, HWND foreign) {
  std::vector<Case> cases;
  const size_t n = e.sound.size();
  auto with = [&](const std::string& what, size_t at, const char* value) {
    Case c{what, e.sound};
    c.arguments[at] = value;
    return c;
  };
  for (size_t i = 0; i < n; ++i) cases.push_back(with("argument " + std::to_string(i) + " null", i, nullptr));
  cases.push_back({"all null", Arguments(n, nullptr)});
  cases.push_back({"all empty", Arguments(n, "")});
  const std::string& long_text = texts.emplace_back(10 << 20, 'x');
  const std::string& long_number = texts.emplace_back(10 << 20, '9');
  // The input box lays its text out as it takes it, and Wine's rich edit
  // control takes a 10 MB text in some 14 s (one word of 100 KB in 30 s; one
  // of 1 MB brings down its text measuring): the box gets a megabyte of
  // lines of words, which it takes in under two seconds.
  std::string lines;
  while (lines.size() < (1u << 20)) lines += "words in a line of a long text for the box to lay out\r\n";
  const std::string& long_lines = texts.emplace_back(lines);
  for (size_t i = 0; i < n; ++i) {
    bool number = int(i) == e.host;
    for (int k : e.numbers) number = number || int(i) == k;
    bool box_text = std::string(e.name) == "ShowInput" && i == 1;
    const std::string& value = number ? long_number : box_text ? long_lines : long_text;
    cases.push_back(with("argument " + std::to_string(i) + (box_text ? " 1 MB of lines" : " 10 MB"), i, value.c_str()));
  }
  static const char* const odd_numbers[] = {"abc", "-1", "0", "2147483647", "-2147483648", "4294967297",
                                            "99999999999999999999", " +12px"};
  for (int k : e.numbers)
    for (const char* value : odd_numbers) cases.push_back(with("argument " + std::to_string(k) + " " + value, size_t(k), value));
  auto handle = [&](HWND window) { return texts.emplace_back(std::to_string(reinterpret_cast<intptr_t>(window))).c_str(); };
  Case as_child = with("a child of the host", size_t(e.host), handle(child));
  as_child.host = host.handle();
  cases.push_back(as_child);
  Case as_host = with("the host itself", size_t(e.host), handle(host.handle()));
  as_host.host = host.handle();
  cases.push_back(as_host);
  cases.push_back(with("a destroyed window", size_t(e.host), handle(destroyed)));
  cases.push_back(with("no window", size_t(e.host), "-1"));
  if (foreign) {
    Case other = with("another process's window", size_t(e.host), handle(foreign));
    other.foreign = foreign;
    cases.push_back(other);
  }
  return cases;
}

// A window of another process: the desktop's, when another process owns it.
HWND foreign_window() {
  HWND desktop = GetDesktopWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(desktop, &process);
  return process && process != GetCurrentProcessId() ? desktop : nullptr;
}

}  // namespace

// Every case through the fixed export, then through its wide form.
TEST(HostileArguments, EveryExportOpensEndsAndAnswersWhateverItIsGiven) {
  HostWindow host;
  HWND child = CreateWindowA("Static", "child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, host.handle(), nullptr,
                             nullptr, nullptr);
  HWND destroyed = CreateWindowA("Static", "gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(destroyed);
  HWND foreign = foreign_window();
  if (!foreign) std::printf("no window of another process here: that case is left out\n");
  std::deque<std::string> texts;
  for (const Export& e : exports) {
    std::vector<Case> cases = cases_for(e, texts, host, child, destroyed, foreign);
    for (size_t run = 0; run < 2 * cases.size(); ++run) {
      const Case& c = cases[run % cases.size()];
      bool wide = run >= cases.size();
      SCOPED_TRACE(std::string(e.name) + (wide ? "W: " : ": ") + c.what);
      DWORD start = GetTickCount();
      if (std::getenv("VANTREL_HOSTILE_VERBOSE")) std::printf("%s: %s\n", e.name, c.what.c_str()), std::fflush(stdout);
      std::string answer = run_dialog([&] { return wide ? call_wide_export(e, c.arguments) : call_export(e, c.arguments); },
                                      [&](Dialog& d) {
                                        if (c.foreign) {
                                          EXPECT_TRUE(IsWindowEnabled(c.foreign)) << "disabled another process's window";
                                        }
                                        press(d, e.ending);
                                      },
                                      c.host, current_dialog());
      EXPECT_EQ(answer, e.ended);
      if (GetTickCount() - start > 3000) std::printf("%s, %s: %lu ms\n", e.name, c.what.c_str(), GetTickCount() - start);
      std::fflush(stdout);
      EXPECT_TRUE(IsWindowEnabled(host.handle()));
      EXPECT_TRUE(IsWindowEnabled(child));
      if (c.foreign) {
        EXPECT_TRUE(IsWindowEnabled(c.foreign));
      }
    }
    std::printf("%s and %sW: %zu cases each\n", e.name, e.name, cases.size());
    texts.clear();
  }
}
