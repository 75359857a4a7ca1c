#pragma once
// Every answer handed out stays readable until the same thread calls into
// the library again, whatever other threads do meanwhile. The thread that
// owns the runtime is handed answers in the shared buffers; when another
// thread takes the runtime over, those buffers are kept for the first one
// and fresh ones are started. A thread whose call came while another's ran
// is handed a copy of its own.
#include <windows.h>

namespace vantrel {

bool start_thread_answers();
// Forgets every record; the blocks in the runtime's heaps go with them.
void stop_thread_answers();

// On the thread that owns the runtime, as its outermost call starts: frees
// what this thread was handed before, and what threads that have ended were.
void forget_answers_of_this_thread();
// Keeps `buffer` (from the string heap) and `wide_buffer` (from the general
// heap), which hold `thread`'s answers, until that thread calls again or
// ends. False, with nothing kept, when the thread has ended or no record
// can be made.
bool keep_buffers_for(DWORD thread, char* buffer, wchar_t* wide_buffer);
// A copy of `text` that stays this thread's until its next call; "" when
// there is no room for it.
const char* keep_copy_for_this_thread(const char* text);
const wchar_t* keep_copy_for_this_thread(const wchar_t* text);

}  // namespace vantrel
