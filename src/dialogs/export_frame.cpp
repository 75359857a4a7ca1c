#include "dialogs/export_frame.h"

#include <windows.h>

#include <cstring>

#include "dialogs/library.h"
#include "runtime/heaps.h"
#include "runtime/visual_styles.h"

namespace vantrel {
namespace {

// The result string each export keeps from one call to the next.
StringVar results[int(Export::Count)] = {};

// One call at a time in the process: the thread whose call runs (0: none)
// owns the runtime, and only it touches strings, windows and gadgets. A call
// from any other thread answers at once with what the last finished call
// left in its export's result, copied on the process heap under the lock.
volatile LONG owner_thread = 0;
CRITICAL_SECTION published_lock;
bool published_lock_ready = false;
char* published[int(Export::Count)] = {};

class PublishedLock {
 public:
  PublishedLock() { EnterCriticalSection(&published_lock); }
  ~PublishedLock() { LeaveCriticalSection(&published_lock); }
};

void publish_results() {
  PublishedLock lock;
  for (int i = 0; i < int(Export::Count); ++i) {
    const char* now = text_or_empty(results[i]);
    if (published[i] && strcmp(published[i], now) == 0) continue;
    size_t size = strlen(now) + 1;
    auto* copy = static_cast<char*>(heap_alloc(GetProcessHeap(), size, false));
    if (!copy) continue;  // the older answer stays
    memcpy(copy, now, size);
    heap_free(GetProcessHeap(), published[i]);
    published[i] = copy;
  }
}

const char* published_result(Export which) {
  PublishedLock lock;
  const char* text = published[int(which)];
  return text ? text : "";
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

// Frees the argument copies however the call ends.
class ArgumentCopies {
 public:
  bool copy(const char* const* arguments, int count) {
    count_ = count < MAX_ARGUMENTS ? count : MAX_ARGUMENTS;
    bool complete = true;
    for (int i = 0; i < count_; ++i) complete = string_new(&copies_[i], arguments[i]) && complete;
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

}  // namespace

const char* run_export(Export which, DialogFunction dialog, const char* const* arguments, int count) {
  if (!library_started()) return "";
  ThreadClaim claim;
  if (!claim.held()) return published_result(which);
  StringVar& result = results[int(which)];
  try {
    ArgumentCopies copies;
    bool copied = copies.copy(arguments, count);
    // The previous answer only had to last until this call: rewinding here
    // keeps the buffer as large as one call needs. The copies are taken
    // first, since a host may pass that answer back in.
    if (claim.outermost()) set_buffer_position(0);
    VisualStylesScope styles;  // the dialog's controls come from common controls 6
    if (copied && dialog) dialog(copies.get(), &result);
    if (claim.outermost()) publish_results();
    return hand_back(result);
  } catch (...) {
    return text_or_empty(result);
  }
}

bool start_export_frame() {
  if (!published_lock_ready) InitializeCriticalSection(&published_lock);
  published_lock_ready = true;
  return true;
}

void stop_export_frame() {
  for (StringVar& result : results) result = nullptr;  // their heap goes with the library
  if (!published_lock_ready) return;
  for (char*& text : published) {
    heap_free(GetProcessHeap(), text);
    text = nullptr;
  }
  DeleteCriticalSection(&published_lock);
  published_lock_ready = false;
}

}  // namespace vantrel
