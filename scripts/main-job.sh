#!/usr/bin/env bash
# Builds the runner and the module, then runs the example command script through them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
build/bin/planroad --script examples/first-session.scr
