#!/usr/bin/env bash
# The quality gates CI runs after the test suite: format and clang-tidy
# (scripts/lint.sh, over build/ as scripts/test.sh configured it), the core
# tests under AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize-test.sh), the program itself under both sanitizers on a
# short walk through its main paths (scripts/sanitize-program-test.sh) and a
# short run of every fuzz target
# (scripts/fuzz.sh).
#   scripts/gates.sh [FUZZ_SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ ! -f build/compile_commands.json ]; then scripts/build.sh -DTOVALI_WERROR=ON; fi
bash scripts/lint.sh build
bash scripts/sanitize-test.sh build-asan
bash scripts/sanitize-program-test.sh build-asan-program
bash scripts/fuzz.sh "${1:-60}"
