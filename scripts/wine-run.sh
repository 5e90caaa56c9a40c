#!/usr/bin/env bash
# Runs a Windows x86_64 program under wine64 with a prefix inside the build tree, so that tests
# never touch the user's own prefix. WINEPREFIX may be set by the caller to use another one.
set -euo pipefail
exe=$1
shift
if [ -z "${WINEPREFIX:-}" ]; then
    build_dir=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
    export WINEPREFIX="$build_dir/wineprefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
# The first start creates the prefix; serialise it so parallel tests do not race on it.
mkdir -p "$WINEPREFIX"
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$loader" wineboot -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w 2>/dev/null || true
    fi
) 9>"$WINEPREFIX.lock"
exec "$loader" "$exe" "$@"
