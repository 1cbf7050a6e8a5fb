#!/bin/sh
# Runs typeswap-cli on the bundled sample documents.
set -eu
cli=${1:-build/typeswap-cli}
here=$(dirname "$0")
echo "== typeswap-cli --version"
"$cli" --version
for doc in "$here"/*.doc; do
  [ -e "$doc" ] || continue
  echo "== tokens of $doc"
  "$cli" tokens "$doc" | head -n 40
done
