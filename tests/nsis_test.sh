#!/usr/bin/env bash
# Builds the NSIS installers that e2e_nsis drives, beside it, and runs it.
# A 32-bit build makes an ANSI and a Unicode installer for x86; a 64-bit
# build (on a machine that cannot run 32-bit code) makes the Unicode one for
# amd64, since NSIS builds no 64-bit ANSI installers.
#   nsis_test.sh BIN_DIR SOURCE_DIR BITS
set -eu
bin=$1 source=$2 bits=$3
rm -f "$bin/nsis_ansi.exe" "$bin/nsis_unicode.exe"
if [ "$bits" = 32 ]; then
  makensis -V2 -DOUT="$bin/nsis_ansi.exe" "$source/tests/nsis/ansi.nsi"
  makensis -V2 -DOUT="$bin/nsis_unicode.exe" -DTARGET=x86-unicode "$source/tests/nsis/unicode.nsi"
else
  makensis -V2 -DOUT="$bin/nsis_unicode.exe" -DTARGET=amd64-unicode "$source/tests/nsis/unicode.nsi"
fi
exec "${VANTREL_WINE:-wine}" "$bin/e2e_nsis.exe"
