#!/bin/sh
# The whole job on the bundled samples: the mapping table before and after
# the bundled font map, then typeswap-cli run writing the rewritten
# documents into out/demo, and what changed. Called with the CLI's path.
set -eu
cli=${1:-build/typeswap-cli}
here=$(dirname "$0")
out="$here/../out/demo"
tab=$(printf '\t')
# Shift-JIS names are printed in the terminal's character set (escaped
# where the locale cannot show them).
show() {
  if command -v column >/dev/null 2>&1; then column -t -s "$tab"; else cat; fi
}
set -- --codepage 932 --translated "$here/brochure.doc" --translated "$here/manual-ja.doc" \
  --translated "$here/tracked.doc"

echo "== $("$cli" --version)"
echo
echo "== the mapping table of the samples"
"$cli" table "$@" | show
echo
echo "== the same table with the font map examples/demo-map.txt applied"
"$cli" table "$@" --map "$here/demo-map.txt" | show
echo
echo "== where the font of the class \"body\" is used, from typeswap-cli report"
"$cli" report "$@" --map "$here/demo-map.txt" 2>/dev/null | awk -F "$tab" 'NR == 1 || $5 == "body"' | show
echo
echo "== typeswap-cli run into out/demo (tracked.doc is refused: it tracks revisions)"
rm -rf "$out"
mkdir -p "$out"
echo "-- first as a dry run: what would change (the start of it), nothing written"
"$cli" run "$@" --fonts "$here/fonts-ja.doc" --out "$out" --map "$here/demo-map.txt" --dry-run --quiet \
  2>/dev/null | head -16 || true
echo "-- then for real"
"$cli" run "$@" --fonts "$here/fonts-ja.doc" --out "$out" --map "$here/demo-map.txt"
echo
echo "== what changed in brochure.doc (the copy has CR LF line ends)"
diff --strip-trailing-cr "$here/brochure.doc" "$out/brochure.doc" || true
echo
echo "== the rewritten documents loaded again: the new fonts are their current fonts"
"$cli" table --codepage 932 --translated "$out/brochure.doc" --translated "$out/manual-ja.doc" | show
