/* C, linked with the import library of its architecture: MinGW x86/libvantrel.dll.a
 * or x64/libvantrel.dll.a, MSVC x86/vantrel.lib or x64/vantrel.lib; vantrel.dll beside
 * the program. */
#include <stdio.h>
#include <string.h>

#include "vantrel.h"

int main(void) {
  const char* colour = ShowListBox("Colour", "Red|Green|Blue|", "200", "150", "0");
  if (strcmp(colour, "CANCEL") != 0) printf("You chose %s\n", colour);
  return 0;
}
