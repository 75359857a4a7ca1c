#pragma once
// Numbered objects: a growable array of fixed-size records indexed by the
// caller's number, plus a list of objects whose number the table chose.
#include <cstdint>

namespace vantrel {

constexpr int32_t OBJECT_ANY = -1;

using FreeCallback = void (*)(int32_t number);

// One object created with OBJECT_ANY; its record follows the node.
struct alignas(8) DynamicNode {
  DynamicNode* next;      // next older
  DynamicNode* previous;  // next newer
  int32_t number;
};

// Maps the chosen numbers back to their nodes. A number names a directory
// entry and the entry's generation, so a stale or forged number is refused
// without its memory being touched.
struct DirectoryEntry {
  DynamicNode* node;  // null: entry free
  int32_t generation;
  int32_t next_free;
};

struct ObjectTable {
  int32_t element_size;
  int32_t growth_step;
  int32_t capacity;
  DynamicNode* dynamic_list;  // newest node
  FreeCallback free_callback;
  int32_t cursor_index;
  DynamicNode* cursor_node;
  unsigned char* slots;
  DirectoryEntry* directory;
  int32_t directory_size;
  int32_t first_free_entry;  // -1: none
};

ObjectTable* new_object_table(int32_t element_size, int32_t growth_step, FreeCallback free_callback);
// Returns the zero-filled record to fill, or null; `chosen` receives the number.
void* create_object(ObjectTable* table, int32_t number, int32_t* chosen = nullptr);
void* find_object(const ObjectTable* table, int32_t number);
// The record that holds `number`, alive or not yet filled; null for no such number.
void* object_slot(const ObjectTable* table, int32_t number);
bool is_object(const ObjectTable* table, int32_t number);
void free_object(ObjectTable* table, int32_t number);
void begin_enumeration(ObjectTable* table);
void* next_object(ObjectTable* table, int32_t* number);

// Frees every object alive through `free_one`: numbered ones ascending, then
// chosen-number ones in creation order. Every stop routine does this.
void free_all_objects(ObjectTable* table, void (*free_one)(int32_t number));

template <typename Record>
Record* find_record(const ObjectTable* table, int32_t number) {
  return static_cast<Record*>(find_object(table, number));
}

// Module state blocks: zero-filled, alive until the library is unloaded.
void* new_module_state(int32_t size, void (*initialiser)(void*), void (*finaliser)(void*));
inline void* module_state(void* block) { return block; }

// Calls a routine that the caller supplies by address.
template <typename Result, typename... Arguments>
Result call_function_address(void* address, Arguments... arguments) {
  return reinterpret_cast<Result (*)(Arguments...)>(address)(arguments...);
}

}  // namespace vantrel
