#!/usr/bin/env bash
# The package as a developer gets it: make it, unpack it, check what it
# holds, and link and run a C host against each import library in it.
#   dist_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
name=vantrel-$version
cmake --build "$build" --target dist >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unzip -q "$build/dist/$name.zip"

passed=0 failed=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
for file in vantrel.dll vantrel.exe README.md LICENSE include/vantrel.h lib/vantrel.def lib/libvantrel.dll.a lib/vantrel.lib; do
  check "the package holds $file" test -s "$name/$file"
done
check "the licence is MIT" grep -q "MIT License" "$name/LICENSE"
check "the MSVC library is in COFF format" sh -c "llvm-objdump -a '$name/lib/vantrel.lib' | grep -q coff-i386"

cp "$name/vantrel.dll" .
for library in libvantrel.dll.a vantrel.lib; do
  host=host_${library%%.*}.exe
  check "a C host links against $library" \
    i686-w64-mingw32-gcc -I"$name/include" "$source/tests/e2e/linked_host.c" "$name/lib/$library" -o "$host"
  check "the host linked against $library reaches every export" sh -c "${VANTREL_WINE:-wine} ./$host >/dev/null"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
