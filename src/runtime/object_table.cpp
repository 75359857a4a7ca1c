#include "runtime/object_table.h"

#include <cstring>

#include "runtime/heaps.h"

namespace vantrel {
namespace {

// Chosen numbers: top bit set (so never a slot number, and never -1), then an
// 11-bit generation and a 20-bit directory index.
constexpr uint32_t CHOSEN_FLAG = 0x80000000u;
constexpr int INDEX_BITS = 20;
constexpr uint32_t INDEX_MASK = (1u << INDEX_BITS) - 1;
constexpr int32_t MAX_GENERATION = 0x7FF;
constexpr int32_t MAX_DIRECTORY = int32_t(INDEX_MASK);  // index 0xFFFFF with generation 0x7FF would be -1

int32_t encode_number(int32_t index, int32_t generation) {
  return int32_t(CHOSEN_FLAG | (uint32_t(generation) << INDEX_BITS) | uint32_t(index));
}

// The node a chosen number names, or null when it names nothing alive.
DynamicNode* node_of(const ObjectTable* table, int32_t number) {
  if (number == OBJECT_ANY || !(uint32_t(number) & CHOSEN_FLAG)) return nullptr;
  int32_t index = int32_t(uint32_t(number) & INDEX_MASK);
  int32_t generation = int32_t((uint32_t(number) & ~CHOSEN_FLAG) >> INDEX_BITS);
  if (index >= table->directory_size) return nullptr;
  const DirectoryEntry& entry = table->directory[index];
  return entry.node && entry.generation == generation ? entry.node : nullptr;
}

void* record_of(DynamicNode* node) { return node + 1; }

bool record_alive(const void* record) {
  return record && *static_cast<const uintptr_t*>(record) != 0;
}

// A free directory entry's index, growing the directory when none is free; -1 on failure.
int32_t take_directory_entry(ObjectTable* table) {
  if (table->first_free_entry < 0) {
    int32_t old_size = table->directory_size;
    int32_t new_size = old_size ? old_size * 2 : 16;
    if (new_size > MAX_DIRECTORY) new_size = MAX_DIRECTORY;
    if (new_size <= old_size) return -1;
    auto* grown = static_cast<DirectoryEntry*>(
        general_realloc(table->directory, size_t(new_size) * sizeof(DirectoryEntry)));
    if (!grown) return -1;
    for (int32_t i = old_size; i < new_size; ++i) {
      grown[i] = DirectoryEntry{nullptr, 1, i + 1 < new_size ? i + 1 : -1};
    }
    table->directory = grown;
    table->directory_size = new_size;
    table->first_free_entry = old_size;
  }
  int32_t index = table->first_free_entry;
  table->first_free_entry = table->directory[index].next_free;
  return index;
}

void* create_chosen(ObjectTable* table, int32_t* chosen) {
  int32_t index = take_directory_entry(table);
  if (index < 0) return nullptr;
  DirectoryEntry& entry = table->directory[index];
  auto* node = static_cast<DynamicNode*>(heap_alloc(
      object_node_heap(), sizeof(DynamicNode) + size_t(table->element_size), true));
  if (!node) {
    entry.next_free = table->first_free_entry;
    table->first_free_entry = index;
    return nullptr;
  }
  node->number = encode_number(index, entry.generation);
  node->next = table->dynamic_list;
  if (node->next) node->next->previous = node;
  table->dynamic_list = node;
  entry.node = node;
  if (chosen) *chosen = node->number;
  return record_of(node);
}

void free_chosen(ObjectTable* table, DynamicNode* node) {
  int32_t index = int32_t(uint32_t(node->number) & INDEX_MASK);
  DirectoryEntry& entry = table->directory[index];
  if (node->previous) node->previous->next = node->next;
  else table->dynamic_list = node->next;
  if (node->next) node->next->previous = node->previous;
  if (table->cursor_node == node) table->cursor_node = node->previous;
  entry.node = nullptr;
  entry.generation = entry.generation == MAX_GENERATION ? 1 : entry.generation + 1;
  entry.next_free = table->first_free_entry;
  table->first_free_entry = index;
  heap_free(object_node_heap(), node);
}

bool grow_slots(ObjectTable* table, int32_t number) {
  int64_t capacity = int64_t(number) + table->growth_step;
  int64_t bytes = capacity * table->element_size;
  if (capacity > INT32_MAX || bytes > 0x7FFF0000) return false;
  auto* grown = static_cast<unsigned char*>(general_realloc(table->slots, size_t(bytes)));
  if (!grown) return false;
  table->slots = grown;
  table->capacity = int32_t(capacity);
  return true;
}

}  // namespace

ObjectTable* new_object_table(int32_t element_size, int32_t growth_step, FreeCallback free_callback) {
  if (element_size < int32_t(sizeof(uintptr_t)) || growth_step < 1) return nullptr;
  auto* table = static_cast<ObjectTable*>(general_alloc(sizeof(ObjectTable)));
  if (!table) return nullptr;
  table->slots = static_cast<unsigned char*>(general_alloc(size_t(element_size) * size_t(growth_step)));
  if (!table->slots) {
    general_free(table);
    return nullptr;
  }
  table->element_size = element_size;
  table->growth_step = growth_step;
  table->capacity = growth_step;
  table->free_callback = free_callback;
  table->first_free_entry = -1;
  return table;
}

void* create_object(ObjectTable* table, int32_t number, int32_t* chosen) {
  if (!table) return nullptr;
  if (number == OBJECT_ANY) return create_chosen(table, chosen);
  if (number < 0) return nullptr;
  if (number >= table->capacity && !grow_slots(table, number)) return nullptr;
  if (table->free_callback) table->free_callback(number);
  // The callback may have grown or reused the array: address the slot afterwards.
  unsigned char* slot = table->slots + size_t(number) * size_t(table->element_size);
  memset(slot, 0, size_t(table->element_size));
  if (chosen) *chosen = number;
  return slot;
}

void* object_slot(const ObjectTable* table, int32_t number) {
  if (!table) return nullptr;
  if (number >= 0 && number < table->capacity) return table->slots + size_t(number) * size_t(table->element_size);
  DynamicNode* node = node_of(table, number);
  return node ? record_of(node) : nullptr;
}

void* find_object(const ObjectTable* table, int32_t number) {
  void* record = object_slot(table, number);
  return record_alive(record) ? record : nullptr;
}

bool is_object(const ObjectTable* table, int32_t number) { return find_object(table, number) != nullptr; }

void free_object(ObjectTable* table, int32_t number) {
  if (!table) return;
  if (number >= 0 && number < table->capacity) {
    memset(table->slots + size_t(number) * size_t(table->element_size), 0, size_t(table->element_size));
  } else if (DynamicNode* node = node_of(table, number)) {
    free_chosen(table, node);
  }
}

void begin_enumeration(ObjectTable* table) {
  table->cursor_index = 0;
  DynamicNode* oldest = table->dynamic_list;
  while (oldest && oldest->next) oldest = oldest->next;
  table->cursor_node = oldest;
}

void* next_object(ObjectTable* table, int32_t* number) {
  while (table->cursor_index < table->capacity) {
    int32_t index = table->cursor_index++;
    void* record = table->slots + size_t(index) * size_t(table->element_size);
    if (record_alive(record)) {
      *number = index;
      return record;
    }
  }
  while (DynamicNode* node = table->cursor_node) {
    table->cursor_node = node->previous;
    if (record_alive(record_of(node))) {
      *number = node->number;
      return record_of(node);
    }
  }
  return nullptr;
}

void free_all_objects(ObjectTable* table, void (*free_one)(int32_t number)) {
  if (!table) return;
  begin_enumeration(table);
  int32_t number;
  while (next_object(table, &number)) free_one(number);
}

void* new_module_state(int32_t size, void (*initialiser)(void*), void (*)(void*)) {
  void* block = general_alloc(size_t(size > 0 ? size : 1));
  if (block && initialiser) initialiser(block);
  return block;
}

}  // namespace vantrel
