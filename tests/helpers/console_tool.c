/* A small console program the launcher and shell tests start.
 *   console_tool print TEXT          writes TEXT to standard output
 *   console_tool upper               copies standard input to output in capitals
 *   console_tool late MS FILE        waits MS milliseconds, then creates FILE
 *   console_tool record ARG...       appends its arguments and its working
 *                                    directory, one line, to %TEMP%\vantrel_shell_record.txt
 *                                    (the program the test prefix registers for http, https and mailto)
 *   console_tool flood BYTES         writes that many bytes to standard output
 *   console_tool                     records "started" as record does: a copy under
 *                                    another name shows whether anything ran it */
#include <windows.h>
#include <shellapi.h>
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int upper(void) {
  int c;
  while ((c = getchar()) != EOF) putchar(toupper(c));
  return 0;
}

static int late(const char* ms, const char* file) {
  Sleep((DWORD)atoi(ms));
  FILE* f = fopen(file, "w");
  if (!f) return 1;
  fputs("ended", f);
  fclose(f);
  return 0;
}

static void write_utf8(FILE* f, const wchar_t* argument) {
  char text[4096];
  if (!WideCharToMultiByte(CP_UTF8, 0, argument, -1, text, sizeof text, NULL, NULL)) text[0] = 0;
  fprintf(f, "%s|", text);
}

/* The arguments as the system keeps them (UTF-16), written as UTF-8: an
 * address outside the ANSI code page arrives whole or not at all. */
static int record(const wchar_t* started) {
  char path[MAX_PATH], folder[MAX_PATH];
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  GetTempPathA(MAX_PATH, path);
  strcat(path, "vantrel_shell_record.txt");
  GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* f = fopen(path, "a");
  if (!f || !argv) return 1;
  if (started) write_utf8(f, started);
  for (int i = 2; !started && i < argc; ++i) write_utf8(f, argv[i]);
  fprintf(f, "dir=%s\n", folder);
  fclose(f);
  LocalFree(argv);
  return 0;
}

static int flood(const char* count) {
  static char chunk[65536];
  memset(chunk, 'x', sizeof chunk);
  long left = atol(count);
  while (left > 0) {
    size_t part = left < (long)sizeof chunk ? (size_t)left : sizeof chunk;
    if (fwrite(chunk, 1, part, stdout) != part) return 1;
    left -= (long)part;
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 1) return record(L"started");
  if (argc == 3 && strcmp(argv[1], "flood") == 0) return flood(argv[2]);
  if (argc == 3 && strcmp(argv[1], "print") == 0) return fputs(argv[2], stdout) < 0;
  if (argc == 2 && strcmp(argv[1], "upper") == 0) return upper();
  if (argc == 4 && strcmp(argv[1], "late") == 0) return late(argv[2], argv[3]);
  if (argc >= 2 && strcmp(argv[1], "record") == 0) return record(NULL);
  /* A library by its bare name, as a careless program loads one. */
  if (argc == 3 && strcmp(argv[1], "load") == 0) return LoadLibraryA(argv[2]) ? 0 : 1;
  fputs("usage: console_tool print TEXT | upper | late MS FILE | record ARG... | flood BYTES | load LIBRARY\n", stderr);
  return 2;
}
