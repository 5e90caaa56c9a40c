#!/usr/bin/env bash
# vextsetup.exe for real under wine64, in a fresh prefix with a Japanese locale (run it under
# Xvfb). The build's medium is completed with test files for the ten files that are not built
# here; setup_driver then checks the refusal as Windows 98 and an installation as NT 4.0. The
# screenshots are kept as PNG in ARTIFACTS.
#   setup_under_wine.sh WINE_RUN SETUP_DRIVER MEDIUM_DIR ARTIFACTS
set -euo pipefail
wine_run=$1
driver=$2
built_medium=$3
artifacts=$4

rm -rf "$artifacts"
mkdir -p "$artifacts/medium" "$artifacts/originals"
export WINEPREFIX="$artifacts/wineprefix"
# Wine takes its locale from LC_ALL, whether or not the host has that locale installed.
wine() { env LC_ALL=ja_JP.UTF-8 "$wine_run" "$@"; }
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }

# The medium: this build's setup and deliverables, and ten stand-ins compressed by mscompress.
cp "$built_medium"/vextsetup.exe "$built_medium"/*.dl_ "$artifacts/medium/"
for packed in "$artifacts"/medium/*.dl_; do
    name=$(basename "$packed")
    msexpand <"$packed" >"$artifacts/originals/${name%_}l" 2>/dev/null
done
make_file() {  # make_file TARGET SOURCE [plain|empty]: a stand-in of some size and kind
    local target=$1 source=$2 original="$artifacts/originals/$1"
    if [ "${3:-}" = empty ]; then
        : >"$original"
    else
        { echo "stand-in for $target"; seq 1 $((RANDOM % 3000 + 100)); head -c 5000 /dev/zero; } >"$original"
    fi
    if [ "${3:-}" = plain ]; then
        cp "$original" "$artifacts/medium/$source"
    else
        cp "$original" "$artifacts/medium/$target"
        mscompress "$artifacts/medium/$target"
        mv "$artifacts/medium/${target}_" "$artifacts/medium/$source"
        rm "$artifacts/medium/$target"
    fi
}
make_file vextpage.hlp vextpage.hl_
make_file vextpagj.hlp vextpagj.hl_ empty
make_file rerez2u.dll rerez2u.dl_
make_file vuvad3o.dll vuvad3o.dl_
make_file vextpage.dll vextpage.dl_
make_file vextaux.dll vextaux.dl_
make_file riched20.dll riched20.dl_ plain  # an uncompressed file is copied as it is
make_file viziza.sys viziza.sy_
make_file dudiz.sys dudiz.sy_
make_file ruvurez.sys ruvurez.sy_
[ -f "$artifacts/originals/vexttune.dll" ] || make_file vexttune.dll vexttune.dl_

args=("$(winpath "$artifacts/medium")" "$(winpath "$artifacts/originals")" "$(winpath "$artifacts")")
appkey='HKCU\Software\Wine\AppDefaults\vextsetup.exe'
# The dialog's font is the Japanese system's proportional gothic; IPA's stands in for it. A
# UTF-16 registry file carries its Japanese name unchanged.
printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r\n%s\r\n%s\r\n' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' '"ＭＳ Ｐゴシック"="IPAPGothic"' |
    iconv -f UTF-8 -t UTF-16LE >"$artifacts/fonts.reg"
wine regedit /S "$(winpath "$artifacts/fonts.reg")"
# No window manager runs under Xvfb: wine draws the caption and frame itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wine reg add "$appkey" /v Version /d win98 /f >/dev/null
wine "$driver" refuse "${args[@]}"
# On a western system the Japanese texts read just as well.
env LC_ALL=en_US.UTF-8 "$wine_run" "$driver" refuse-western "${args[@]}"
wine reg add "$appkey" /v Version /d nt40 /f >/dev/null
wine "$driver" install "${args[@]}"
# The same medium, damaged: one file gone, one cut short.
rm "$artifacts/medium/vextpagj.hl_"
head -c 300 "$artifacts/medium/viziza.sy_" >"$artifacts/viziza.cut"
mv "$artifacts/viziza.cut" "$artifacts/medium/viziza.sy_"
wine "$driver" damaged "${args[@]}"

for bmp in "$artifacts"/*.bmp; do
    convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
ls "$artifacts"/*.png
