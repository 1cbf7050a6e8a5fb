#!/bin/sh
# Warns about the fun: entries of the coverage ignore list that name no
# function of a fuzz target: the list names functions by their mangled
# names, and one renamed or given other parameters would be traced again
# without a word, each run slower for it.
# Usage: check-ignore-list.sh IGNORE_LIST FUZZ_TARGET
set -eu
list=$1
target=$2
symbols=$(mktemp)
trap 'rm -f "$symbols"' EXIT
nm "$target" | awk '{ print $NF }' >"$symbols"
sed -n 's/^fun://p' "$list" | while IFS= read -r pattern; do
  # The list's patterns are globs; * is the only wildcard it uses.
  regex=$(printf '%s' "$pattern" | sed 's/[.[\^$]/\\&/g; s/\*/.*/g')
  if ! grep -qx -- "$regex" "$symbols"; then
    echo "warning: $list: fun:$pattern names no function of $(basename "$target")" >&2
  fi
done
