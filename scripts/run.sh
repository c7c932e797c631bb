#!/usr/bin/env bash
# Installs what is missing, builds, serves the sample home site on the
# primary site's default address and starts Tovali Explorer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/tovali-explorer ]; then
  python3 site/serve.py --port 8470 --root site >/dev/null 2>&1 &
  server=$!
  trap 'kill $server 2>/dev/null || true' EXIT
  build/tovali-explorer
else
  echo "Built the core and tovali-settings into build/ (the browser window is not built yet)."
fi
