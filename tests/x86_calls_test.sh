#!/usr/bin/env bash
# What only a 32-bit run would otherwise find, read from the 32-bit files
# without running them (64-bit code forgives both faults; 32-bit code breaks
# its stack):
# - each export removes from the stack what the header's arguments and the
#   .def's @N say (every `ret` of the export pops exactly that);
# - every function of the library whose address goes to a __stdcall platform
#   function (a window or subclass procedure, an enumeration or sort
#   callback, a thread start) is __stdcall itself;
# - the DLL and the console host beside it are marked as registering no
#   exception handler (the platform then refuses any handler a corrupted
#   stack names in them), and none of their code puts one on the thread's
#   chain (a write to %fs:0), so the mark holds.
# The check is calibrated on a host of its own with one such fault.
#   x86_calls_test.sh TOOL_PREFIX DLL DEF HEADER
set -euo pipefail
prefix=$1 dll=$2 def=$3 header=$4
passed=0 failed=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Bytes of arguments per export: four per pointer the header declares.
tr '\n' ' ' <"$header" | grep -o 'Show[A-Za-z]*W\?([^)]*)' |
  awk -F'(' '{ n = split($2, a, ","); print $1, 4 * n }' | sort >"$work/header"
# The .def's names with their @N.
sed -n 's/^ *\(Show[A-Za-z]*\)@\([0-9]*\) .*/\1 \2/p' "$def" | sort >"$work/def"
check "the header declares the fourteen exports" test "$(wc -l <"$work/header")" -eq 14
check "the .def's @N is four bytes per argument of the header" diff "$work/header" "$work/def"

"$prefix-objdump" -d --no-show-raw-insn "$dll" >"$work/code"
# The immediate of every `ret` in each export, which must be the .def's @N.
awk 'function hex(s,  i, n) { n = 0; for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1; return n }
     /^[0-9a-f]+ <.*>:$/ { name = $2; sub(/^<_?/, "", name); sub(/@[0-9]+>:$/, "", name); sub(/>:$/, "", name) }
     name ~ /^Show/ && $2 == "ret" { n = $3; sub(/^\$0x/, "", n); print name, hex(n) }
     name ~ /^Show/ && $2 == "ret" && NF == 2 { print name, 0 }' "$work/code" | sort -u >"$work/returns"
check "each export pops exactly its arguments at every return" diff "$work/def" "$work/returns"

# Functions whose address goes to a __stdcall import (the next call after the
# address is taken) while they are not __stdcall (no @N). Prints them.
stray_callbacks() {  # dll code
  "$prefix-nm" "$1" | awk '
    $2 ~ /^[tT]$/ && $3 ~ /^__Z+N7vantrel/ { own[$1] = $3 }
    $2 == "I" && $3 ~ /^__imp__/ { platform[$1] = $3 }
    END { for (a in own) print "own", a, own[a]; for (a in platform) print "import", a, platform[a] }' >"$work/symbols"
  awk 'FNR == NR { if ($1 == "own") own[$2] = $3; else platform[$2] = $3; next }
       /^[0-9a-f]+ <.*>:$/ { pending = ""; delete held; next }
       {
         line = $0
         while (match(line, /\$0x[0-9a-f]+/)) {
           a = sprintf("%08s", substr(line, RSTART + 3, RLENGTH - 3)); gsub(/ /, "0", a)
           if (a in own) pending = pending " " own[a]
           line = substr(line, RSTART + RLENGTH)
         }
         # The address of an import kept in a register for several calls.
         if ($2 == "mov" && match($3, /^0x[0-9a-f]+,%e[a-z][a-z]$/)) {
           a = sprintf("%08s", substr($3, 3, RLENGTH - 7)); gsub(/ /, "0", a)
           held[substr($3, RLENGTH - 3)] = (a in platform) ? platform[a] : ""
         }
         if ($2 == "call" || $2 == "jmp") {
           target = ""
           if (match($3, /^\*0x[0-9a-f]+$/)) {
             a = sprintf("%08s", substr($3, 4)); gsub(/ /, "0", a)
             if (a in platform) target = platform[a]
           } else if ($3 ~ /^\*%e[a-z][a-z]$/) target = held[substr($3, 2)]
           if (target ~ /@[0-9]+$/ && pending != "") {
             n = split(pending, f, " ")
             for (i = 1; i <= n; i++) {
               handed++
               if (f[i] !~ /@[0-9]+$/) print f[i], "->", target
             }
           }
           pending = ""
         }
         if ($2 ~ /^ret/) pending = ""
       }
       END { print "handed", handed + 0 > "/dev/stderr" }' "$work/symbols" "$2"
}

stray_callbacks "$dll" "$work/code" >"$work/stray" 2>"$work/handed"
check "every callback handed to the platform is __stdcall" test ! -s "$work/stray"
cat "$work/stray"
# The toolkit's window procedure, the gadgets' procedures and the sort's comparison at least.
check "the check sees the library's callbacks" test "$(awk '{ print $2 }' "$work/handed")" -ge 5

# Calibration: a window procedure without CALLBACK, cast to WNDPROC, is found.
cat >"$work/wrong.cpp" <<'CPP'
#include <windows.h>
namespace vantrel {
LRESULT wrong_procedure(HWND w, UINT m, WPARAM p, LPARAM l) { return DefWindowProcA(w, m, p, l); }
LRESULT CALLBACK right_procedure(HWND w, UINT m, WPARAM p, LPARAM l) { return DefWindowProcA(w, m, p, l); }
}
int main() {
  HWND w = CreateWindowA("Static", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(vantrel::right_procedure));
  SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(vantrel::wrong_procedure));
  return 0;
}
CPP
"$prefix-g++" -O2 "$work/wrong.cpp" -o "$work/wrong.exe"
"$prefix-objdump" -d --no-show-raw-insn "$work/wrong.exe" >"$work/wrong-code"
stray_callbacks "$work/wrong.exe" "$work/wrong-code" >"$work/wrong-stray" 2>/dev/null
check "the check finds a window procedure that is not __stdcall" grep -q wrong_procedure "$work/wrong-stray"
check "and only that one" test "$(wc -l <"$work/wrong-stray")" -eq 1

# Exception handlers: the mark, and no code that registers one. Calibrated
# on a program that registers a handler as the platform's compilers do.
registers_handler() {  # image
  "$prefix-objdump" -d --no-show-raw-insn "$1" | grep -q -E '(mov[a-z]*[[:space:]]+[^,]+|pop[a-z]*[[:space:]]*),%fs:0x0$|pop[a-z]*[[:space:]]+%fs:0x0$'
}
registers_no_handler() { ! registers_handler "$1"; }
for image in "$dll" "$(dirname "$dll")/vantrel.exe"; do
  characteristics=$("$prefix-objdump" -p "$image" | awk '$1 == "DllCharacteristics" { print $2 }')
  check "$(basename "$image") is marked as registering no exception handler" \
    test $((0x${characteristics:-0} & 0x400)) -ne 0
  check "no code of $(basename "$image") registers one" registers_no_handler "$image"
done
cat >"$work/handler.c" <<'C'
#include <windows.h>
#include <excpt.h>
EXCEPTION_DISPOSITION __cdecl handler(struct _EXCEPTION_RECORD* r, void* f, struct _CONTEXT* c, void* d) {
  (void)r; (void)f; (void)c; (void)d;
  return ExceptionContinueSearch;
}
int main(void) {
  __try1(handler)
  Sleep(0);
  __except1
  return 0;
}
C
"$prefix-gcc" -O2 "$work/handler.c" -o "$work/handler.exe"
check "the check finds code that registers a handler" registers_handler "$work/handler.exe"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
