/* C, loading vantrel.dll at run time from the program's own folder, by its
 * full path (a bare name is looked for in the current folder too), with no
 * import library. The fixed export's text is in the ANSI code page, which
 * MessageBoxA shows as it is. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

typedef const char*(__stdcall* ShowInputFunction)(const char* title, const char* text, const char* width,
                                                  const char* height, const char* host_window);

static HMODULE load_beside_program(void) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
  wchar_t* slash = wcsrchr(path, L'\\');
  if (length == 0 || length >= MAX_PATH || !slash || (size_t)(slash + 1 - path) + 12 > MAX_PATH) return NULL;
  memcpy(slash + 1, L"vantrel.dll", sizeof L"vantrel.dll");
  return LoadLibraryW(path);
}

int main(void) {
  HMODULE vantrel = load_beside_program();
  ShowInputFunction show_input =
      vantrel ? (ShowInputFunction)(void*)GetProcAddress(vantrel, "ShowInput") : NULL;
  char host[24], name[256], greeting[300];
  if (!show_input) {
    fputs("vantrel.dll is not beside this program\n", stderr);
    return 1;
  }
  /* The host window as decimal text: it is disabled while the dialog is up. */
  snprintf(host, sizeof host, "%lu", (unsigned long)(ULONG_PTR)GetConsoleWindow());
  /* The answer is the library's until this thread's next call: copy it. */
  lstrcpynA(name, show_input("Your name", "", "300", "200", host), sizeof name);
  if (strcmp(name, "CANCEL") != 0) {
    snprintf(greeting, sizeof greeting, "Hello, %s", name);
    MessageBoxA(NULL, greeting, "Vantrel", MB_OK);
  }
  FreeLibrary(vantrel);
  return 0;
}
