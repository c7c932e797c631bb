#!/usr/bin/env bash
# Builds the program itself with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan-program/ and runs the short walk through its main paths
# (tests/app/ExplorerSmokeTest.cpp: start, menu, a refused click, setup opened
# and closed, SIGTERM) against it. Any report of either sanitizer, from the
# program or from the test, fails.
#   scripts/sanitize-program-test.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-asan-program}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -DTOVALI_SANITIZE=address,undefined -DTOVALI_BUILD_GUI=ON \
  -DTOVALI_BUILD_BENCH=OFF -DTOVALI_WERROR=ON "${launcher[@]}"
cmake --build "$build_dir" -j "$(nproc)" --target app_smoke_tests

reports=$(mktemp -d)
trap 'rm -rf "$reports"' EXIT
# GTK and WebKit keep memory to the end of the process by design, so the
# leak check stays off; memory errors and undefined behaviour are reported
# into $reports (one file per process) and stop the process at once.
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:detect_stack_use_after_return=1:log_path=$reports/asan
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan
status=0
(cd "$build_dir" && ctest --output-on-failure --timeout 600 -R '^ExplorerSmoke\.') || status=1
if compgen -G "$reports/*" >/dev/null; then
  echo "sanitizer reports:" >&2
  cat "$reports"/* >&2
  status=1
fi
exit $status
