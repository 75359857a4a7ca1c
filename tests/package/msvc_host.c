/* A host linked as MSVC's link.exe links one: against vantrel.lib, with no C
 * runtime. The addresses the loader bound must be the exports'. Exit code 0
 * when they are. */
#include "vantrel.h"

__declspec(dllimport) void* __stdcall GetModuleHandleA(const char* name);
__declspec(dllimport) void* __stdcall GetProcAddress(void* module, const char* name);
__declspec(dllimport) void __stdcall ExitProcess(unsigned code);

void __stdcall start(void) {
  void* library = GetModuleHandleA("vantrel.dll");
  unsigned failures = library ? 0 : 1;
  if (!library || GetProcAddress(library, "ShowListBox") != (void*)ShowListBox) ++failures;
  if (!library || GetProcAddress(library, "ShowMultiListBoxW") != (void*)ShowMultiListBoxW) ++failures;
  ExitProcess(failures);
}
