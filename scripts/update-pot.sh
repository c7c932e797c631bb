#!/usr/bin/env bash
# Makes the message template po/tovali-explorer.pot from the texts of src/
# marked with tr(), tr_plural() and N_() (src/core/base/Translate.h):
#   scripts/update-pot.sh [OUTPUT]   (default po/tovali-explorer.pot)
# The template names the files a text is in, not the lines, so that it
# changes only when a text does.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-po/tovali-explorer.pot}
version=$(sed -n 's/^project(TovaliExplorer VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"${output}.files"
trap 'rm -f "${output}.files"' EXIT
xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=tr --keyword=tr_plural:1,2 \
  --keyword=N_ --add-comments=TRANSLATORS: --add-location=file --sort-by-file \
  --package-name="Tovali Explorer" --package-version="$version" \
  --msgid-bugs-address="maintainers@tovali.example.org" \
  --copyright-holder="Tovali Explorer developers" \
  --files-from="${output}.files" --output="$output"
