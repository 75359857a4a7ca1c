#pragma once
// The few platform calls the window-free modules make, for the Linux host
// the fuzz targets run on: private heaps whose every block is a block of its
// own to the sanitizers (so a read one byte past a block is caught), and the
// local time. The same contract as the platform's, no more.
#include <cstddef>
#include <cstdint>

typedef void* HANDLE;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int BOOL;
typedef size_t SIZE_T;
typedef void* LPVOID;

constexpr DWORD HEAP_NO_SERIALIZE = 0x00000001;
constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
constexpr WORD PROCESS_HEAP_ENTRY_BUSY = 0x0004;

struct PROCESS_HEAP_ENTRY {
  LPVOID lpData;
  DWORD cbData;
  BYTE cbOverhead;
  BYTE iRegionIndex;
  WORD wFlags;
};

struct SYSTEMTIME {
  WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

HANDLE HeapCreate(DWORD options, SIZE_T initial_size, SIZE_T maximum_size);
BOOL HeapDestroy(HANDLE heap);
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
SIZE_T HeapSize(HANDLE heap, DWORD flags, const void* block);
// Busy blocks only, in address order.
BOOL HeapWalk(HANDLE heap, PROCESS_HEAP_ENTRY* entry);
void GetLocalTime(SYSTEMTIME* time);
