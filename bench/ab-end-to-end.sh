#!/bin/sh
# ab-end-to-end.sh: sets two builds of bench_end_to_end side by side on the
# whole job, to judge a speed change by the phase it touches. Each round
# runs sed over the files (as the benchmark does, so that the files are as
# warm for both), then each binary once into an empty folder; the order
# of the two alternates (A B, B A, ...), since the second of a pair runs
# faster here whatever it is. Prints, per binary, the median and the least
# of each figure of --measure-once, then the median over the rounds of B's
# figure over A's: the two of a round ran seconds apart, so their ratio
# holds up when the machine's speed drifts from round to round.
#
# Usage: bench/ab-end-to-end.sh [-n ROUNDS] [--codepage N] [--threads N]
#                               BINARY_A BINARY_B FILE...
#   -n ROUNDS     rounds (default 8)
#   --codepage N  the process code page (default 1252)
#   --threads N   cores the files load on (default 1; a job of several
#                 files uses every core as the command line does)
# Figures: load, table, map and write are processor seconds of the calling
# thread; wall and cpu (every thread's) cover the whole job.
set -eu
rounds=8
codepage=1252
threads=1
while [ $# -gt 0 ]; do
  case "$1" in
    -n) rounds=$2; shift 2 ;;
    --codepage) codepage=$2; shift 2 ;;
    --threads) threads=$2; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -ge 3 ] || { echo "usage: $0 [options] BINARY_A BINARY_B FILE..." >&2; exit 2; }
a=$1 b=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {  # BINARY RESULTS FILE...
  binary=$1 results=$2
  shift 2
  for file in "$@"; do sed -e 's/<F3/<F13/g' "$file" >"$work/sed.out"; done
  rm -rf "$work/out" && mkdir "$work/out"
  "$binary" --measure-once "$codepage" "$threads" "$work/out" "$@" >>"$results"
}

round=0
while [ $round -lt "$rounds" ]; do
  if [ $((round % 2)) -eq 0 ]; then
    run "$a" "$work/a" "$@"; run "$b" "$work/b" "$@"
  else
    run "$b" "$work/b" "$@"; run "$a" "$work/a" "$@"
  fi
  round=$((round + 1))
done

for side in a b; do
  if [ $side = a ]; then echo "== A: $a"; else echo "== B: $b"; fi
  field=1
  for name in load table map write wall cpu; do
    sort -g -k$field,$field "$work/$side" |
      awk -v k=$field -v name=$name '{ v[NR] = $k } END { printf "  %-6s median %.4f  least %.4f\n", name, v[int((NR + 1) / 2)], v[1] }'
    field=$((field + 1))
  done
done
echo "== B / A, median of the rounds"
field=1
for name in load table map write wall cpu; do
  paste -d' ' "$work/a" "$work/b" |
    awk -v k=$field -v name=$name '{ n = NF / 2; if ($k > 0) print $(k + n) / $k }' | sort -g |
    awk -v name=$name '{ v[NR] = $1 } END { if (NR) printf "  %-6s %.3f\n", name, v[int((NR + 1) / 2)] }'
  field=$((field + 1))
done
