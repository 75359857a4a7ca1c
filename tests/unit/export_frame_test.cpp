#include "dialogs/export_frame.h"
#include "dialogs/skeleton.h"

#include <atomic>
#include <string>
#include <thread>

#include "runtime_fixture.h"

using namespace vantrel;

namespace {

// A dialog whose answer is its second argument followed by its first.
void echo_dialog(StringVar* arguments, StringVar* result) {
  std::string answer = std::string(text_or_empty(arguments[1])) + text_or_empty(arguments[0]);
  string_assign(result, answer.c_str());
}

const char* call(Export which, DialogFunction dialog, const char* a, const char* b) {
  const char* arguments[] = {a, b};
  return run_export(which, dialog, arguments, 2);
}

}  // namespace

using ExportFrame = RuntimeTest;

TEST_F(ExportFrame, ResultsAreKeptPerExportAndReturnedUnchangedWithoutADialog) {
  EXPECT_STREQ(call(Export::Input, nullptr, "a", "b"), "");
  EXPECT_STREQ(call(Export::Input, echo_dialog, "a", "b"), "ba");
  EXPECT_STREQ(call(Export::ListBox, echo_dialog, "x", "y"), "yx");
  EXPECT_STREQ(call(Export::Input, nullptr, "c", "d"), "ba");
  EXPECT_STREQ(call(Export::ListBox, nullptr, nullptr, nullptr), "yx");
  EXPECT_STREQ(call(Export::Input, echo_dialog, nullptr, nullptr), "");
  EXPECT_STREQ(call(Export::ComboBox, echo_dialog, "o", "tw"), "two");
  EXPECT_STREQ(call(Export::ListBox, nullptr, nullptr, nullptr), "yx");
  EXPECT_STREQ(call(Export::ComboBox, nullptr, nullptr, nullptr), "two");
}

TEST_F(ExportFrame, ArgumentCopiesAreFreedAndTheAnswerCanBePassedBackIn) {
  int32_t blocks = string_blocks_in_use();
  const char* first = call(Export::Input, echo_dialog, "1", "2");
  int32_t after_first = string_blocks_in_use();  // plus the result string
  EXPECT_EQ(after_first, blocks + 1);
  const char* second = call(Export::Input, echo_dialog, first, first);
  EXPECT_STREQ(second, "2121");
  EXPECT_EQ(string_blocks_in_use(), after_first);
}

TEST_F(ExportFrame, TheBufferStaysBoundedAcrossManyCalls) {
  std::string kilobyte(1024, 'k');
  call(Export::Input, echo_dialog, kilobyte.c_str(), "");
  int32_t capacity = buffer_capacity();
  for (int i = 0; i < 100000; ++i) {
    const char* answer = call(Export::Input, echo_dialog, kilobyte.c_str(), "");
    if (i % 25000 == 0) {
      ASSERT_EQ(std::string(answer), kilobyte);
    }
  }
  EXPECT_EQ(buffer_capacity(), capacity);
  EXPECT_LT(capacity, 2 * 1024 + 16384 + 16);
}

TEST_F(ExportFrame, FailedWorkReturnsThePreviousResult) {
  call(Export::Calendar, echo_dialog, "old", "");
  for (long allowed = 0; allowed < 4; ++allowed) {
    fail_allocations_after(allowed);
    const char* answer = call(Export::Calendar, echo_dialog, std::string(5000, 'n').c_str(), "");
    fail_allocations_after(-1);
    std::string text(answer);
    EXPECT_TRUE(text == "old" || text == std::string(5000, 'n')) << allowed << ": " << text.substr(0, 20);
    if (allowed == 0) {
      EXPECT_EQ(text, "old");
    }
    call(Export::Calendar, echo_dialog, "old", "");
  }
}

TEST_F(ExportFrame, NoLibraryNoWork) {
  stop_library();
  EXPECT_STREQ(call(Export::Input, echo_dialog, "a", "b"), "");
  ASSERT_TRUE(start_library(GetModuleHandleA(nullptr)));
}

namespace {
std::string other_thread_answer;
bool other_thread_ran_a_dialog = false;
void marking_dialog(StringVar*, StringVar* result) {
  other_thread_ran_a_dialog = true;
  string_assign(result, "from the other thread");
}
// While this call runs, another thread calls a different export and the same one.
void dialog_with_a_second_thread(StringVar* arguments, StringVar* result) {
  std::thread([] {
    other_thread_answer = call(Export::ListBox, marking_dialog, "z", "z");
    other_thread_answer += "/";
    other_thread_answer += call(Export::Input, marking_dialog, "z", "z");
  }).join();
  echo_dialog(arguments, result);
}
}  // namespace

// One call at a time: a second thread's call answers at once with what the
// last finished call left, runs no dialog and leaves the running call alone.
TEST_F(ExportFrame, ACallFromAnotherThreadAnswersAtOnceAndRunsNoDialog) {
  call(Export::ListBox, echo_dialog, "st", "fir");
  call(Export::Input, echo_dialog, "put", "in");
  other_thread_ran_a_dialog = false;
  EXPECT_STREQ(call(Export::Input, dialog_with_a_second_thread, "2", "call"), "call2");
  EXPECT_FALSE(other_thread_ran_a_dialog);
  EXPECT_EQ(other_thread_answer, "first/input");
  // Once the call has ended, another thread may call.
  std::thread([] { other_thread_answer = call(Export::Input, marking_dialog, "", ""); }).join();
  EXPECT_TRUE(other_thread_ran_a_dialog);
  EXPECT_EQ(other_thread_answer, "from the other thread");
}

TEST(Extents, CallersSizesAreHeldToWindowCoordinates) {
  EXPECT_EQ(vantrel::parse_extent("400"), 400);
  EXPECT_EQ(vantrel::parse_extent("-20"), -20);
  EXPECT_EQ(vantrel::parse_extent("2147483647"), 32767);
  EXPECT_EQ(vantrel::parse_extent("-2147483648"), -32768);
  EXPECT_EQ(vantrel::parse_extent("32767"), 32767);
  EXPECT_EQ(vantrel::parse_extent("-32769"), -32768);
  EXPECT_EQ(vantrel::parse_extent(nullptr), 0);
  EXPECT_EQ(vantrel::parse_extent("12px"), 12);
}

namespace {

// A call that lets another thread call while it runs, then answers its
// first argument.
std::atomic<bool> call_running{false}, other_thread_called{false};
void gated_dialog(StringVar* arguments, StringVar* result) {
  call_running = true;
  for (int waited = 0; !other_thread_called && waited < 200; ++waited) Sleep(0);
  other_thread_called = false;
  call_running = false;
  string_assign(result, arguments[0]);
}

std::string numbered(int i) { return "answer " + std::to_string(i) + " " + std::string(200, char('a' + i % 26)); }

}  // namespace

// A thread whose calls come while another's run is handed the last finished
// call's answer, and may read it until it calls again, however many of the
// other thread's calls end meanwhile (each frees the answer it replaced).
TEST_F(ExportFrame, AnAnswerHandedToABusyThreadStaysUntilThatThreadCallsAgain) {
  call(Export::Input, echo_dialog, "", "first");
  std::atomic<int> finished{0};
  std::atomic<bool> stop{false};
  int checked = 0, changed = 0;
  std::thread other([&] {
    while (!stop) {
      if (!call_running) {
        Sleep(0);
        continue;
      }
      // The fixed and the wide export in turn: each answer is read until the next call.
      bool wide = checked % 2;
      const char* answer = wide ? nullptr : call(Export::Input, marking_dialog, "", "");
      const wchar_t* wide_answer = wide ? run_wide_export(Export::Input, marking_dialog, nullptr, 0) : nullptr;
      std::string first = wide ? "" : answer;
      std::wstring wide_first = wide ? wide_answer : L"";
      other_thread_called = true;
      for (int seen = finished; finished < seen + 2 && !stop;) Sleep(0);
      ++checked;
      if (wide ? std::wstring(wide_answer) != wide_first : std::string(answer) != first) ++changed;
    }
  });
  for (int i = 0; i < 300; ++i) {
    std::string text = numbered(i);
    const char* arguments[] = {text.c_str()};
    ASSERT_EQ(std::string(run_export(Export::Input, gated_dialog, arguments, 1)), text);
    std::wstring wide_text(text.begin(), text.end());
    const wchar_t* wide_arguments[] = {nullptr, wide_text.c_str()};
    run_wide_export(Export::Input, echo_dialog, wide_arguments, 2);
    ++finished;
  }
  stop = true;
  other.join();
  EXPECT_GT(checked, 50) << "the other thread seldom called while a call ran";
  EXPECT_EQ(changed, 0) << "answers changed under the thread they were handed to";
}

// Two threads take turns owning the runtime: each one's last answer stays
// as it was while the other's calls run and end.
TEST_F(ExportFrame, EachThreadsAnswerStaysWhileAnotherThreadCalls) {
  for (int round = 0; round < 50; ++round) {
    const char* mine = call(Export::Input, echo_dialog, "", numbered(round).c_str());
    const wchar_t* mine_wide = run_wide_export(Export::ListBox, nullptr, nullptr, 0);
    std::wstring mine_wide_text = mine_wide;
    const char* theirs = nullptr;
    std::thread([&] {
      theirs = call(Export::Input, echo_dialog, "", numbered(round + 1000).c_str());
      call(Export::ListBox, echo_dialog, std::string(100000, 'x').c_str(), "");  // the buffer grows and moves
    }).join();
    ASSERT_TRUE(std::string(mine) == numbered(round)) << "round " << round;
    ASSERT_TRUE(std::wstring(mine_wide) == mine_wide_text) << "round " << round;
    // The other thread has ended: what it was handed goes at this thread's next call.
    (void)theirs;
  }
}
