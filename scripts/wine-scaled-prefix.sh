#!/usr/bin/env bash
# A Wine prefix whose screen is set to another scale, for the few tests of the
# clock at that scale. Wine reads the setting when its server starts, so the
# server is started afresh after it is written.
#   scripts/wine-scaled-prefix.sh start PREFIX DPI   make the prefix once, set its dpi, start its server
#   scripts/wine-scaled-prefix.sh stop PREFIX        end its server
# The X display is the caller's (the Wine world the tests run in).
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
export WINEPREFIX="$2"
case "$1" in
  start)
    # Wine's server and background services outlive this script; they must not
    # hold its output open, or the caller (a ctest fixture) waits for them.
    exec </dev/null >"$WINEPREFIX.log" 2>&1
    ensure_wine_prefix
    "$(wine_loader 64)" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p
    # Wine's background services, started now rather than by the first test.
    "$(wine_loader 64)" cmd /c exit >/dev/null 2>&1
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    ;;
  *)
    echo "usage: $0 start PREFIX DPI | stop PREFIX" >&2
    exit 2
    ;;
esac
