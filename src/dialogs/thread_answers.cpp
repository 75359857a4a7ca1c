#include "dialogs/thread_answers.h"

#include <cstring>
#include <cwchar>

#include "runtime/heaps.h"
#include "runtime/strings.h"

namespace vantrel {
namespace {

// What one thread was handed and may still read.
struct ThreadAnswers {
  ThreadAnswers* next;
  DWORD thread;
  HANDLE handle;         // held open: the thread's number is not given to another while the record lives
  char* copy;            // process heap
  wchar_t* wide_copy;    // process heap
  char* buffer;          // string heap: only the runtime's owner frees it
  wchar_t* wide_buffer;  // general heap
};

ThreadAnswers* records = nullptr;
CRITICAL_SECTION records_lock;
bool lock_ready = false;

class RecordsLock {
 public:
  RecordsLock() { EnterCriticalSection(&records_lock); }
  ~RecordsLock() { LeaveCriticalSection(&records_lock); }
};

ThreadAnswers* find_record(DWORD thread) {
  for (ThreadAnswers* record = records; record; record = record->next)
    if (record->thread == thread) return record;
  return nullptr;
}

// A record for `thread`, made if need be; null when the thread has ended or
// memory ran out.
ThreadAnswers* record_for(DWORD thread) {
  if (ThreadAnswers* found = find_record(thread)) return found;
  HANDLE handle = nullptr;
  if (thread == GetCurrentThreadId())
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &handle, SYNCHRONIZE, FALSE, 0);
  else
    handle = OpenThread(SYNCHRONIZE, FALSE, thread);
  if (!handle) return nullptr;
  if (thread != GetCurrentThreadId() && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) {
    CloseHandle(handle);
    return nullptr;
  }
  auto* record = static_cast<ThreadAnswers*>(heap_alloc(GetProcessHeap(), sizeof(ThreadAnswers), true));
  if (!record) {
    CloseHandle(handle);
    return nullptr;
  }
  record->thread = thread;
  record->handle = handle;
  record->next = records;
  records = record;
  return record;
}

void free_copies(ThreadAnswers* record) {
  heap_free(GetProcessHeap(), record->copy);
  heap_free(GetProcessHeap(), record->wide_copy);
  record->copy = nullptr;
  record->wide_copy = nullptr;
}

// Only on the runtime's owner: the string heap is not serialised.
void free_buffers(ThreadAnswers* record) {
  string_free(record->buffer);
  general_free(record->wide_buffer);
  record->buffer = nullptr;
  record->wide_buffer = nullptr;
}

void remove_record(ThreadAnswers** link) {
  ThreadAnswers* record = *link;
  *link = record->next;
  CloseHandle(record->handle);
  heap_free(GetProcessHeap(), record);
}

template <typename Char>
Char* process_copy(const Char* text, size_t length) {
  auto* copy = static_cast<Char*>(heap_alloc(GetProcessHeap(), (length + 1) * sizeof(Char), false));
  if (copy) {
    memcpy(copy, text, length * sizeof(Char));
    copy[length] = 0;
  }
  return copy;
}

}  // namespace

bool start_thread_answers() {
  if (!lock_ready) InitializeCriticalSection(&records_lock);
  lock_ready = true;
  return true;
}

void stop_thread_answers() {
  if (!lock_ready) return;
  {
    RecordsLock lock;
    while (records) {
      free_copies(records);
      remove_record(&records);  // the buffers go with their heaps
    }
  }
  DeleteCriticalSection(&records_lock);
  lock_ready = false;
}

void forget_answers_of_this_thread() {
  DWORD me = GetCurrentThreadId();
  RecordsLock lock;
  for (ThreadAnswers** link = &records; *link;) {
    ThreadAnswers* record = *link;
    bool ended = WaitForSingleObject(record->handle, 0) == WAIT_OBJECT_0;
    if (record->thread != me && !ended) {
      link = &record->next;
      continue;
    }
    free_copies(record);
    free_buffers(record);
    remove_record(link);
  }
}

bool keep_buffers_for(DWORD thread, char* buffer, wchar_t* wide_buffer) {
  RecordsLock lock;
  ThreadAnswers* record = record_for(thread);
  if (!record) return false;
  free_buffers(record);  // answers of an earlier call of that thread, which it no longer reads
  record->buffer = buffer;
  record->wide_buffer = wide_buffer;
  return true;
}

const char* keep_copy_for_this_thread(const char* text) {
  RecordsLock lock;
  ThreadAnswers* record = record_for(GetCurrentThreadId());
  if (!record) return "";
  free_copies(record);
  record->copy = process_copy(text, strlen(text));
  return record->copy ? record->copy : "";
}

const wchar_t* keep_copy_for_this_thread(const wchar_t* text) {
  RecordsLock lock;
  ThreadAnswers* record = record_for(GetCurrentThreadId());
  if (!record) return L"";
  free_copies(record);
  record->wide_copy = process_copy(text, wcslen(text));
  return record->wide_copy ? record->wide_copy : L"";
}

}  // namespace vantrel
