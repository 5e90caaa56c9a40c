#!/usr/bin/env bash
# The board commands as a person uses them: create a board, have the driver program it, read the
# encoder registers, write the capture, and change a setting live from a second process.
set -euo pipefail
vextsim=$1
export VEXT_SIM_ROOT=$(mktemp -d)
holder=
trap '[ -z "$holder" ] || kill "$holder" 2>/dev/null; rm -rf "$VEXT_SIM_ROOT"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$vextsim" board create 0 >/dev/null
"$vextsim" tvout set 640x480 enable=1 brightness=150 >/dev/null
"$vextsim" board program 640x480 | grep -q "encoder programmed, TV output on" || fail "program"
shown=$("$vextsim" board show 0)
grep -qE ' 9:150 ' <<<"$shown" || fail "register 9: $shown"
grep -qE '14: 11 ' <<<"$shown" || fail "register 14: $shown"
grep -q 'protocol errors: 0;' <<<"$shown" || fail "errors: $shown"

"$vextsim" board vcd 0 "$VEXT_SIM_ROOT/bus.vcd" >/dev/null
grep -q '^\$var wire 1 ! scl \$end$' "$VEXT_SIM_ROOT/bus.vcd" || fail "vcd scl"
grep -q '^\$var wire 1 " sda \$end$' "$VEXT_SIM_ROOT/bus.vcd" || fail "vcd sda"

# The host process gone, the section is gone too: a set only stores the settings.
"$vextsim" tvout set 640x480 brightness=180 >/dev/null
"$vextsim" board show 0 | grep -qE ' 9:150 ' || fail "changed without a host"

# With a host holding the section, the change reaches the encoder at once.
"$vextsim" board program 640x480 --hold 30 >"$VEXT_SIM_ROOT/host.out" &
holder=$!
for _ in $(seq 100); do grep -q holding "$VEXT_SIM_ROOT/host.out" && break; sleep 0.1; done
"$vextsim" tvout set 640x480 brightness=200 >/dev/null
"$vextsim" board log 0 1 | grep -qF 'reg 14 = 0x0B (11)' || fail "output mode not last"
"$vextsim" board show 0 | grep -qE ' 9:200 ' || fail "live change did not arrive"

# A second board whose probe reads 14 on the first is chosen.
"$vextsim" board create 0 --probe 14 >/dev/null
"$vextsim" board create 1 >/dev/null
"$vextsim" board program 640x480 | grep -q "regBase 0xE1000000, otherRegBase 0xE0000000" ||
    fail "second board not chosen"

if "$vextsim" board create 2 2>/dev/null; then fail "board 2 accepted"; fi
if "$vextsim" board create 0 --reg0 12 2>/dev/null; then fail "bad pattern accepted"; fi
echo "board command: ok"
