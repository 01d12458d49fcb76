# Sourced by the run and test scripts: a project-local Wine prefix with the Japanese
# locale (ANSI code page 932), quiet Wine, and an X display (Xvfb when there is none).
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$repo_root/.wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8

# The Wine loader for a 32- or 64-bit program. Debian's `wine` starts the 32-bit
# loader first for every program once 32-bit Wine is installed, which costs a 64-bit
# program time and fails for all when the 32-bit emulator is not registered.
wine_loader() {
  case "$1" in
    64) echo /usr/lib/wine/wine64 ;;
    32) if [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine; else echo "32-bit Wine is not installed" >&2; return 1; fi ;;
    *) echo "wine_loader: 32 or 64, not '$1'" >&2; return 1 ;;
  esac
}

# Creates the prefix once; without a window manager Wine would wait for one on
# every window that hides or closes, so the X11 driver is told it is unmanaged.
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.quillet-ready" ]; then
    echo "creating Wine prefix $WINEPREFIX"
    "$(wine_loader 64)" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    "$(wine_loader 64)" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready"
  fi
  # The dialogs ask for the Windows Japanese UI fonts, which Wine lacks; without
  # them it falls back to a font whose letters are narrower than its kana and
  # kanji, so Japanese labels are cut off. IPA P Gothic has the same widths.
  if [ ! -f "$WINEPREFIX/.quillet-fonts" ]; then
    for font in 'ＭＳ Ｐゴシック' 'MS UI Gothic'; do
      "$(wine_loader 64)" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.quillet-fonts"
  fi
}

# Starts Xvfb on a free display when no display is set; sets xvfb_pid.
xvfb_pid=""
ensure_display() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=99
    while :; do
      while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
      Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      # Another script may have taken the same free number at the same moment: the
      # display is ours only when the lock file names our server.
      for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' ' < "/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
      done
      if kill -0 "$xvfb_pid" 2>/dev/null; then break; fi
      n=$((n + 1))
    done
    export DISPLAY=":$n"
  fi
}

stop_display() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}

# Enters a Wine world of its own in the given prefix: its own Xvfb screen, a
# persistent wineserver, and Wine's background services started first, which would
# otherwise inherit (and hold open) the output pipes of whichever test came first.
# A wineserver left in the prefix by a run that was cut short is ended first: it
# would keep Wine's tray on that run's display.
start_wine_world() {
  export WINEPREFIX="$1"
  unset DISPLAY
  ensure_display
  ensure_wine_prefix
  wineserver -k 2>/dev/null || true
  wineserver -p
  "$(wine_loader 64)" cmd /c exit >/dev/null 2>&1
}

stop_wine_world() {
  wineserver -k 2>/dev/null || true
  stop_display
}
