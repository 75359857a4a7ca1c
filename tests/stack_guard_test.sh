#!/usr/bin/env bash
# The library's objects that read into fixed-size rooms on the stack carry
# a canary check: an overrun ends the process instead of running on.
#   stack_guard_test.sh NM CORE_LIBRARY
set -u
nm=$1 library=$2
guarded=$("$nm" -A "$library" 2>/dev/null | grep stack_chk_fail | sed 's/.*:\([^:]*\.obj\):.*/\1/' | sort -u)
failed=0
for object in sorter sort_engine events windows list_icon_virtual list_icon_find strings string_functions dates; do
  if ! grep -qx "$object.cpp.obj" <<<"$guarded"; then
    echo "FAILED: $object.cpp has no stack canary"
    failed=$((failed + 1))
  fi
done
echo "$(wc -l <<<"$guarded") objects guarded, $failed expected ones not"
[ "$failed" -eq 0 ]
