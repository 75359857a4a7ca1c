/* A library planted beside a host under the name of one the host or the
   library may load: it writes its own path to the file that
   VANTREL_PLANTED_LOG names as soon as it is loaded, and refuses to stay. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t log[MAX_PATH], path[MAX_PATH + 2];
  DWORD length = GetEnvironmentVariableW(L"VANTREL_PLANTED_LOG", log, MAX_PATH);
  DWORD path_length = GetModuleFileNameW(instance, path, MAX_PATH);
  if (length && length < MAX_PATH && path_length && path_length < MAX_PATH) {
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
      char line[3 * MAX_PATH + 2];
      int bytes = WideCharToMultiByte(CP_UTF8, 0, path, (int)path_length, line, sizeof line - 2, NULL, NULL);
      line[bytes] = '\r';
      line[bytes + 1] = '\n';
      DWORD written = 0;
      WriteFile(file, line, (DWORD)bytes + 2, &written, NULL);
      CloseHandle(file);
    }
  }
  return FALSE;
}
