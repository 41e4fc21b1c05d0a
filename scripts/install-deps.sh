#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with (skips what is already there).
set -euo pipefail

# python3-ezdxf checks saved drawings in the tests; libdxflib-dev and the benchmark library are what
# bench/ measures against; clang builds the DXF reader's fuzz target. cairo and pango draw the host's
# pictures (PNGOUT, --render), with the WenQuanYi font for Chinese texts; poppler-utils' pdftoppm reads
# rendered PDFs back in the tests. libgsf writes the compound file around the host's .xls workbooks;
# python3-xlrd and LibreOffice read them back independently in the tests.
packages=(cmake ninja-build g++ clang libclang-rt-dev libboost-dev libgtest-dev libgmock-dev libbenchmark-dev libdxflib-dev
  python3-ezdxf libcairo2-dev libpango1.0-dev libpng-dev libfontconfig-dev fonts-wqy-microhei poppler-utils
  libgsf-1-dev python3-xlrd libreoffice-calc-nogui)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

run() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
if ! run apt-get install -y --no-install-recommends "${missing[@]}"; then
  run apt-get update
  run apt-get install -y --no-install-recommends "${missing[@]}"
fi
