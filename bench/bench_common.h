#pragma once
// What the benchmarks share: a clock, the library beside the program, and
// the bare list's rank comparison, the build that runs.
#include <windows.h>

#include <cstdio>
#include <string>

namespace bench {

inline double now_seconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

// "32-bit build on 2 processors": figures only mean something with it.
inline std::string build_and_machine() {
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return std::to_string(sizeof(void*) * 8) + "-bit build on " + std::to_string(system.dwNumberOfProcessors) +
         " processors";
}

// In an emulated machine every program runs some fifteen times slower, so
// no figure measured there is the product's speed: the benchmark says so
// and measures nothing (true).
inline bool refuse_emulated_machine() {
  char value[8] = {};
  if (!GetEnvironmentVariableA("VANTREL_EMULATED", value, sizeof value)) return false;
  std::printf("An emulated machine: no figures, since none would be the product's speed.\n");
  return true;
}

// vantrel.dll in the program's own folder.
inline std::string library_beside_program() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, length);
  return p.substr(0, p.find_last_of('\\') + 1) + "vantrel.dll";
}

// The bare list's comparison: rows by ranks settled beforehand, indexed by their parameter.
inline int CALLBACK by_rank(LPARAM a, LPARAM b, LPARAM ranks) {
  auto* rank = reinterpret_cast<const int*>(ranks);
  return rank[a] < rank[b] ? -1 : rank[a] > rank[b] ? 1 : 0;
}

}  // namespace bench
