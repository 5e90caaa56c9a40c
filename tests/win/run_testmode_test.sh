#!/usr/bin/env bash
# Runs the test mode's Win32 test under wine64 on a virtual X display of 640 x 480 at 16 bits,
# the one mode wine's DirectDraw can take in full there, and keeps its pictures as PNG files in
# OUTPUT_DIR: the "ERROR" message box and the test screen.
#   run_testmode_test.sh WINE_RUN TEST_EXE OUTPUT_DIR
set -euo pipefail
wine_run=$1
test_exe=$2
out=$3
mkdir -p "$out"
rm -f "$out"/testmode-*.bmp "$out"/testmode-*.png
status=0
LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 640x480x16" "$wine_run" "$test_exe" "$(cd "$out" && pwd)" ||
    status=$?
for picture in testmode-error testmode-screen; do
    if [ -f "$out/$picture.bmp" ]; then
        convert "$out/$picture.bmp" "$out/$picture.png"
        rm "$out/$picture.bmp"
        echo "picture: $out/$picture.png"
    fi
done
exit $status
