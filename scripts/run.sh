#!/usr/bin/env bash
# Sets the project up (see setup.sh) and starts the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
if [[ -x "$BUILD_DIR/bin/wienbridge" ]]; then
  exec "$BUILD_DIR/bin/wienbridge" "$@"
fi
exec "$BUILD_DIR/bin/wienbridge-sim" "$@"
