#!/usr/bin/env bash
# The host vextsetup as a person runs it: copied into a medium folder whose path has capitals,
# driven through vextsim's system and ui commands.
set -euo pipefail
vextsim=$1
vextsetup=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VEXT_SIM_ROOT="$work/root"
medium="$work/Setup Medium"
mkdir -p "$medium"
cp "$vextsetup" "$medium/"
seq 1 5000 >"$work/original"
cp "$work/original" "$medium/vextlink.dll"
(cd "$medium" && mscompress vextlink.dll && mv vextlink.dll_ vextlink.dl_ && rm vextlink.dll)
fail() { echo "FAIL: $*"; "$vextsim" ui log; exit 1; }

# Refused as Windows 98: nothing happens.
"$vextsim" system set version win98
"$vextsim" system show | grep -q 'Windows 95/98' || fail "version not shown"
"$medium/vextsetup" || fail "exit code $?"
"$vextsim" ui log | grep -q 'warning, OK: "Vextaro ｾｯﾄｱｯﾌﾟ" "このｾｯﾄｱｯﾌﾟはWindowsNT4.0用です。' ||
    fail "no refusal"
[ ! -e "$VEXT_SIM_ROOT/drive_c" ] || fail "refused run touched the machine"

# Installed as NT 4.0 into another Windows directory.
"$vextsim" system set version nt4
"$vextsim" system set windows 'C:\WINNT40'
"$vextsim" ui clear
"$vextsim" ui answer ok yes
"$medium/vextsetup" || fail "exit code $?"
installed=$("$vextsim" system path 'c:\winnt40\system32\vextlink.dll')
cmp -s "$installed" "$work/original" || fail "vextlink.dll not expanded byte for byte"
"$vextsim" ui log | grep -qF 'control 1007 shows c:\winnt40\system32\vextlink.dll' || fail "target"
"$vextsim" ui log | grep -qF "control 1006 shows z:$(echo "$work" | tr 'A-Z/' 'a-z\\')\\setup medium\\vextlink.dl_" ||
    fail "source path"
grep -q 'EWX_REBOOT' "$VEXT_SIM_ROOT/restart.log" || fail "restart not recorded"
"$vextsim" reg show 'HKLM\SYSTEM\CurrentControlSet\Services\dudiz' | grep -q '"Group"="Extended base"' ||
    fail "service not registered"

# Bad input is refused.
if "$vextsim" system set version win2000 2>/dev/null; then fail "bad version accepted"; fi
if "$vextsim" ui answer maybe 2>/dev/null; then fail "bad answer accepted"; fi
echo "vextsetup command: ok"
