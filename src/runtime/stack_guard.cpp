// The stack canary's value and what happens when one is found overwritten,
// for the GNU compilers' -fstack-protector (the platform compilers' /GS has
// a cookie of its own). The compilers' runtime would seed the canary with
// the platform's crypto provider while the library or the console host is
// still being loaded: that provider's libraries import USER32, which the
// loader then looks for in the host's own folder first, before the console
// host could restrict its search. The seed here mixes what a fresh process
// cannot foresee, as /GS's cookie does, and loads nothing.
#include <windows.h>

#include <cstdint>

#if defined(__GNUC__)

namespace {

uint64_t mixed(uint64_t value) {
  value ^= value >> 33;
  value *= 0xFF51AFD7ED558CCDull;
  value ^= value >> 33;
  value *= 0xC4CEB9FE1A85EC53ull;
  return value ^ (value >> 33);
}

// No room on this function's own stack is guarded, so the canary may change
// once it has returned.
uintptr_t fresh_guard() {
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  uint64_t seed = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  seed = mixed(seed ^ (uint64_t(GetCurrentProcessId()) << 32) ^ GetCurrentThreadId());
  seed = mixed(seed ^ uint64_t(counter.QuadPart));
  seed = mixed(seed ^ uint64_t(reinterpret_cast<uintptr_t>(&now)));  // where the stack and the image were placed
  seed = mixed(seed ^ uint64_t(reinterpret_cast<uintptr_t>(&fresh_guard)) ^ GetTickCount());
  // A zero byte first: a string copied past its room stops at the canary.
  return uintptr_t(seed) & ~uintptr_t(0xFF);
}

}  // namespace

extern "C" {

// Its first value stands until the image's initialisers run, before any
// of its own code.
uintptr_t __stack_chk_guard = uintptr_t(0x2F8A5C39D61B7E00ull);

// The stack of this call is no longer to be trusted: end the process at
// once, as /GS does, without running anything more of it.
[[noreturn]] void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), 0xC0000409);  // STATUS_STACK_BUFFER_OVERRUN
  for (;;) {
  }
}

}  // extern "C"

namespace {
[[maybe_unused]] const bool guard_seeded = (__stack_chk_guard = fresh_guard(), true);
}  // namespace

#endif
