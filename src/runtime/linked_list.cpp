#include "runtime/linked_list.h"

#include "runtime/heaps.h"
#include "runtime/strings.h"

namespace vantrel {

ListHeader* list_new(List* list, int32_t data_size, const LayoutEntry* layout) {
  list_free(list);
  if (data_size < 0) return nullptr;
  auto* header = static_cast<ListHeader*>(general_alloc(sizeof(ListHeader)));
  if (!header) return nullptr;
  header->element_size = int32_t(sizeof(ListElement)) + data_size;
  header->layout = layout;
  list->header = header;
  list->current = nullptr;
  return header;
}

int32_t list_count(const List* list) { return list->header ? list->header->count : 0; }

void list_reset(List* list) {
  list->current = nullptr;
  if (list->header) list->header->index = 0;
}

ListElement* list_next(List* list) {
  ListHeader* header = list->header;
  if (!header) return nullptr;
  if (!list->current) {
    list->current = header->first;
    header->index = header->first ? 1 : 0;
    return list->current;
  }
  if (!list->current->next) return nullptr;
  list->current = list->current->next;
  ++header->index;
  return list->current;
}

ListElement* list_add(List* list) {
  ListHeader* header = list->header;
  if (!header) return nullptr;
  auto* element = static_cast<ListElement*>(general_alloc(size_t(header->element_size)));
  if (!element) return nullptr;
  ListElement* before = list->current;
  ListElement* after = before ? before->next : header->first;
  element->previous = before;
  element->next = after;
  (before ? before->next : header->first) = element;
  (after ? after->previous : header->last) = element;
  list->current = element;
  ++header->count;
  ++header->index;
  return element;
}

void list_delete(List* list) {
  ListHeader* header = list->header;
  ListElement* element = list->current;
  if (!header || !element) return;
  (element->previous ? element->previous->next : header->first) = element->next;
  (element->next ? element->next->previous : header->last) = element->previous;
  list->current = element->previous;
  --header->count;
  --header->index;
  if (header->layout) free_structure_strings(element_data(element), header->layout);
  general_free(element);
}

void list_clear(List* list) {
  list_reset(list);
  while (list_next(list)) list_delete(list);
}

void list_free(List* list) {
  if (!list->header) return;
  list_clear(list);
  general_free(list->header);
  list->header = nullptr;
  list->current = nullptr;
}

}  // namespace vantrel
