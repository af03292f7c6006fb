#!/usr/bin/env bash
# Lines of test code (tests/ without fixtures/ and support/) per line of product code (src/).
cd "$(dirname "$0")/.."
count() { find "$@" -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | wc -l; }
t=$(count tests -not -path '*/fixtures/*' -not -path '*/support/*')
s=$(count src)
awk -v t="$t" -v s="$s" 'BEGIN { printf "tests %d / src %d = %.2f\n", t, s, t / s }'
