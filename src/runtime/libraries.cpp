#include "runtime/libraries.h"

namespace vantrel {
namespace {
ObjectTable* libraries = nullptr;
}

bool start_libraries() {
  libraries = new_object_table(sizeof(LibraryRecord), 16, free_library);
  return libraries != nullptr;
}

void stop_libraries() {
  free_all_objects(libraries, free_library);
  libraries = nullptr;  // the table itself goes with the general heap
}

ObjectTable* library_table() { return libraries; }

void free_library(int32_t number) {
  auto* record = find_record<LibraryRecord>(libraries, number);
  if (!record) return;
  FreeLibrary(record->module);
  free_object(libraries, number);
}

}  // namespace vantrel
