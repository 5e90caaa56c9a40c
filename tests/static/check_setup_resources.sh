#!/usr/bin/env bash
# Static check of vextsetup.exe's resources: the dialog "VEXTSETUP" exactly as expected (style
# 0x90c000c0: visible pop-up, caption, modal frame, no system menu; texts in UTF-8 here), and
# the icon group "SETUPICON" with its icon.
#   check_setup_resources.sh WINDRES FILE EXPECTED_DIALOG
set -euo pipefail
windres=$1
file=$2
expected=$3
rc=$(mktemp)
trap 'rm -f "$rc"' EXIT
"$windres" -i "$file" -O rc -o "$rc"
status=0
dialog=$(sed -n '/^"VEXTSETUP" DIALOG/,/^END/p' "$rc" | perl -CS -pe 's/\\x([0-9a-f]{4})/chr(hex($1))/ge')
if [ "$dialog" != "$(cat "$expected")" ]; then
    echo "FAIL: dialog VEXTSETUP differs:"
    diff <(cat "$expected") <(echo "$dialog") || true
    status=1
fi
grep -q '^"SETUPICON" 14 /\* RT_GROUP_ICON \*/' "$rc" || { echo "FAIL: no icon group SETUPICON"; status=1; }
[ "$(grep -c '/\* RT_GROUP_ICON \*/' "$rc")" = 1 ] || { echo "FAIL: more than one icon group"; status=1; }
grep -q '/\* RT_ICON \*/' "$rc" || { echo "FAIL: no icon"; status=1; }
[ $status -eq 0 ] && echo "$(basename "$file") resources: ok"
exit $status
