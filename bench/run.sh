#!/bin/sh
# Runs every benchmark on large generated documents and prints one table:
# each figure beside what cat and sed take on the same file in the same run,
# with its target. make bench calls it with the build directory. Each
# bench_* program takes "[--codepage N] FILE..." and prints tab-separated
# rows: ROW, what, file, bytes, processor s, wall s, peak / file size, note.
set -eu
build=${1:-build}
data="$build/bench/documents"
if [ ! -s "$data/latin.doc" ] || [ ! -s "$data/diagrams.doc" ] || [ ! -s "$data/nested.doc" ]; then
  echo "== generating documents in $data" >&2
  "$build/bench/gen_documents" "$data" "${TYPESWAP_BENCH_MB:-40}"
fi
# A second, smaller set for the job of several files.
half="$data/half"
if [ ! -s "$half/sjis.doc" ] || [ ! -s "$half/diagrams.doc" ]; then
  echo "== generating documents in $half" >&2
  "$build/bench/gen_documents" "$half" "$(( ${TYPESWAP_BENCH_MB:-40} / 2 ))"
fi
rows=$(mktemp)
trap 'rm -f "$rows"' EXIT

# The cores of a virtual machine need not run alike: on this one, either
# core of the two at times ran the same work (sed too) half as slow again
# as the other, for seconds to minutes, with no time stolen that the guest
# can see. So each program of one thread, with the cat and sed it runs
# beside it, runs on the core that has just run a short calibration (sed
# over sjis.doc, best of three) fastest; the job of several files keeps
# every core. TYPESWAP_BENCH_CPU=N chooses the core, "any" none.
cores=""
pick_core() {  # sets core, and adds what the calibration took to cores
  core=${TYPESWAP_BENCH_CPU:-}
  [ -z "$core" ] && command -v taskset >/dev/null 2>&1 || return 0
  fastest="" times=""
  for c in $(seq 0 $(( $(nproc) - 1 ))); do
    least=""
    for i in 1 2 3; do
      start=$(date +%s%N)
      # A core outside this process's set is no choice.
      taskset -c "$c" sed -e 's/<F3/<F13/g' "$data/sjis.doc" >/dev/null 2>&1 || continue 2
      took=$(( $(date +%s%N) - start ))
      if [ -z "$least" ] || [ "$took" -lt "$least" ]; then least=$took; fi
    done
    times="$times/$(awk -v ns="$least" 'BEGIN { printf "%.3f", ns / 1e9 }')"
    if [ -z "$fastest" ] || [ "$least" -lt "$fastest" ]; then fastest=$least; core=$c; fi
  done
  cores="$cores $1 on $core (${times#/} s),"
}
for name in baselines lex parse load wizard_load end_to_end mapping_list; do
  program="$build/bench/bench_$name"
  if [ ! -x "$program" ]; then
    # The wizard's benchmarks need Qt, which the core does without.
    case "$name" in wizard_load|mapping_list) continue ;; esac
    echo "$program: not built" >&2; exit 1
  fi
  echo "== $(basename "$program")" >&2
  pick_core "$name"
  pin=""
  if [ -n "$core" ] && [ "$core" != any ]; then pin="taskset -c $core"; fi
  # The whole job needs references to rewrite, which nested.doc lacks.
  set -- "$data/latin.doc" --codepage 932 "$data/sjis.doc" "$data/diagrams.doc"
  case "$program" in *end_to_end) ;; *) set -- "$@" "$data/nested.doc" ;; esac
  $pin "$program" "$@" | grep '^ROW' >>"$rows"
done
# One job of four files (Shift-JIS ones, so that every file reads in one
# code page), loaded on every core, beside sed over the same files.
echo "== bench_end_to_end --job" >&2
"$build/bench/bench_end_to_end" --job --codepage 932 "$data/sjis.doc" "$data/diagrams.doc" "$half/sjis.doc" "$half/diagrams.doc" |
  grep '^ROW' >>"$rows"

echo "Machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) (processor time is the steadier figure)"
[ -z "$cores" ] || echo "Cores (sed over sjis.doc on each):${cores%,}"
awk -F '\t' '
  function mb(bytes) { return bytes / 1048576 }
  # The target of a row, and whether it is met: "" when it has none.
  function target(what, file, size, cpu, wall, peak,   speed) {
    speed = mb(size) / cpu
    # nested.doc measures linearity in depth, not throughput: it holds
    # four times as many tokens per byte as the other documents.
    if (file == "nested.doc" && what ~ /^lex/) return check(cpu < 1, "< 1 s")
    if (file == "nested.doc" && what == "load (driver)") return check(cpu < 1 && peak <= 3, "< 1 s, peak <= 3x")
    if (what == "lex in memory") return file == "latin.doc" ? check(speed >= 600, ">= 600 MB/s") : check(speed >= 400, ">= 400 MB/s")
    if (what == "lex+parse in memory") return check(speed >= 200, ">= 200 MB/s")
    if (what == "load (driver)") return check(speed >= 150 && peak <= 3, ">= 150 MB/s, peak <= 3x")
    if (what == "load (wizard pump)") return check(cpu <= 1.2 * noPumpCpu[file], "<= 1.2x no pump")
    if (what ~ /^page C (scroll|select)/) return check(wall <= 0.016, "every frame <= 16 ms")
    if (what == "end to end") return check(cpu <= 1.5 * sedBesideCpu[file] && peak <= 3, "<= 1.5x sed, peak <= 3x")
    if (what == "end to end (job)") return check(wall <= sedWall[file], "wall <= sed wall")
    return ""
  }
  function check(ok, text) { return text (ok ? "  met" : "  NOT MET") }
  { row_what[NR] = $2; row_file[NR] = $3; row_bytes[NR] = $4; row_cpu[NR] = $5; row_wall[NR] = $6; row_peak[NR] = $7; row_note[NR] = $8
    if ($2 == "cat") { catWall[$3] = $6 }
    if ($2 == "sed") { sedCpu[$3] = $5; sedWall[$3] = $6 }
    # The whole job is judged beside sed run in turns with it.
    if ($2 == "sed beside the job") { sedBesideCpu[$3] = $5 }
    if ($2 == "load (no pump)") { noPumpCpu[$3] = $5 } }
  END {
    printf "%-20s %-12s %7s %10s %8s %8s %8s %8s %6s  %s\n", "measurement", "file", "MB", "MB/s cpu", "cpu s", "wall s",
           "x cat", "x sed", "peak", "target"
    for (i = 1; i <= NR; ++i) {
      f = row_file[i]
      xcat = (catWall[f] > 0) ? sprintf("%.1f", row_wall[i] / catWall[f]) : "-"
      sed = (row_what[i] == "end to end") ? sedBesideCpu[f] : sedCpu[f]
      xsed = (sed > 0) ? sprintf("%.2f", row_cpu[i] / sed) : "-"
      printf "%-20s %-12s %7.1f %10.1f %8.3f %8.3f %8s %8s %6s  %s\n", row_what[i], f, mb(row_bytes[i]),
             (row_cpu[i] > 0 ? mb(row_bytes[i]) / row_cpu[i] : 0), row_cpu[i], row_wall[i], xcat, xsed,
             (row_peak[i] > 0 ? sprintf("%.2fx", row_peak[i]) : ""), target(row_what[i], f, row_bytes[i], row_cpu[i], row_wall[i], row_peak[i])
    }
    print ""
    print "x cat: wall time over cat'"'"'s wall time; x sed: processor time over sed'"'"'s. Notes:"
    for (i = 1; i <= NR; ++i) if (row_note[i] != "") printf "  %s, %s: %s\n", row_what[i], row_file[i], row_note[i]
  }' "$rows"
