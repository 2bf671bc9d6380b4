#!/usr/bin/env bash
# `make test-windows`: the build for Windows tested under Wine. Builds what its tests take from the
# Linux build (ktv-sim, and the test files that srec_cat and objcopy write), cross-builds
# quarvel-cli.exe and the suites that need neither Qt nor a pseudo-terminal, and runs them all
# with CTest through Wine, the loads of quarvel-cli.exe into ktv-sim through Wine's COM1 last.
# scripts/test-windows.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${1:-2}

bash scripts/install-deps.sh windows
cmake --preset default
cmake --build --preset default -j "$jobs" --target ktv-sim image_fixtures job_programs
cmake --preset windows -DQUARVEL_HOST_BUILD_DIR="$PWD/build/default"
cmake --build --preset windows -j "$jobs"

. scripts/wine-prefix.sh build/windows
trap wine_prefix_stop EXIT
ctest --preset windows -j "$jobs"
