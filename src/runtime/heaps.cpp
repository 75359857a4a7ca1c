#include "runtime/heaps.h"

#include <atomic>
#include <cstdint>

namespace vantrel {
namespace {

HANDLE general = nullptr;
HANDLE nodes = nullptr;
long allocations_left = -1;  // negative: never fail
std::atomic<uint32_t> failures{0};

void* counted(void* block) {
  if (!block) ++failures;
  return block;
}

bool allocation_allowed() {
  if (allocations_left < 0) return true;
  if (allocations_left == 0) return false;
  --allocations_left;
  return true;
}

DWORD flags_for(bool zeroed, bool serialised) {
  return (zeroed ? HEAP_ZERO_MEMORY : 0) | (serialised ? 0 : HEAP_NO_SERIALIZE);
}

}  // namespace

bool create_general_heap() {
  general = HeapCreate(0, 4096, 0);
  return general != nullptr;
}

void destroy_general_heap() {
  if (general) HeapDestroy(general);
  general = nullptr;
}

HANDLE general_heap() { return general; }

bool create_object_node_heap() {
  nodes = HeapCreate(0, 1024, 0);
  return nodes != nullptr;
}

void destroy_object_node_heap() {
  if (nodes) HeapDestroy(nodes);
  nodes = nullptr;
}

HANDLE object_node_heap() { return nodes; }

void* heap_alloc(HANDLE heap, size_t size, bool zeroed, bool serialised) {
  if (!heap || !allocation_allowed()) return counted(nullptr);
  return counted(HeapAlloc(heap, flags_for(zeroed, serialised), size ? size : 1));
}

void* heap_realloc(HANDLE heap, void* block, size_t size, bool zeroed, bool serialised) {
  if (!block) return heap_alloc(heap, size, zeroed, serialised);
  if (!heap || !allocation_allowed()) return counted(nullptr);
  return counted(HeapReAlloc(heap, flags_for(zeroed, serialised), block, size ? size : 1));
}

void heap_free(HANDLE heap, void* block, bool serialised) {
  if (heap && block) HeapFree(heap, flags_for(false, serialised), block);
}

uint32_t allocation_failures() { return failures; }

void* general_alloc(size_t size) { return heap_alloc(general, size, true); }
void* general_realloc(void* block, size_t size) { return heap_realloc(general, block, size, true); }
void general_free(void* block) { heap_free(general, block); }

namespace {
bool array_size(size_t count, size_t element_size, size_t* bytes) {
  if (element_size && count > SIZE_MAX / element_size) return counted(nullptr) != nullptr;
  *bytes = count * element_size;
  return true;
}
}  // namespace

void* general_alloc_array(size_t count, size_t element_size) {
  size_t bytes;
  return array_size(count, element_size, &bytes) ? general_alloc(bytes) : nullptr;
}

void* general_realloc_array(void* block, size_t count, size_t element_size) {
  size_t bytes;
  return array_size(count, element_size, &bytes) ? general_realloc(block, bytes) : nullptr;
}

void fail_allocations_after(long count) { allocations_left = count < 0 ? -1 : count; }

}  // namespace vantrel
