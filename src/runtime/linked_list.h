#pragma once
// Doubly linked list on the general heap, walked through a current element.
#include <cstdint>

#include "runtime/strings.h"

namespace vantrel {

struct ListElement {
  ListElement* next;
  ListElement* previous;
  // the data follows
};

struct ListHeader {
  ListElement* first;
  ListElement* last;
  int32_t element_size;  // data size plus the two links
  int32_t count;
  int32_t index;  // 1-based index of the current element, 0 = none
  const LayoutEntry* layout;  // string fields of the data, or null
};

struct List {
  ListHeader* header;
  ListElement* current;
};

inline void* element_data(ListElement* element) { return element ? element + 1 : nullptr; }

ListHeader* list_new(List* list, int32_t data_size, const LayoutEntry* layout);
int32_t list_count(const List* list);
void list_reset(List* list);
ListElement* list_next(List* list);
ListElement* list_add(List* list);  // null when memory runs out
void list_delete(List* list);
void list_clear(List* list);
void list_free(List* list);

}  // namespace vantrel
