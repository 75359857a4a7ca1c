// Calls from more than one thread of a host: one dialog at a time, and no
// window left with the library's procedures when another thread owns it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "harness.h"

using namespace harness;

namespace {

constexpr int LIST = 0, OK = 1;

// A worker thread of the host: it pumps its messages and, when asked, calls
// ShowInput from there, as a host that shows dialogs from a worker would.
class Worker {
 public:
  explicit Worker(Show5 show) : show_(show), thread_([this] { run(); }) {
    while (!id_) Sleep(5);
  }
  ~Worker() {
    PostThreadMessageA(id_, WM_APP + 1, 0, 0);
    thread_.join();
  }
  // Starts the call; the caller drives the dialog.
  void call_input(const char* text) {
    done_ = false;
    text_ = text;
    PostThreadMessageA(id_, WM_APP, 0, 0);
  }
  bool wait_answer(std::string* answer) {
    if (!wait_until([&] { return done_.load(); }, 10000)) return false;
    *answer = answer_;
    return true;
  }
  // The last answer read again where the library handed it out.
  std::string answer_as_it_reads_now() const { return raw_ ? raw_ : "<null>"; }

 private:
  void run() {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the id is known
    id_ = GetCurrentThreadId();
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_APP + 1 && !message.hwnd) break;
      if (message.message == WM_APP && !message.hwnd) {
        const char* answer = show_("Worker", text_.c_str(), "300", "200", "0");
        answer_ = answer ? answer : "<null>";
        raw_ = answer;
        done_ = true;
        continue;
      }
      DispatchMessageA(&message);
    }
  }

  Show5 show_;
  std::atomic<DWORD> id_{0};
  std::atomic<bool> done_{false};
  std::string text_, answer_;
  const char* raw_ = nullptr;
  std::thread thread_;
};

// Waits for a condition while dispatching this thread's messages, as a host's loop would.
bool pump_until(const std::function<bool()>& condition) {
  return wait_until([&] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return condition();
  });
}

// Waits for a dialog other than `previous` and presses OK in it.
HWND press_ok_in_new_dialog(HWND previous) {
  Dialog d = {nullptr};
  bool appeared = wait_until([&] {
    HWND w = current_dialog();
    DWORD_PTR ignored;
    if (!w || w == previous || !IsWindowVisible(w) ||
        !SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 500, &ignored))
      return false;
    d.window = w;
    return true;
  }, 10000);
  if (!appeared) return nullptr;
  settle(d);
  click_gadget(d, OK);
  return d.window;
}

}  // namespace

// A second thread's call while a dialog waits answers at once with the
// export's previous result and leaves the waiting dialog whole.
TEST(Threads, ASecondThreadsCallAnswersAtOnceAndLeavesTheWaitingDialogWhole) {
  Library library;
  auto input = library.get<Show5>("ShowInput");
  auto list = library.get<Show5>("ShowListBox");
  ASSERT_TRUE(input && list);
  std::string first = run_dialog([&] { return input("First", "first answer", "300", "200", "0"); },
                                 [](Dialog& d) { click_gadget(d, OK); });
  ASSERT_EQ(first, "first answer");

  std::string answer = run_dialog([&] { return list("Colour", "Red|Green|Blue|", "200", "150", "0"); },
                                  [&](Dialog& d) {
                                    DWORD start = GetTickCount();
                                    std::string other = input("Other", "other", "300", "200", "0");
                                    EXPECT_LT(GetTickCount() - start, 2000u) << "the other thread's call waited";
                                    EXPECT_EQ(other, "first answer");
                                    EXPECT_EQ(current_dialog(), d.window) << "the waiting dialog was replaced";
                                    EXPECT_EQ(SendMessageA(d.gadget(LIST), LB_GETCOUNT, 0, 0), 3);
                                    settle(d);
                                    SendMessageA(d.gadget(LIST), LB_SETCURSEL, 1, 0);
                                    click_gadget(d, OK);
                                  },
                                  nullptr, current_dialog());
  EXPECT_EQ(answer, "Green");
}

// A worker thread's dialog stays on screen after its call. When the main
// thread's call replaces it, or the main thread unloads the library, the
// window is handed back to the worker, which closes it: no message of its
// reaches the library's procedures afterwards (that would crash the host
// once the library is unloaded).
TEST(Threads, AWorkersWindowIsHandedBackWhenAnotherThreadClosesIt) {
  HMODULE module = LoadLibraryA(beside_program("vantrel.dll").c_str());
  ASSERT_NE(module, nullptr);
  auto input = reinterpret_cast<Show5>(reinterpret_cast<void*>(GetProcAddress(module, "ShowInput")));
  auto list = reinterpret_cast<Show5>(reinterpret_cast<void*>(GetProcAddress(module, "ShowListBox")));
  ASSERT_TRUE(input && list);
  {
    Worker worker(input);
    worker.call_input("from the worker");
    HWND worker_window = press_ok_in_new_dialog(nullptr);
    ASSERT_NE(worker_window, nullptr);
    std::string answer;
    ASSERT_TRUE(worker.wait_answer(&answer));
    EXPECT_EQ(answer, "from the worker");
    ASSERT_TRUE(IsWindow(worker_window));

    // The main thread's dialog takes window 0's place.
    std::string picked = run_dialog([&] { return list("Colour", "Red|Green|Blue|", "200", "150", "0"); },
                                    [](Dialog& d) {
                                      SendMessageA(d.gadget(LIST), LB_SETCURSEL, 2, 0);
                                      click_gadget(d, OK);
                                    },
                                    nullptr, worker_window);
    EXPECT_EQ(picked, "Blue");
    EXPECT_TRUE(wait_until([&] { return !IsWindow(worker_window); })) << "the worker's window was not closed";

    // The worker's next dialog replaces the main thread's, then the library goes.
    HWND main_window = current_dialog();
    worker.call_input("again");
    worker_window = press_ok_in_new_dialog(main_window);
    ASSERT_NE(worker_window, nullptr);
    ASSERT_TRUE(worker.wait_answer(&answer));
    EXPECT_EQ(answer, "again");
    // The main thread's window went back to the main thread, which closes it.
    EXPECT_TRUE(pump_until([&] { return !IsWindow(main_window); }));

    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleA("vantrel.dll"), nullptr) << "the library is still loaded";
    // Messages for the worker's window after the unload must not reach freed code.
    PostMessageA(worker_window, WM_USER, 0, 0);
    InvalidateRect(worker_window, nullptr, TRUE);
    EXPECT_TRUE(wait_until([&] { return !IsWindow(worker_window); })) << "the worker's window was not closed";
  }  // the worker stops; reaching here without a crash is the point
}

// Two threads take turns with their dialogs: each one's answer reads as it
// did until that same thread calls again, while the other's dialogs open
// and close (each call starts the shared buffer again).
TEST(Threads, EachThreadsAnswerStaysWhileTheOtherThreadsDialogsComeAndGo) {
  Library library;
  auto input = library.get<Show5>("ShowInput");
  ASSERT_NE(input, nullptr);
  Worker worker(input);
  std::string worker_text;
  HWND worker_window = current_dialog();
  for (int round = 0; round < 4; ++round) {
    std::string main_text = "main " + std::to_string(round);
    for (int word = 0; word < round * 100; ++word) main_text += " word";
    const char* mine = nullptr;
    HWND main_window = nullptr;
    std::string answer = run_dialog([&] { return mine = input("Main", main_text.c_str(), "300", "200", "0"); },
                                    [&](Dialog& d) {
                                      main_window = d.window;
                                      click_gadget(d, OK);
                                    },
                                    nullptr, worker_window);
    ASSERT_TRUE(answer == main_text) << "round " << round;
    if (round) {
      EXPECT_TRUE(worker.answer_as_it_reads_now() == worker_text) << "the worker's answer changed, round " << round;
    }

    worker_text = "worker " + std::to_string(round);
    worker.call_input(worker_text.c_str());
    worker_window = press_ok_in_new_dialog(main_window);
    ASSERT_NE(worker_window, nullptr);
    std::string worker_answer;
    ASSERT_TRUE(worker.wait_answer(&worker_answer));
    ASSERT_EQ(worker_answer, worker_text);
    // The main thread's window came back to it to close.
    EXPECT_TRUE(pump_until([&] { return !IsWindow(main_window); }));
    EXPECT_TRUE(std::string(mine) == main_text) << "the main thread's answer changed, round " << round;
  }
}
