#!/bin/sh
# compare-with-reference.sh: checks that a change kept the reader's and the
# job's observable results byte for byte. Builds typeswap-cli at a reference
# commit (a detached git worktree, built with ccache and kept for the next
# call) and compares with the current build: tokens, reductions, the load
# log and models, the mapping table, the output of `run` with a map that
# changes every row, and the generated lexer and parser tables.
#
# Documents: /work/shared/corpus (or $TYPESWAP_CORPUS) when present,
# examples/, the golden and test data files under tests/, and documents
# written by bench/gen_documents. Each runs under code pages 1252 and 932.
#
# Usage: tools/compare-with-reference.sh [options] [COMMIT]
#   COMMIT            reference commit (default HEAD: compare uncommitted
#                     work with the last commit; after committing, HEAD~1)
#   --build DIR       the current build (default build); built first
#   --ref-build DIR   take this build as the reference instead of building
#   --mb N            size of the larger generated document (default 4; 0: none)
#   --keep            keep the outputs (printed path) even when all agree
# Exit status: 0 all equal, 1 a difference (the first lines of each diff
# are printed), 2 usage or build failure.
set -eu

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-/work}" CCACHE_NOHASHDIR=1 CCACHE_DIR="${CCACHE_DIR:-/work/.ccache}"
root=$(cd "$(dirname "$0")/.." && pwd)
build=build
refBuild=
commit=HEAD
mb=4
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build=$2; shift 2 ;;
    --ref-build) refBuild=$2; shift 2 ;;
    --mb) mb=$2; shift 2 ;;
    --keep) keep=1; shift ;;
    -h|--help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) commit=$1; shift ;;
  esac
done
case "$build" in /*) ;; *) build="$root/$build" ;; esac
jobs=$(nproc 2>/dev/null || echo 2)
[ "$jobs" -gt 2 ] && jobs=2

ccache=$(command -v ccache || true)
configure_and_build() {  # SOURCE BUILD TARGET...
  src=$1 dir=$2; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    # ccache where the machine has it; a fresh machine may not.
    cmake -S "$src" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      ${ccache:+-DCMAKE_CXX_COMPILER_LAUNCHER="$ccache"} >/dev/null
  fi
  for target in "$@"; do cmake --build "$dir" -j"$jobs" --target "$target" >/dev/null; done
}

echo "== current build: $build"
configure_and_build "$root" "$build" typeswap-cli gen_documents || { echo "current build failed" >&2; exit 2; }

if [ -z "$refBuild" ]; then
  hash=$(git -C "$root" rev-parse --verify "$commit^{commit}") || exit 2
  refRoot="$build/reference/$hash"
  # Built inside its worktree, as build/ is here, so that ccache finds the
  # same relative paths and reuses the current build's objects.
  refBuild="$refRoot/src/build"
  if [ ! -x "$refBuild/typeswap-cli" ]; then
    # Only the newest reference is kept: older ones leave the repository's
    # list of worktrees.
    for old in "$build/reference"/*/src; do
      [ -d "$old" ] || continue
      git -C "$root" worktree remove --force "$old" >/dev/null 2>&1 || true
      rm -rf "$(dirname "$old")"
    done
    echo "== building the reference $hash in $refRoot"
    if [ ! -d "$refRoot/src" ]; then
      mkdir -p "$refRoot"
      git -C "$root" worktree add --detach "$refRoot/src" "$hash" >/dev/null 2>&1
    fi
    configure_and_build "$refRoot/src" "$refBuild" typeswap-cli || { echo "reference build failed" >&2; exit 2; }
  fi
fi
case "$refBuild" in /*) ;; *) refBuild="$root/$refBuild" ;; esac
echo "== reference build: $refBuild"

work=$(mktemp -d "${TMPDIR:-/tmp}/compare-with-reference.XXXXXX")
mkdir -p "$work/ref" "$work/cur" "$work/docs" "$work/out"
different=0

# Documents, one path a line.
list="$work/documents"
: >"$list"
corpus=${TYPESWAP_CORPUS:-/work/shared/corpus}
[ -d "$corpus" ] && find "$corpus" -maxdepth 1 -type f \( -iname '*.doc' -o -iname '*.sty' \) | sort >>"$list"
find "$root/examples" "$root/tests" -type f \( -iname '*.doc' -o -iname '*.sty' \) | sort >>"$list"
if [ "$mb" -gt 0 ]; then
  "$build/bench/gen_documents" "$work/docs" "$mb"
  ls "$work/docs"/*.doc >>"$list"
fi
fonts="$root/examples/fonts-ja.doc"

# run_both KEY COMMAND ARGS...: runs the command (a typeswap-cli command
# line, "@CLI" standing for the program) with each build; stdout, stderr,
# the exit status and any files written to $work/out go into KEY.
run_both() {
  rkey=$1; shift
  for side in ref cur; do
    if [ $side = ref ]; then cli="$refBuild/typeswap-cli"; else cli="$build/typeswap-cli"; fi
    rm -rf "$work/out"; mkdir -p "$work/out"
    status=0
    "$cli" "$@" >"$work/$side/$rkey.stdout" 2>"$work/$side/$rkey.stderr" || status=$?
    echo "$status" >"$work/$side/$rkey.status"
    if [ -n "$(ls -A "$work/out")" ]; then
      mkdir -p "$work/$side/$rkey.files"
      cp -p "$work/out"/* "$work/$side/$rkey.files/"
    fi
  done
}

# A font map giving every row of a table another family and a size one
# point larger, so that every reference is rewritten.
map_changing_every_row() {  # TABLE_OUTPUT MAP
  perl -ne '
    BEGIN { print "KORVIN Typeswap 1.00 for Interleaf;\r\n" }
    next if $. == 1; chomp;
    my @f = map { my $t = $_; $t =~ s/\\x([0-9A-Fa-f]{2})/chr(hex $1)/ge;
                  $t =~ s/\\t/\t/g; $t =~ s/\\n/\n/g; $t =~ s/\\r/\r/g; $t =~ s/\\\\/\\/g; $t } split /\t/, $_, -1;
    next if @f < 5;
    my $size = int($f[2] || 0) + 1;
    print "$f[0];;$f[1];$f[2];$f[3];$f[4];$f[1]X;$size;$f[3];$f[4];\r\n";
  ' "$1" >"$2"
}

n=0
while IFS= read -r doc; do
  n=$((n + 1))
  for cp in 1252 932; do
    key="$n.$cp"
    run_both "$key.tokens" tokens --codepage "$cp" "$doc"
    run_both "$key.reductions" reductions --codepage "$cp" --trace "$doc"
    run_both "$key.load" load --codepage "$cp" --translated "$doc"
    run_both "$key.table" table --codepage "$cp" --translated "$doc"
    map_changing_every_row "$work/ref/$key.table.stdout" "$work/$key.map"
    run_both "$key.run" run --codepage "$cp" --translated "$doc" --fonts "$fonts" --out "$work/out" \
      --map "$work/$key.map"
  done
  echo "$n	$doc" >>"$work/keys"
done <"$list"

# Jobs of several files: numbering, joined models, one output per file.
set --
while IFS= read -r doc; do
  case "$doc" in "$fonts") ;; *) set -- "$@" --translated "$doc" ;; esac
done <"$list"
for cp in 1252 932; do
  run_both "all.$cp.load" load --codepage "$cp" "$@" --fonts "$fonts"
  run_both "all.$cp.table" table --codepage "$cp" "$@"
  map_changing_every_row "$work/ref/all.$cp.table.stdout" "$work/all.$cp.map"
  run_both "all.$cp.run" run --codepage "$cp" "$@" --fonts "$fonts" --out "$work/out" --map "$work/all.$cp.map"
done
run_both "demo.run" run --codepage 932 --translated "$root/examples/brochure.doc" \
  --translated "$root/examples/manual-ja.doc" --translated "$root/examples/tracked.doc" \
  --fonts "$fonts" --out "$work/out" --map "$root/examples/demo-map.txt"

# The generated tables.
for table in interleaf.lextable interleaf.yacctable; do
  cp "$refBuild/resources/$table" "$work/ref/$table"
  cp "$build/resources/$table" "$work/cur/$table"
done

if diff -r -q "$work/ref" "$work/cur" >"$work/differences"; then
  echo "== equal: $(ls "$work/cur" | wc -l) results on $n documents (keys in $work/keys)"
else
  different=1
  echo "== DIFFERENT ($(wc -l <"$work/differences") results; documents by number in $work/keys):"
  cat "$work/differences"
  grep '^Files' "$work/differences" | head -5 | while read -r _ a _ b _; do
    echo "-- $a"
    diff "$a" "$b" | head -10 || true
  done
fi
if [ "$different" = 0 ] && [ "$keep" = 0 ]; then rm -rf "$work"; else echo "== outputs kept in $work"; fi
exit "$different"
