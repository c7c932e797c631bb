#!/usr/bin/env bash
# The translation gates: po/tovali-explorer.pot is what scripts/update-pot.sh
# makes from src/ now (POT-Creation-Date aside), and every catalogue named in
# po/LINGUAS passes `msgfmt --check`, holds every text of the template and
# has no fuzzy or untranslated entry.
#   scripts/check-translations.sh
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
fresh=$(mktemp)
trap 'rm -f "$fresh" "$fresh.files"' EXIT
scripts/update-pot.sh "$fresh" 2>/dev/null
if ! diff -u -I '^"POT-Creation-Date:' po/tovali-explorer.pot "$fresh"; then
  echo "check-translations: po/tovali-explorer.pot is out of date; run scripts/update-pot.sh" \
       "(or the pot target) and merge it into the catalogues (docs/translating.md)" >&2
  status=1
fi
while read -r lang; do
  case "$lang" in ''|'#'*) continue ;; esac
  po=po/$lang.po
  stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po" 2>&1) || {
    echo "$stats" >&2
    echo "check-translations: $po does not pass msgfmt --check" >&2
    status=1
    continue
  }
  echo "$po: $stats"
  if grep -Eq 'fuzzy|untranslated' <<<"$stats"; then
    echo "check-translations: $po has fuzzy or untranslated entries" >&2
    status=1
  fi
  if ! msgcmp "$po" po/tovali-explorer.pot; then
    echo "check-translations: $po lacks texts of the template" >&2
    status=1
  fi
done <po/LINGUAS
exit "$status"
