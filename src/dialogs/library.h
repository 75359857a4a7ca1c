#pragma once
// Starting and stopping the runtime, in the fixed order its parts depend on.
#include <windows.h>

namespace vantrel {

bool start_library(HINSTANCE instance);
void stop_library();
bool library_started();

}  // namespace vantrel
