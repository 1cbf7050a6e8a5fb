#!/bin/sh
# Pictures of the wizard's windows, taken under a virtual X display: the
# splash, page A filled with the sample documents, the about box, the font
# files' open dialog (Qt's own), the Append/Replace question, page B after
# loading (with a path wider than its log, also scrolled to the ends of its
# lines) and its help window, page C with a few rows mapped, both
# multiple-change dialogs, Show Filenames and a finished Run.
# Usage: tools/screenshots.sh [PROGRAM] [FOLDER]
#   PROGRAM  typeswap with the walk built in (default: build/ts_screenshots)
#   FOLDER   where the PNG files go (default: build/screenshots)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build/ts_screenshots}
folder=${2:-$root/build/screenshots}

# The output directory must differ from the samples' own; Qt wants a
# private runtime folder when the session has none.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
output="$work/out"
mkdir -p "$output" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work/runtime}"

# The samples are ASCII or Shift-JIS, so they are read in code page 932.
# Sample documents: font*.doc serve as font files, the others are the
# translated files, copied into a folder with a long name so that page B's
# log holds lines wider than the log. Selection texts end every path with
# ";".
long="$work/Translated documents for the Japanese edition of the user manual, second revision"
mkdir -p "$long"
translated=""
fonts=""
for doc in "$root"/examples/*.doc; do
  [ -e "$doc" ] || continue
  case $(basename "$doc") in
    font*) fonts="$fonts$doc;" ;;
    *) cp "$doc" "$long/" && translated="$translated$long/$(basename "$doc");" ;;
  esac
done

mkdir -p "$folder"
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$program" --codepage 932 --screenshots "$folder" "$translated" "$fonts" "$output"
ls "$folder"/*.png
