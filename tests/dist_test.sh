#!/usr/bin/env bash
# The package as a developer gets it: make it from both builds, unpack it,
# and check what it holds: every relative link of its Markdown files leads
# somewhere, its header names the version, a C host links against each
# import library of each architecture, a CMake consumer finds it with each
# MinGW toolchain, lld-link links a program against each MSVC import
# library as link.exe does, and makensis builds its NSIS examples. The hosts
# run where this machine runs their code (the 64-bit ones always, the 32-bit
# ones where 32-bit code runs).
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
for file in README.md LICENSE include/vantrel.h cmake/vantrel-config.cmake cmake/vantrel-config-version.cmake \
            docs/dialogs.md docs/architecture.svg docs/screenshots/demo_multi_list.png examples/pick.py; do
  check "the package holds $file" test -s "$name/$file"
done
check "the licence is MIT" grep -q "MIT License" "$name/LICENSE"
check "the package holds the two architectures, the header, the CMake package, the docs and the examples" \
  test "$(cd "$name" && ls | tr '\n' ' ')" = "LICENSE README.md cmake docs examples include x64 x86 "
check "every example in the source is in the package" diff -r "$source/examples" "$name/examples"
check "the header names the version" grep -q "^#define VANTREL_VERSION \"$version\"$" "$name/include/vantrel.h"
check "the README names the version" grep -q "vantrel-$version.zip" "$name/README.md"

# Every relative link of every Markdown file leads to a file of the package,
# and an anchor into a Markdown file to one of its headings (as GitHub makes
# them: lower case, punctuation dropped, blanks as hyphens).
anchors_of() {  # markdown file
  grep -E '^#+ ' "$1" | sed -E 's/^#+ +//' | tr '[:upper:]' '[:lower:]' | sed -E 's/[^a-z0-9 _-]//g; s/ /-/g'
}
# Each relative link of the package's Markdown, as "page link".
relative_links() {  # package folder
  find "$1" -name '*.md' | while read -r page; do
    { grep -oE '\]\([^)]+\)' "$page" || true; } | sed -E 's/^\]\(//; s/\)$//' |
      { grep -vE '^(https?|mailto):' || true; } | while read -r link; do echo "$page $link"; done
  done
}
relative_links "$name" >"$work/links"
broken=$(while read -r page link; do
  target=${link%%#*} anchor=
  [ "$target" != "$link" ] && anchor=${link#*#}
  file=$(dirname "$page")/$target
  [ -z "$target" ] && file=$page
  if [ ! -e "$file" ]; then
    echo "$page: $link"
  elif [ -n "$anchor" ] && [[ "$file" == *.md ]] && ! anchors_of "$file" | grep -qx -- "$anchor"; then
    echo "$page: $link (no such heading)"
  fi
done <"$work/links")
check "every relative link in the package's Markdown resolves" test -z "$broken"
[ -n "$broken" ] && echo "$broken"
check "the links were followed" test "$(wc -l <"$work/links")" -gt 40

# A CMake consumer of the unzipped package, with each MinGW toolchain.
for build in "x86 i686" "x64 x86_64"; do
  read -r arch machine <<<"$build"
  consumer=$work/consumer-$arch
  check "find_package(vantrel) configures for $arch" sh -c "cmake -S '$source/tests/package' -B '$consumer' \
    -DCMAKE_TOOLCHAIN_FILE='$source/cmake/mingw-$machine.cmake' -DCMAKE_PREFIX_PATH='$work/$name' \
    -DCONSUMER_SOURCE='$source/tests/e2e/linked_host.c' -DCMAKE_BUILD_TYPE=Release >/dev/null"
  check "the $arch consumer builds against vantrel::vantrel" sh -c "cmake --build '$consumer' >/dev/null"
  check "the $arch consumer has the $arch DLL beside it" cmp -s "$consumer/vantrel.dll" "$name/$arch/vantrel.dll"
  if [ "$arch" = x64 ]; then
    check "the $arch consumer reaches every export" sh -c "cd '$consumer' && ${VANTREL_WINE:-wine} ./consumer.exe >/dev/null"
  elif "$source/tools/runs-32bit"; then
    check "the $arch consumer reaches every export" sh -c "cd '$consumer' && wine ./consumer.exe >/dev/null"
  fi
done

# A program linked by lld-link, which reads MSVC import libraries as
# link.exe does, against each vantrel.lib; the kernel's own import library
# made for it by LLVM's dlltool.
for build in "x86 i686-pc-windows-msvc i386 @4 @8 @4" "x64 x86_64-pc-windows-msvc i386:x86-64"; do
  read -r arch triple machine a b c <<<"$build"
  msvc=$work/msvc-$arch
  mkdir -p "$msvc"
  printf 'LIBRARY kernel32.dll\nEXPORTS\nGetModuleHandleA%s\nGetProcAddress%s\nExitProcess%s\n' "$a" "$b" "$c" >"$msvc/kernel32.def"
  llvm-dlltool -m "$machine" -k -d "$msvc/kernel32.def" -l "$msvc/kernel32.lib"
  check "the $arch MSVC-style host compiles" clang --target="$triple" -ffreestanding -fno-stack-protector \
    -I"$name/include" -c "$source/tests/package/msvc_host.c" -o "$msvc/host.obj"
  check "lld-link links it against $arch/vantrel.lib" lld-link /nologo /entry:start /subsystem:console /nodefaultlib \
    /out:"$msvc/host.exe" "$msvc/host.obj" "$name/$arch/vantrel.lib" "$msvc/kernel32.lib"
  cp "$name/$arch/vantrel.dll" "$msvc/"
  if [ "$arch" = x64 ]; then
    check "the lld-linked $arch host reaches the exports" sh -c "cd '$msvc' && ${VANTREL_WINE:-wine} ./host.exe"
  elif "$source/tools/runs-32bit"; then
    check "the lld-linked $arch host reaches the exports" sh -c "cd '$msvc' && wine ./host.exe"
  fi
done

# The package's NSIS examples, built where they say: beside x86 and x64.
cp "$name/examples/pick.nsi" "$name/examples/pick_ansi.nsi" "$name/"
check "makensis builds the Unicode example for x86" makensis -V1 "$name/pick.nsi"
check "makensis builds the Unicode example for amd64" makensis -V1 "-XTarget amd64-unicode" "$name/pick.nsi"
check "makensis builds the ANSI example" makensis -V1 "$name/pick_ansi.nsi"
check "the installers were made" test -s "$name/pick.exe" -a -s "$name/pick_ansi.exe"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
