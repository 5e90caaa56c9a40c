#!/usr/bin/env bash
# Runs the panel's Win32 test under wine64 on a virtual X display, and keeps the pictures of the
# dialog in each language as PNG files in OUTPUT_DIR.
#   run_panel_test.sh WINE_RUN TEST_EXE OUTPUT_DIR
set -euo pipefail
wine_run=$1
test_exe=$2
out=$3
mkdir -p "$out"
rm -f "$out"/panel-*.bmp "$out"/panel-*.png
# Wine takes the system's language from the locale: one run on an English system, one on a
# Japanese one.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    LC_ALL=C.UTF-8 "$0" "$1" --prepare-display
    LC_ALL=C.UTF-8 "$0" "$1" "$2"
    LC_ALL=ja_JP.UTF-8 "$0" "$1" "$2"
' "$wine_run" "$test_exe" "$(cd "$out" && pwd)"
for lang in en ja; do
    [ -f "$out/panel-$lang.bmp" ] || { echo "no picture of the dialog in $lang"; exit 1; }
    convert "$out/panel-$lang.bmp" "$out/panel-$lang.png"
    rm "$out/panel-$lang.bmp"
    echo "picture: $out/panel-$lang.png"
done
