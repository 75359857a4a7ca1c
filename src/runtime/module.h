#pragma once
// The library's own module instance: recorded when the library is loaded,
// read by every layer that registers classes or makes windows.
#include <windows.h>

namespace vantrel {

void set_module_instance(HINSTANCE instance);
HINSTANCE module_instance();

}  // namespace vantrel
