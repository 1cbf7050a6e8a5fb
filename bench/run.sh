#!/bin/sh
# Runs every benchmark on large generated documents: make bench calls it with
# the build directory. Each bench_* program takes "[--codepage N] FILE...".
set -eu
build=${1:-build}
data="$build/bench/documents"
if [ ! -s "$data/latin.doc" ] || [ ! -s "$data/sjis.doc" ]; then
  echo "== generating documents in $data"
  "$build/bench/gen_documents" "$data" "${TYPESWAP_BENCH_MB:-40}"
fi
for program in "$build"/bench/bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" "$data/latin.doc" --codepage 932 "$data/sjis.doc"
done
