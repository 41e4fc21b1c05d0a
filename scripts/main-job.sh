#!/usr/bin/env bash
# Builds the runner and the module, then checks the corner-cut annotations of the sample road drawing
# (examples/corner-check.scr): the check's list goes to the command line and the drawing, with the
# errors marked on layer FL_ERROR_切角标注检测, is saved to out/road-sample-result.dxf.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p out
build/bin/planroad examples/road-sample.dxf --script examples/corner-check.scr --user-data out/user-data \
  --save out/road-sample-result.dxf
echo "saved out/road-sample-result.dxf"
