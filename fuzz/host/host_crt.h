#pragma once
// The platform C library's case-blind comparisons (A to Z folded, bytes
// unsigned), which the Linux C library spells otherwise. Included first in
// every file of the fuzz build.
#include <strings.h>

inline int _stricmp(const char* a, const char* b) { return strcasecmp(a, b); }
inline int _strnicmp(const char* a, const char* b, size_t n) { return strncasecmp(a, b, n); }
