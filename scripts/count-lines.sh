#!/usr/bin/env bash
# Non-blank, non-comment C++ lines of the tests (tests/, fuzz targets included)
# against those of the program (everything outside tests/ and bench/).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
count() { cat "$@" /dev/null | grep -v '^\s*$' | grep -cv '^\s*//'; }
mapfile -t program < <(git ls-files -co --exclude-standard '*.cpp' '*.h' | grep -v '^tests/' | grep -v '^bench/')
mapfile -t tests < <(git ls-files -co --exclude-standard 'tests/*.cpp' 'tests/*.h')
p=$(count "${program[@]}")
t=$(count "${tests[@]}")
echo "program $p lines, tests $t lines, tests/program $(awk "BEGIN { printf \"%.2f\", $t / $p }")"
