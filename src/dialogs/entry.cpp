// The library's entry point: start the runtime on load, stop it on unload.
#include <windows.h>

#include "dialogs/library.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      DisableThreadLibraryCalls(instance);
      vantrel::start_library(instance);  // an incomplete start makes every export answer ""
      break;
    case DLL_PROCESS_DETACH:
      // At process exit the system reclaims everything, and the windows the
      // stop would close may already be gone with their threads.
      if (!reserved) vantrel::stop_library();
      break;
    default:
      break;
  }
  return TRUE;
}
