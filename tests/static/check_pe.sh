#!/usr/bin/env bash
# Static check of a built Windows module: its format, its exact export names, and its imports.
#   check_pe.sh OBJDUMP FILE --format pei-i386 [--subsystem N] [--exports "a b"] \
#       [--imports-from DLL "names"] [--allowed-dlls "A.dll B.dll"]
set -euo pipefail
objdump=$1
file=$2
shift 2
dump=$("$objdump" -p "$file")
status=0
fail() { echo "FAIL: $*"; status=1; }

while [ $# -gt 0 ]; do
    case $1 in
    --format)
        format=$("$objdump" -f "$file" | sed -n 's/.*file format //p')
        [ "$format" = "$2" ] || fail "format is '$format', expected '$2'"
        shift 2 ;;
    --subsystem)
        sub=$(awk '/^Subsystem/ {print $2}' <<<"$dump")
        [ "$((16#$sub))" = "$2" ] || fail "subsystem is $sub, expected $2"
        shift 2 ;;
    --exports)
        got=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^\t\[/ {print $NF; next} on {exit}' <<<"$dump" | sort)
        want=$(tr ' ' '\n' <<<"$2" | grep -v '^$' | sort)
        [ "$got" = "$want" ] || fail "exports differ:"$'\n'"$(diff <(echo "$want") <(echo "$got") || true)"
        shift 2 ;;
    --imports-from)
        got=$(awk -v dll="$2" 'tolower($0) ~ "dll name: " tolower(dll) "$" {on=1; next} on && /DLL Name:/ {exit} on && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+/ {print $NF}' <<<"$dump" | sort)
        want=$(tr ' ' '\n' <<<"$3" | grep -v '^$' | sort)
        [ "$got" = "$want" ] || fail "imports from $2 differ:"$'\n'"$(diff <(echo "$want") <(echo "$got") || true)"
        shift 3 ;;
    --allowed-dlls)
        for dll in $(awk '/DLL Name:/ {print $3}' <<<"$dump"); do
            grep -qiwF "$dll" <<<"$2" || fail "imports from $dll, which is not allowed"
        done
        shift 2 ;;
    *) echo "unknown option $1"; exit 2 ;;
    esac
done
[ $status -eq 0 ] && echo "$(basename "$file"): ok"
exit $status
