#!/bin/sh
# The benchmarks measure the normal path only if their documents parse
# cleanly: writes small documents with gen_documents and checks that the
# parser accepts each with result 0 (no syntax error, no engine error).
# Usage: check-documents.sh GEN_DOCUMENTS TYPESWAP_CLI DIR
set -eu
gen=$1 cli=$2 dir=$3
rm -rf "$dir"
"$gen" "$dir" 1
status=0
for doc in latin sjis diagrams nested; do
  codepage=932
  [ "$doc" = latin ] && codepage=1252
  result=$("$cli" reductions --codepage "$codepage" "$dir/$doc.doc" | tail -n 1)
  if [ "$result" != "$(printf 'RESULT\t0')" ]; then
    echo "$doc.doc: $result" >&2
    status=1
  fi
done
rm -rf "$dir"
exit "$status"
