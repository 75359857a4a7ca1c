#!/usr/bin/env bash
# Two sessions started at once each get a display of their own, and the one
# that ends first does not take the other's display with it.
set -u
tools=${1:?usage: private_display_test.sh tools-folder}
first=$(mktemp) second=$(mktemp)
trap 'rm -f "$first" "$second"' EXIT

"$tools/private-display" sh -c 'echo "$DISPLAY"; sleep 1; xdpyinfo >/dev/null 2>&1 && echo alive' >"$first" &
one=$!
"$tools/private-display" sh -c 'echo "$DISPLAY"; sleep 3; xdpyinfo >/dev/null 2>&1 && echo alive' >"$second" &
two=$!
wait $one; first_status=$?
wait $two; second_status=$?

failures=0
check() { if eval "$1"; then :; else echo "FAILED: $2"; failures=$((failures + 1)); fi; }
check '[ $first_status -eq 0 ] && [ $second_status -eq 0 ]' "a session failed ($first_status, $second_status)"
check '[ "$(sed -n 1p "$first")" != "$(sed -n 1p "$second")" ]' "both sessions got display $(sed -n 1p "$first")"
check '[ "$(sed -n 2p "$first")" = alive ]' "the first session lost its display"
check '[ "$(sed -n 2p "$second")" = alive ]' "the second session lost its display when the first ended"
"$tools/private-display" false && check 'false' "a failing command's status was lost"

echo "$((4 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
