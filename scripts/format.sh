#!/usr/bin/env bash
# Formats the project's C++ files in place with clang-format, in the style of .clang-format:
# every .cpp and .h file git tracks or would add, the files scripts/test.sh checks.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if ! command -v clang-format >/dev/null; then
  source "$ROOT/scripts/packages.sh"
  ensure_packages clang-format
fi
cd "$ROOT"
git ls-files -co --exclude-standard -z '*.cpp' '*.h' | xargs -0 -r clang-format -i
