#!/usr/bin/env bash
# The registry command as a person uses it: a Set for 800x600 underscan shows up in the listing.
set -euo pipefail
vextsim=$1
export VEXT_SIM_ROOT=$(mktemp -d)
trap 'rm -rf "$VEXT_SIM_ROOT"' EXIT

"$vextsim" tvout set 800x600 underscan=1 underH=60 >/dev/null
listing=$("$vextsim" reg show 'HKLM\Software\3Vav Interactive\Dudezi2\TVOut\800x600')
expect() {
    grep -qF -- "$1" <<<"$listing" || { echo "missing: $1"; echo "$listing"; exit 1; }
}
expect '[HKEY_LOCAL_MACHINE\Software\3Vav Interactive\Dudezi2\TVOut\800x600]'
expect '"DIZA2_TVOUT_UNDERSCAN"=str(50):"1"'
expect '[HKEY_LOCAL_MACHINE\Software\3Vav Interactive\Dudezi2\TVOut\800x600\OverScan]'
expect '"DIZA2_TVOUT_HORIZONTAL"=str(50):"36"'
expect '[HKEY_LOCAL_MACHINE\Software\3Vav Interactive\Dudezi2\TVOut\800x600\UnderScan]'
expect '"DIZA2_TVOUT_HORIZONTAL"=str(50):"60"'
expect '"DIZA2_TVOUT_VERTICAL"=str(50):"2"'

# Hand edits go through the same store the driver reads.
"$vextsim" reg set 'HKLM\Software\3Vav Interactive\Dudezi2\TVOut' DIZA2_TVOUT_BRIGHTNESS abc
"$vextsim" tvout get 640x480 | grep -qE 'brightness +0$'
"$vextsim" reg delete 'HKLM\Software\3Vav Interactive\Dudezi2\TVOut' DIZA2_TVOUT_BRIGHTNESS
"$vextsim" tvout get 640x480 | grep -qE 'brightness +127$'

# Bad input is refused with a message and a non-zero status.
if "$vextsim" reg set 'HKXX\Foo' a b 2>/dev/null; then echo "bad root accepted"; exit 1; fi
if "$vextsim" tvout set 640x480 brightness=70000 2>/dev/null; then echo "70000 accepted"; exit 1; fi
echo "registry command: ok"
