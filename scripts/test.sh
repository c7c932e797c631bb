#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test.
# The tests of the real program start their own Xvfb and local servers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DTOVALI_WERROR=ON
# A quick smoke run of the benchmarks: proves they still run; figures come
# from a release build (see docs/benchmarks.md).
if [ -x build/bench/run-smoke.sh ]; then build/bench/run-smoke.sh; fi
cd build
ctest --output-on-failure -j2 --timeout 600
