#pragma once
// The runtime's private heaps and the allocation calls everything goes through.
#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace vantrel {

// General heap: serialised; object tables, records, lists, scratch.
bool create_general_heap();
void destroy_general_heap();
HANDLE general_heap();

// Object node heap: serialised; holds only the nodes of OBJECT_ANY objects.
bool create_object_node_heap();
void destroy_object_node_heap();
HANDLE object_node_heap();

// All allocations return null on failure; a null result is never written through.
void* heap_alloc(HANDLE heap, size_t size, bool zeroed, bool serialised = true);
void* heap_realloc(HANDLE heap, void* block, size_t size, bool zeroed, bool serialised = true);
void heap_free(HANDLE heap, void* block, bool serialised = true);

// Zero-filled blocks on the general heap: the common case.
void* general_alloc(size_t size);
void* general_realloc(void* block, size_t size);  // new bytes zero-filled
void general_free(void* block);
// Arrays of `count` elements: a size that 32-bit arithmetic cannot hold is
// refused instead of wrapping to a small block.
void* general_alloc_array(size_t count, size_t element_size);
void* general_realloc_array(void* block, size_t count, size_t element_size);

// How many allocations have failed so far: work that cannot report a
// failure of its own (a text read as "" when no room was left for it) is
// trusted only when this did not move while it ran.
uint32_t allocation_failures();

// Testing aid: the next `count` allocations succeed and every later one fails,
// until called again with a negative count (never fail, the default).
void fail_allocations_after(long count);

}  // namespace vantrel
