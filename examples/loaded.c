/* C, loading vantrel.dll at run time: no import library needed. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

typedef const char*(__stdcall* ShowInputFunction)(const char* title, const char* text, const char* width,
                                                  const char* height, const char* host_window);

int main(void) {
  HMODULE vantrel = LoadLibraryA("vantrel.dll");
  ShowInputFunction show_input =
      vantrel ? (ShowInputFunction)(void*)GetProcAddress(vantrel, "ShowInput") : NULL;
  char host[24], name[256];
  if (!show_input) return 1;
  /* The host window as decimal text: it is disabled while the dialog is up. */
  sprintf(host, "%lu", (unsigned long)(ULONG_PTR)GetConsoleWindow());
  /* The answer is the library's until the next call: copy it. */
  lstrcpynA(name, show_input("Your name", "", "300", "200", host), sizeof name);
  if (strcmp(name, "CANCEL") != 0) printf("Hello, %s\n", name);
  FreeLibrary(vantrel);
  return 0;
}
