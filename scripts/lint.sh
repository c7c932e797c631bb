#!/usr/bin/env bash
# The style gates: the layers' includes (scripts/check-layers.py), the
# message template and catalogues (scripts/check-translations.sh), clang-format
# over the C++ sources (no changes allowed) and clang-tidy (.clang-tidy) over
# src/ at zero findings. clang-tidy reads the
# compile commands of a configured build tree, build/ by default:
#   scripts/lint.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

echo "== layers"
python3 scripts/check-layers.py

echo "== translations"
bash scripts/check-translations.sh

echo "== clang-format"
git ls-files -z --cached --others --exclude-standard -- \
    'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
    'bench/*.cpp' 'bench/*.h' |
  xargs -0 clang-format --dry-run --Werror

echo "== clang-tidy"
command -v run-clang-tidy >/dev/null || { echo "lint.sh: run-clang-tidy is missing" >&2; exit 2; }
if [ ! -f "$build_dir/compile_commands.json" ]; then
  echo "lint.sh: $build_dir/compile_commands.json is missing; configure $build_dir first" >&2
  exit 2
fi
# run-clang-tidy exits 0 even when checks warn: its output is the verdict.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
run-clang-tidy -p "$build_dir" -j "$(nproc)" -quiet "$PWD/src/.*\.cpp\$" 2>&1 |
  sed 's/\x1b\[[0-9;]*m//g' >"$log" || true
if grep -E -A3 '(warning|error): ' "$log"; then
  echo "lint.sh: clang-tidy findings above" >&2
  exit 1
fi
echo "clang-tidy: no findings"
