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

static int record(int argc, char** argv) {
  char path[MAX_PATH], folder[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  strcat(path, "vantrel_shell_record.txt");
  GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* f = fopen(path, "a");
  if (!f) return 1;
  for (int i = 2; i < argc; ++i) fprintf(f, "%s|", argv[i]);
  fprintf(f, "dir=%s\n", folder);
  fclose(f);
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
  if (argc == 1) {
    char* started[] = {argv[0], "record", "started"};
    return record(3, started);
  }
  if (argc == 3 && strcmp(argv[1], "flood") == 0) return flood(argv[2]);
  if (argc == 3 && strcmp(argv[1], "print") == 0) return fputs(argv[2], stdout) < 0;
  if (argc == 2 && strcmp(argv[1], "upper") == 0) return upper();
  if (argc == 4 && strcmp(argv[1], "late") == 0) return late(argv[2], argv[3]);
  if (argc >= 2 && strcmp(argv[1], "record") == 0) return record(argc, argv);
  fputs("usage: console_tool print TEXT | upper | late MS FILE | record ARG... | flood BYTES\n", stderr);
  return 2;
}
