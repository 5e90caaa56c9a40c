#!/usr/bin/env bash
# Static check of the installation medium: vextsetup.exe, each built deliverable compressed
# under its source name (expanded by mscompress's own msexpand, it is the DLL byte for byte),
# and a README that lists the ten files to add.
#   check_medium.sh MEDIUM_DIR SETUP_EXE DLL...
set -euo pipefail
medium=$1
setup_exe=$2
shift 2
status=0
fail() { echo "FAIL: $*"; status=1; }
cmp -s "$medium/vextsetup.exe" "$setup_exe" || fail "vextsetup.exe is not the built one"
for dll in "$@"; do
    name=$(basename "$dll")
    packed="$medium/${name%?}_"
    [ -f "$packed" ] || { fail "missing ${name%?}_"; continue; }
    [ "$(head -c 4 "$packed")" = SZDD ] || fail "${name%?}_ is not SZDD"
    cmp -s <(msexpand <"$packed" 2>/dev/null) "$dll" || fail "${name%?}_ does not expand to $name"
done
for f in vextpage.hl_ vextpagj.hl_ rerez2u.dl_ vuvad3o.dl_ vextpage.dl_ vextaux.dl_ riched20.dl_ \
         viziza.sy_ dudiz.sy_ ruvurez.sy_; do
    grep -q "^  $f " "$medium/README.txt" || fail "README.txt does not list $f"
done
[ $status -eq 0 ] && echo "medium: ok"
exit $status
