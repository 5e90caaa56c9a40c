#!/usr/bin/env bash
# vextpanel as a person uses it on the simulation: the library is loaded and attached, the
# scripted user edits the dialog, OK stores through the driver, and the picture is written.
set -euo pipefail
vextpanel=$1
vextsim=$2
export VEXT_SIM_ROOT=$(mktemp -d)
trap 'rm -rf "$VEXT_SIM_ROOT"' EXIT
unset VEXT_SIM_USER_LANGUAGE VEXT_SIM_SYSTEM_LANGUAGE

out=$("$vextpanel" "slide contrast 6" "slide resolution 3" "click underscan" "help brightness" \
    "help reso" "png $VEXT_SIM_ROOT/panel.png" show ok)
expect() {
    grep -qF -- "$1" <<<"$out" || { echo "missing: $1"; echo "$out"; exit 1; }
}
expect 'help: VEXTPAGE.HLP, topic 100003'
expect 'no help for control -1'
expect '1012 text "800 x 600"'
expect '1010 (o) "&Underscan"'
expect '1000 button "&Test" (greyed)'
[ "$(head -c 8 "$VEXT_SIM_ROOT/panel.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
    { echo "no PNG written"; exit 1; }
"$vextsim" tvout get 800x600 | grep -qE 'underscan +1$'
"$vextsim" tvout get 512x384 | grep -qE 'contrast +6$'

# Japanese user and system: the Japanese dialog and help file.
out=$(VEXT_SIM_USER_LANGUAGE=0x0411 VEXT_SIM_SYSTEM_LANGUAGE=1041 "$vextpanel" show "help ok" esc)
expect 'dialog 101 "TVOUTの設定" (language 0x411)'
expect '2 button "ｷｬﾝｾﾙ"'
expect 'help: VEXTPAGJ.HLP, topic 100013'

# The test mode: the board's driver named in the registry enables Test; the scripted keys raise
# brightness by its step and keep it with Enter on "OK"; the frames are written.
"$vextsim" reg set 'HKLM\hardware\DirectDrawDrivers\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2' \
    DriverName VEXTA >/dev/null
out=$("$vextpanel" "testkeys frames 20 up up right frames 10 png $VEXT_SIM_ROOT/test.png down down enter" \
    "click test" show ok)
expect "test frame: $VEXT_SIM_ROOT/test.png"
expect '1008 trackbar 138 in 90..208 ticks 11'
[ "$(head -c 8 "$VEXT_SIM_ROOT/test.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
    { echo "no frame written"; exit 1; }
"$vextsim" tvout get 640x480 | grep -qE 'brightness +138$'

# Without a DirectDraw driver named VEXTA the test cannot start.
printf 'display "Primary display driver"\n' >"$VEXT_SIM_ROOT/display-devices.txt"
out=$("$vextpanel" "click test" cancel)
expect 'message box "ERROR": ERROR'
out=$("$vextpanel" "testkeys bogus" cancel 2>&1)
expect 'not a key or script word: bogus'

# A command it does not know is reported, and the dialog still closes.
out=$("$vextpanel" "frobnicate 3" 2>&1)
expect 'not understood: frobnicate 3'
expect 'closing the dialog'
echo "vextpanel: ok"
