#!/usr/bin/env bash
# Static check of vexttune.dll's resources: dialog 101 in English (1033) and Japanese (1041) with
# their captions, the icon groups 116 and 117 that both use, and the test mode's bitmaps 106,
# 107, 110 and 115 at their sizes, 8 bits per pixel.
#   check_panel_resources.sh WINDRES FILE
set -euo pipefail
windres=$1
file=$2
rc=$("$windres" -i "$file" -O rc)
status=0
expect() {
    grep -qF -- "$1" <<<"$rc" || { echo "FAIL: no '$1' in the resources"; status=1; }
}
# The dialog of each language follows its LANGUAGE line.
dialogs=$(awk '/^LANGUAGE/ {lang=$2 $3} /^101 DIALOG/ {print lang}' <<<"$rc" | sort | tr '\n' ' ')
[ "$dialogs" = "17,1 9,1 " ] || { echo "FAIL: dialog 101 in languages '$dialogs'"; status=1; }
expect 'CAPTION "TVOUT"'
expect 'CAPTION L"TVOUT\x306e\x8a2d\x5b9a"'
expect 'FONT 8, "MS Sans Serif"'
expect 'FONT 10, L"\xff2d\xff33 \xff30\x30b4\x30b7\x30c3\x30af"'
expect '116 14 /* RT_GROUP_ICON */'
expect '117 14 /* RT_GROUP_ICON */'
# A bitmap resource starts with its BITMAPINFOHEADER: size 40, width, height, planes 1 and 8 bits.
bitmap() {
    local header size w h planesBits
    header=$(awk -v id="$1" '$0 ~ "^" id " 2 /\\* RT_BITMAP" {getline; getline; print; exit}' <<<"$rc")
    read -r size w h planesBits _ <<<"$(tr -d ',L' <<<"$header")"
    if [ -z "$header" ] || [ $((size)) -ne 40 ] || [ $((w)) -ne "$2" ] || [ $((h)) -ne "$3" ] ||
        [ $((planesBits)) -ne $((0x80001)) ]; then
        echo "FAIL: bitmap $1 is not $2 x $3 at 8 bits per pixel: '$header'"
        status=1
    fi
}
bitmap 106 180 288
bitmap 107 32 32
bitmap 110 93 26
bitmap 115 64 64
[ $status -eq 0 ] && echo "$(basename "$file") resources: ok"
exit $status
