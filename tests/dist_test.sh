#!/usr/bin/env bash
# The package as a developer gets it: make it from both builds, unpack it,
# check what it holds, and link a C host against each import library of
# each architecture. The hosts run where this machine runs their code (the
# 64-bit ones always, the 32-bit ones where 32-bit code runs).
#   dist_test.sh X86_BUILD_DIR X64_BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
x86_build=$1 x64_build=$2 source=$3 version=$4
name=vantrel-$version
cmake --build "$x64_build" --target dist_arch >/dev/null
cmake --build "$x86_build" --target dist >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unzip -q "$x86_build/dist/$name.zip"

passed=0 failed=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
for file in README.md LICENSE include/vantrel.h; do
  check "the package holds $file" test -s "$name/$file"
done
check "the licence is MIT" grep -q "MIT License" "$name/LICENSE"
check "the package holds the two architectures and nothing else" \
  test "$(cd "$name" && ls | tr '\n' ' ')" = "LICENSE README.md include x64 x86 "

# arch, PE format, COFF format, compiler prefix
for build in "x86 pei-i386 coff-i386 i686-w64-mingw32" "x64 pei-x86-64 coff-x86-64 x86_64-w64-mingw32"; do
  read -r arch pe coff prefix <<<"$build"
  for file in vantrel.dll vantrel.exe vantrel.def libvantrel.dll.a vantrel.lib; do
    check "$arch holds $file" test -s "$name/$arch/$file"
  done
  check "$arch/vantrel.dll is $pe" sh -c "$prefix-objdump -f '$name/$arch/vantrel.dll' | grep -q 'file format $pe'"
  check "$arch/vantrel.exe is $pe" sh -c "$prefix-objdump -f '$name/$arch/vantrel.exe' | grep -q 'file format $pe'"
  check "the $arch MSVC library is in $coff format" sh -c "llvm-objdump -a '$name/$arch/vantrel.lib' | grep -q $coff"
  mkdir "$arch"
  cp "$name/$arch/vantrel.dll" "$arch/"
  for library in libvantrel.dll.a vantrel.lib; do
    host=$arch/host_${library%%.*}.exe
    check "a $arch C host links against $library" \
      "$prefix-gcc" -I"$name/include" "$source/tests/e2e/linked_host.c" "$name/$arch/$library" -o "$host"
    if [ "$arch" = x64 ]; then
      check "the $arch host linked against $library reaches every export" sh -c "${VANTREL_WINE:-wine} ./$host >/dev/null"
    elif "$source/tools/runs-32bit"; then
      check "the $arch host linked against $library reaches every export" sh -c "wine ./$host >/dev/null"
    fi
  done
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
