#!/usr/bin/env bash
# Every file in examples/ stands word for word in a host's guide under docs/,
# so that what a reader copies from the guide is what the tests compile,
# build and run; and the README links to every one of them.
#   docs_examples_test.sh SOURCE_DIR
set -u
source=$1
guides=$(cat "$source"/docs/hosts/*.md "$source"/docs/command-line.md)
readme=$(cat "$source/README.md")
passed=0 failed=0
for file in "$source"/examples/*; do
  example=$(cat "$file") name=$(basename "$file")
  if [[ "$guides" == *"$example"* ]]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $name is not in a guide under docs/ as it stands"
    failed=$((failed + 1))
  fi
  if [[ "$readme" == *"(examples/$name)"* ]]; then
    passed=$((passed + 1))
  else
    echo "FAILED: the README does not link to examples/$name"
    failed=$((failed + 1))
  fi
done
lines=$(wc -l <"$source/README.md")
quick_start=$(grep -n '^## Quick start' "$source/README.md" | cut -d: -f1)
if [ "$lines" -le 250 ] && [ -n "$quick_start" ] && [ "$quick_start" -le 100 ]; then
  passed=$((passed + 1))
else
  echo "FAILED: the README has $lines lines (at most 250) and its quick start at line ${quick_start:-none} (by 100)"
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
