#include "dialogs/export_frame.h"

#include <windows.h>

#include <cstring>

#include "dialogs/library.h"
#include "dialogs/thread_answers.h"
#include "runtime/heaps.h"
#include "runtime/text_code_page.h"
#include "runtime/visual_styles.h"

namespace vantrel {
namespace {

// The result string each export keeps from one call to the next: the fixed
// exports' in the ANSI code page, the wide ones' in UTF-8.
enum Form { ANSI_FORM, WIDE_FORM, FORMS };
StringVar results[FORMS][int(Export::Count)] = {};

// One call at a time in the process: the thread whose call runs (0: none)
// owns the runtime, and only it touches strings, windows and gadgets. A call
// from any other thread answers at once with what the last finished call
// left in its export's result: the results are copied on the process heap
// under the lock, and that thread is handed a copy of its own.
volatile LONG owner_thread = 0;
CRITICAL_SECTION published_lock;
bool published_lock_ready = false;
char* published[int(Export::Count)] = {};
wchar_t* published_wide[int(Export::Count)] = {};

class PublishedLock {
 public:
  PublishedLock() { EnterCriticalSection(&published_lock); }
  ~PublishedLock() { LeaveCriticalSection(&published_lock); }
};

// A wide copy of a UTF-8 text on the process heap; null when memory runs out.
wchar_t* wide_copy(const char* text) {
  size_t bytes = strlen(text), units = utf16_from_utf8(text, bytes, nullptr);
  auto* copy = static_cast<wchar_t*>(heap_alloc(GetProcessHeap(), (units + 1) * sizeof(wchar_t), false));
  if (!copy) return nullptr;
  utf16_from_utf8(text, bytes, copy);
  copy[units] = 0;
  return copy;
}

void publish_results() {
  PublishedLock lock;
  for (int i = 0; i < int(Export::Count); ++i) {
    const char* now = text_or_empty(results[ANSI_FORM][i]);
    if (!published[i] || strcmp(published[i], now) != 0) {
      size_t size = strlen(now) + 1;
      if (auto* copy = static_cast<char*>(heap_alloc(GetProcessHeap(), size, false))) {
        memcpy(copy, now, size);
        heap_free(GetProcessHeap(), published[i]);
        published[i] = copy;
      }  // else the older answer stays
    }
    if (wchar_t* copy = wide_copy(text_or_empty(results[WIDE_FORM][i]))) {
      heap_free(GetProcessHeap(), published_wide[i]);
      published_wide[i] = copy;
    }
  }
}

const char* published_result(Export which) {
  PublishedLock lock;
  const char* text = published[int(which)];
  return keep_copy_for_this_thread(text ? text : "");
}

const wchar_t* published_wide_result(Export which) {
  PublishedLock lock;
  const wchar_t* text = published_wide[int(which)];
  return keep_copy_for_this_thread(text ? text : L"");
}

// Claims the runtime for the calling thread; a nested call on the same
// thread (from a host message while a dialog waits) shares the claim.
class ThreadClaim {
 public:
  ThreadClaim() {
    DWORD me = GetCurrentThreadId();
    LONG previous = InterlockedCompareExchange(&owner_thread, LONG(me), 0);
    outermost_ = previous == 0;
    held_ = outermost_ || DWORD(previous) == me;
  }
  ~ThreadClaim() {
    if (outermost_) InterlockedExchange(&owner_thread, 0);
  }
  ThreadClaim(const ThreadClaim&) = delete;
  ThreadClaim& operator=(const ThreadClaim&) = delete;
  bool held() const { return held_; }
  bool outermost() const { return outermost_; }

 private:
  bool held_ = false;
  bool outermost_ = false;
};

// A UTF-16 text as a UTF-8 string variable (null stays null).
bool copy_wide(StringVar* copy, const wchar_t* text) {
  if (!text) return true;
  size_t units = wcslen(text), bytes = utf8_from_utf16(text, units, nullptr);
  char* utf8 = string_new_room(copy, bytes);
  if (!utf8) return false;
  utf8_from_utf16(text, units, utf8);
  return true;
}

// Frees the argument copies however the call ends.
class ArgumentCopies {
 public:
  bool copy(const char* const* arguments, int count) {
    count_ = count < MAX_ARGUMENTS ? count : MAX_ARGUMENTS;
    bool complete = true;
    for (int i = 0; i < count_; ++i) complete = string_new(&copies_[i], arguments[i]) && complete;
    return complete;
  }
  // UTF-16 arguments copied as UTF-8; a lone surrogate becomes U+FFFD.
  bool copy(const wchar_t* const* arguments, int count) {
    count_ = count < MAX_ARGUMENTS ? count : MAX_ARGUMENTS;
    bool complete = true;
    for (int i = 0; i < count_; ++i) complete = copy_wide(&copies_[i], arguments[i]) && complete;
    return complete;
  }
  ~ArgumentCopies() {
    for (int i = 0; i < count_; ++i) string_free(copies_[i]);
  }
  StringVar* get() { return copies_; }

 private:
  StringVar copies_[MAX_ARGUMENTS] = {};
  int count_ = 0;
};

// The result's address in the shared buffer; its own block if the buffer cannot take it.
const char* hand_back(StringVar result) {
  int32_t start = buffer_position();
  if (!buffer_append(result)) return text_or_empty(result);
  return buffer_address_at(start);
}

// The wide answers, one after another as in the shared buffer.
wchar_t* wide_answers = nullptr;
size_t wide_capacity = 0, wide_position = 0;

// The UTF-8 result as UTF-16 in the wide answers; "" when they cannot grow.
const wchar_t* hand_back_wide(StringVar result) {
  const char* text = text_or_empty(result);
  size_t bytes = strlen(text), units = utf16_from_utf8(text, bytes, nullptr);
  if (wide_position + units + 1 > wide_capacity) {
    size_t capacity = wide_position + units + 1 + 256;
    auto* grown = static_cast<wchar_t*>(general_realloc_array(wide_answers, capacity, sizeof(wchar_t)));
    if (!grown) return L"";
    wide_answers = grown;
    wide_capacity = capacity;
  }
  wchar_t* at = wide_answers + wide_position;
  utf16_from_utf8(text, bytes, at);
  at[units] = 0;
  wide_position += units + 1;
  return at;
}

// The thread whose answers the buffers hold (0: none).
DWORD answers_thread = 0;

// The buffers go to `thread`, which may still read its answers in them;
// fresh ones take their place.
void hand_buffers_to(DWORD thread) {
  char* buffer = buffer_hand_over();
  if (!buffer) return;  // no room for fresh ones: the answers are written over
  if (!keep_buffers_for(thread, buffer, wide_answers)) {
    string_free(buffer);  // that thread has ended
    general_free(wide_answers);
  }
  wide_answers = nullptr;
  wide_capacity = wide_position = 0;
}

// This thread's previous answers only had to last until this call:
// starting the buffers again keeps them as large as one call needs.
// Another thread's stay where they are. The copies are taken first, since
// a host may pass that answer back in.
void start_answers() {
  DWORD me = GetCurrentThreadId();
  forget_answers_of_this_thread();
  if (answers_thread && answers_thread != me) hand_buffers_to(answers_thread);
  answers_thread = me;
  set_buffer_position(0);
  wide_position = 0;
}

// The dialog on the copies, its texts in the code page, its controls from
// common controls 6.
void run_dialog(DialogFunction dialog, StringVar* copies, StringVar* result, unsigned code_page, bool outermost) {
  TextCodePageScope texts(code_page);
  VisualStylesScope styles;
  if (dialog) dialog(copies, result);
  if (outermost) publish_results();
}

}  // namespace

const char* run_export(Export which, DialogFunction dialog, const char* const* arguments, int count) {
  if (!library_started()) return "";
  ThreadClaim claim;
  if (!claim.held()) return published_result(which);
  StringVar& result = results[ANSI_FORM][int(which)];
  try {
    ArgumentCopies copies;
    bool copied = copies.copy(arguments, count);
    if (claim.outermost()) start_answers();
    run_dialog(copied ? dialog : nullptr, copies.get(), &result, CODE_PAGE_ANSI, claim.outermost());
    return hand_back(result);
  } catch (...) {
    return text_or_empty(result);
  }
}

const wchar_t* run_wide_export(Export which, DialogFunction dialog, const wchar_t* const* arguments, int count) {
  if (!library_started()) return L"";
  ThreadClaim claim;
  if (!claim.held()) return published_wide_result(which);
  StringVar& result = results[WIDE_FORM][int(which)];
  try {
    ArgumentCopies copies;
    bool copied = copies.copy(arguments, count);
    if (claim.outermost()) start_answers();
    run_dialog(copied ? dialog : nullptr, copies.get(), &result, CODE_PAGE_UTF8, claim.outermost());
    return hand_back_wide(result);
  } catch (...) {
    return L"";
  }
}

bool start_export_frame() {
  if (!published_lock_ready) InitializeCriticalSection(&published_lock);
  published_lock_ready = true;
  return start_thread_answers();
}

void stop_export_frame() {
  for (auto& form : results)
    for (StringVar& result : form) result = nullptr;  // their heap goes with the library
  wide_answers = nullptr;  // on the general heap, which goes too
  wide_capacity = wide_position = 0;
  answers_thread = 0;
  stop_thread_answers();
  if (!published_lock_ready) return;
  for (char*& text : published) {
    heap_free(GetProcessHeap(), text);
    text = nullptr;
  }
  for (wchar_t*& text : published_wide) {
    heap_free(GetProcessHeap(), text);
    text = nullptr;
  }
  DeleteCriticalSection(&published_lock);
  published_lock_ready = false;
}

}  // namespace vantrel
