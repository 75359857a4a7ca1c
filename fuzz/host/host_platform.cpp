#include "windows.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>

namespace {

// A heap is the blocks it gave out, by address, each with its size.
struct Heap {
  std::map<char*, size_t> blocks;
};

Heap* heap_of(HANDLE heap) { return static_cast<Heap*>(heap); }

// A 32-bit host seldom finds more in one piece; larger blocks are refused,
// as there, rather than taken from a 64-bit machine's memory.
constexpr SIZE_T LARGEST_BLOCK = SIZE_T(256) << 20;

}  // namespace

HANDLE HeapCreate(DWORD, SIZE_T, SIZE_T) { return new Heap; }

BOOL HeapDestroy(HANDLE heap) {
  if (!heap) return 0;
  for (auto& block : heap_of(heap)->blocks) std::free(block.first);
  delete heap_of(heap);
  return 1;
}

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!heap || bytes > LARGEST_BLOCK) return nullptr;
  auto* block = static_cast<char*>(flags & HEAP_ZERO_MEMORY ? std::calloc(bytes ? bytes : 1, 1)
                                                            : std::malloc(bytes ? bytes : 1));
  if (block) heap_of(heap)->blocks[block] = bytes;
  return block;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!heap) return nullptr;
  auto found = heap_of(heap)->blocks.find(static_cast<char*>(block));
  if (found == heap_of(heap)->blocks.end()) __builtin_trap();  // not this heap's: the platform would fault
  auto* grown = static_cast<char*>(HeapAlloc(heap, flags, bytes));
  if (!grown) return nullptr;
  std::memcpy(grown, found->first, found->second < bytes ? found->second : bytes);
  std::free(found->first);
  heap_of(heap)->blocks.erase(found);
  return grown;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID block) {
  if (!heap || !block) return 0;
  auto found = heap_of(heap)->blocks.find(static_cast<char*>(block));
  if (found == heap_of(heap)->blocks.end()) __builtin_trap();
  std::free(found->first);
  heap_of(heap)->blocks.erase(found);
  return 1;
}

SIZE_T HeapSize(HANDLE heap, DWORD, const void* block) {
  if (!heap) return SIZE_T(-1);
  auto found = heap_of(heap)->blocks.find(static_cast<char*>(const_cast<void*>(block)));
  return found == heap_of(heap)->blocks.end() ? SIZE_T(-1) : found->second;
}

BOOL HeapWalk(HANDLE heap, PROCESS_HEAP_ENTRY* entry) {
  if (!heap || !entry) return 0;
  auto& blocks = heap_of(heap)->blocks;
  auto next = entry->lpData ? blocks.upper_bound(static_cast<char*>(entry->lpData)) : blocks.begin();
  if (next == blocks.end()) return 0;
  entry->lpData = next->first;
  entry->cbData = DWORD(next->second);
  entry->wFlags = PROCESS_HEAP_ENTRY_BUSY;
  return 1;
}

void GetLocalTime(SYSTEMTIME* time) {
  std::time_t now = std::time(nullptr);
  std::tm local = {};
  localtime_r(&now, &local);
  *time = {WORD(local.tm_year + 1900), WORD(local.tm_mon + 1), WORD(local.tm_wday), WORD(local.tm_mday),
           WORD(local.tm_hour),        WORD(local.tm_min),     WORD(local.tm_sec),  0};
}
