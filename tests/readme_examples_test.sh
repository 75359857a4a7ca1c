#!/usr/bin/env bash
# Every file in examples/ stands in the README word for word, so that what a
# reader copies is what the tests compile.
#   readme_examples_test.sh SOURCE_DIR
set -u
source=$1
readme=$(cat "$source/README.md")
passed=0 failed=0
for file in "$source"/examples/*; do
  example=$(cat "$file")
  if [[ "$readme" == *"$example"* ]]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $(basename "$file") is not in the README as it stands"
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
