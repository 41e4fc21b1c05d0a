#!/usr/bin/env bash
# Builds everything and runs every test, then runs the DXF readers' fuzzers briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The fuzz build: clang, everything instrumented (see dxf/CMakeLists.txt); only the fuzz targets and what
# they link are built, and each fuzzer makes its fixed number of runs from a fixed seed on the seeds and the
# sample drawings (dxf/fuzz/README.md).
cmake -S . -B build-fuzz -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLANROAD_FUZZ=ON -DPLANROAD_BENCH=OFF
cmake --build build-fuzz --target dxf_fuzz
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j "$(nproc)"
