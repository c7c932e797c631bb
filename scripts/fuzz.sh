#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each one for a while,
# starting from its seed corpus in fuzz/corpus/<target>/. Fails on a crash, a
# leak, a hang or a broken contract, and prints the input that caused it.
#   scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# SECONDS_PER_TARGET defaults to 60; the targets default to all of them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_settings_copy fuzz_menu_scanner fuzz_admission fuzz_http_response
           fuzz_config_merge fuzz_text_lists fuzz_rules_lint fuzz_page_load_rules)
fi
build_dir=build-fuzz

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTOVALI_FUZZ=ON -DTOVALI_SANITIZE=address,undefined -DTOVALI_BUILD_GUI=OFF \
  -DTOVALI_BUILD_TESTS=OFF -DTOVALI_BUILD_BENCH=OFF -DTOVALI_WERROR=ON "${launcher[@]}"
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
for target in "${targets[@]}"; do
  echo "== $target: ${seconds} s"
  # New inputs go to a scratch copy of the corpus; the checked-in seeds stay.
  mkdir -p "$work/$target"
  if ! "$build_dir/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 -print_final_stats=1 -artifact_prefix="$work/$target-" \
      "$work/$target" "fuzz/corpus/$target" >"$work/$target.log" 2>&1; then
    tail -n 60 "$work/$target.log"
    for artifact in "$work/$target"-*; do
      [ -f "$artifact" ] || continue
      echo "-- input that failed ($artifact), as hex:"
      od -A d -t x1z -v "$artifact" | head -n 64
    done
    failed+=("$target")
  else
    grep -E '^stat::number_of_executed_units|^Done ' "$work/$target.log" || true
  fi
done
if ((${#failed[@]})); then
  echo "fuzz.sh: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz.sh: all targets ran clean"
