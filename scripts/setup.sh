#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine is missing for this project, then
# configures and builds it into build/. Sourced by run.sh and test.sh.
# SETUP_TARGETS builds only those targets (e.g. wienbridge-sim), not the whole tree.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core fonts-liberation
  locales clang-format
)

source "$ROOT/scripts/packages.sh"
ensure_packages "${PACKAGES[@]}"

# The number reading tests run again under Italian, whose C library reads "," as
# the decimal point.
ensure_italian_locale

JOBS="$(nproc 2>/dev/null || echo 2)"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_EXTRA_ARGS:-}
cmake --build "$BUILD_DIR" -j "$JOBS" ${SETUP_TARGETS:+--target $SETUP_TARGETS}
