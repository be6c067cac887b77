#!/usr/bin/env bash
# Non-blank lines of C++ code in src/ and tests/ (test code only: fixtures
# and case files are data) and the ratio of the two.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" \( -name '*.cpp' -o -name '*.h' \) -not -path 'tests/fixtures/*' -not -path 'tests/cases/*' \
    -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$'; }
src=$(count src)
tests=$(count tests)
printf 'src/    %6d non-blank lines\n' "$src"
printf 'tests/  %6d non-blank lines (code; fixtures and cases not counted)\n' "$tests"
awk -v s="$src" -v t="$tests" 'BEGIN { printf "tests / src = %.0f%%\n", 100 * t / s }'
