#pragma once
// Libraries loaded at run time come from the system folder only. A library
// named bare is looked for in the host program's own folder first, and the
// host is often an installer started from a downloads folder where anything
// may sit beside it; whatever such a file does, it does with the host's rights.
#include <windows.h>

namespace vantrel {

// `name` (a bare file name) from the system folder, or null. The host's own
// search order is never changed.
HMODULE load_system_library(const wchar_t* name);

}  // namespace vantrel
