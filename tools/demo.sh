#!/usr/bin/env bash
# The simulated demo: TV-out settings stored and read back through the driver, on a fresh
# simulation root under the build tree, shown as the driver sees them and as the registry holds them.
set -euo pipefail
build=${1:-build/host}
vextsim="$build/tools/vextsim"
export VEXT_SIM_ROOT="$build/demo-root"
rm -rf "$VEXT_SIM_ROOT"
quiet=${VEXT_DEMO_QUIET:-}
say() { [ -n "$quiet" ] || printf '%s\n' "$*"; }
show() { if [ -n "$quiet" ]; then "$@" >/dev/null; else "$@" | sed 's/^/    /'; fi; }

say "== vext demo: TV-out settings in the simulated registry ($VEXT_SIM_ROOT)"
say "-- 640x480 on an empty registry: every field at its default"
show "$vextsim" tvout get 640x480
say "-- the panel stores 800x600 with TV output on, underscan, brightness 150"
show "$vextsim" tvout set 800x600 enable=1 underscan=1 brightness=150
say "-- what the driver stored (decimal text, 50 bytes each):"
show "$vextsim" reg show 'HKLM\Software\3Vav Interactive\Dudezi2\TVOut'
say "-- 800x600 read back, and 640x480 sharing the output settings but keeping its own scan mode"
show "$vextsim" tvout get 800x600
show "$vextsim" tvout get 640x480
say "-- the settings panel (vextpanel): contrast 6, on to 800x600, underscan, help, OK"
show "$build/panel/vextpanel" "slide contrast 6" "slide resolution 3" "click underscan" \
    "help brightness" "png $VEXT_SIM_ROOT/panel.png" show ok
show "$vextsim" tvout get 800x600
say "   (a picture of the dialog: $VEXT_SIM_ROOT/panel.png)"
say "-- the test mode: Test; brightness up a step, the picture one step right; Enter on OK"
"$vextsim" reg set 'HKLM\hardware\DirectDrawDrivers\472BEA00-40DF-11D1-A9-DF-00-60-97-C2-ED-B2' \
    DriverName VEXTA >/dev/null
show "$build/panel/vextpanel" "testkeys frames 30 up up right frames 20 png $VEXT_SIM_ROOT/test-menu.png \
    down enter right frames 40 png $VEXT_SIM_ROOT/test-position.png esc down enter" "click test" ok
say "   (frames of the board's screen: $VEXT_SIM_ROOT/test-menu.png, test-position.png)"
say "== done: the registry file is $VEXT_SIM_ROOT/registry.reg"

say "== setup: the installer on the simulated Windows NT machine, from a medium folder"
medium="$build/demo-medium"
rm -rf "$medium"
mkdir -p "$medium"
cp "$build/setup/vextsetup" "$medium/"
cp "$build/driver/libvextlink.so" "$medium/vextlink.dll"
(cd "$medium" && mscompress vextlink.dll && mv vextlink.dll_ vextlink.dl_ && rm vextlink.dll)
"$vextsim" ui answer ok no
show "$medium/vextsetup"
say "-- what the user saw (the paths of the one file on the medium, the messages, the answers):"
show awk '!/control 100[67]/ || /vextlink/' "$VEXT_SIM_ROOT/screen.log"
say "-- the one file of this medium, expanded into the simulated Windows directory:"
show find "$VEXT_SIM_ROOT/drive_c" -type f
show "$vextsim" reg show 'HKLM\SYSTEM\CurrentControlSet\Services\RUVurez'
