#!/usr/bin/env bash
# Builds the runner and the module, then runs the example command script on the sample road drawing and
# saves the result to out/road-sample-result.dxf.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p out
build/bin/planroad examples/road-sample.dxf --script examples/first-session.scr --save out/road-sample-result.dxf
echo "saved out/road-sample-result.dxf"
