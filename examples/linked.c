/* C, linked with the import library (MinGW: lib/libvantrel.dll.a, MSVC: lib/vantrel.lib). */
#include <stdio.h>
#include <string.h>

#include "vantrel.h"

int main(void) {
  const char* colour = ShowListBox("Colour", "Red|Green|Blue|", "200", "150", "0");
  if (strcmp(colour, "CANCEL") != 0) printf("You chose %s\n", colour);
  return 0;
}
