/* C, a wide export: UTF-16 in and out, every character of the user's text kept. */
#include <windows.h>

#include "vantrel.h"

int main(void) {
  wchar_t name[256];
  /* The answer is the library's until the next call: copy it. */
  lstrcpynW(name, ShowInputW(L"Your name", L"", L"300", L"200", L"0"), 256);
  if (lstrcmpW(name, L"CANCEL") != 0) MessageBoxW(NULL, name, L"Hello", MB_OK);
  return 0;
}
