/* A C host that links the import library and includes vantrel.h, as a host
 * built with an ordinary toolchain does: every declared function must reach
 * the export of the same name. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "vantrel.h"

/* A 32-bit compiler may take an imported function's address in a constant
 * initializer as that of its import thunk ("jmp [slot]") in this program;
 * the thunk's slot holds the address the loader bound. */
static void* bound_address(void* linked) {
  const unsigned char* code = (const unsigned char*)linked;
  if (code[0] != 0xFF || code[1] != 0x25) return linked;
  INT32 operand;
  memcpy(&operand, code + 2, sizeof operand);
#ifdef _WIN64
  return *(void* const*)(code + 6 + operand); /* the slot, relative to the next instruction */
#else
  return *(void* const*)(UINT_PTR)(UINT32)operand; /* the slot's own address */
#endif
}

int main(void) {
  struct {
    const char* name;
    void* linked;
  } exports[] = {
      {"ShowAbout", (void*)ShowAbout},         {"ShowCal", (void*)ShowCal},
      {"ShowComboBox", (void*)ShowComboBox},   {"ShowDragnDrop", (void*)ShowDragnDrop},
      {"ShowInput", (void*)ShowInput},         {"ShowListBox", (void*)ShowListBox},
      {"ShowMultiListBox", (void*)ShowMultiListBox},
      {"ShowAboutW", (void*)ShowAboutW},       {"ShowCalW", (void*)ShowCalW},
      {"ShowComboBoxW", (void*)ShowComboBoxW}, {"ShowDragnDropW", (void*)ShowDragnDropW},
      {"ShowInputW", (void*)ShowInputW},       {"ShowListBoxW", (void*)ShowListBoxW},
      {"ShowMultiListBoxW", (void*)ShowMultiListBoxW},
  };
  HMODULE library = GetModuleHandleA("vantrel.dll");
  int failures = library ? 0 : 1;
  for (int i = 0; library && i < (int)(sizeof exports / sizeof exports[0]); ++i) {
    if ((void*)GetProcAddress(library, exports[i].name) != bound_address(exports[i].linked)) {
      printf("%s: linked address differs from the export\n", exports[i].name);
      ++failures;
    }
  }
  printf("%d passed, %d failed\n", failures ? 0 : 1, failures ? 1 : 0);
  return failures ? 1 : 0;
}
