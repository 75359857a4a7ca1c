#pragma once
// The loaded-library table: modules that the library keeps open by number,
// released when the library stops.
#include <windows.h>

#include <cstdint>

#include "runtime/object_table.h"

namespace vantrel {

struct LibraryRecord {
  HMODULE module;
};

bool start_libraries();
void stop_libraries();
ObjectTable* library_table();
void free_library(int32_t number);

}  // namespace vantrel
