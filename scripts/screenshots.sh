#!/usr/bin/env bash
# Makes the README's pictures in docs/ with the 64-bit build under Wine, on an Xvfb
# screen of its own with a plain blue desktop, in a prefix of its own
# (.wineprefix-screenshots). Every clock starts at the same moment, Tuesday
# 8 December 2026 10:07:02, through the preload library that shifts the wall clock
# (tests/tools/ShiftedWallClock.c), from a reset state: its registry key rewritten
# and its data file replaced by fixed schedules (scripts/screenshots/schedules.py).
# So running it twice gives the same pictures. The pictures that show the time are
# taken within the clock's first minute; the script fails when that took too long.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Quillet Setup shifted_wall_clock

source scripts/wine-env.sh
trap stop_wine_world EXIT
start_wine_world "$PWD/.wineprefix-screenshots"
loader=$(wine_loader 64)

MOMENT='2026-12-08 10:07:02'
DESKTOP='rgb(58,110,165)'
work="$PWD/build/screenshots"
folder="$work/program"
mkdir -p "$folder"
cp build/win64/src/app/Quillet.exe build/win64/src/setup/Setup.exe "$folder/"
shifted_clock="$PWD/build/win64/tests/shifted-wall-clock/\$LIB/libshifted-wall-clock.so"

# The desktop: a plain colour on the X root, which the keyed-out face shows through.
# Wine's desktop process clears the root when it starts, so this is done again
# once each clock is up.
convert -size 8x8 "xc:$DESKTOP" "$work/desktop.png"
paint_desktop() { display -window root "$work/desktop.png" 2>/dev/null || true; }

# Prints the id of the newest visible window whose title starts with $1, waiting for
# it; callers assign the id first, so that its absence stops the script.
window_named() {
  local id
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "^$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then echo "$id"; return; fi
    sleep 0.2
  done
  echo "screenshots: no window '$1' appeared; windows shown:" >&2
  for id in $(xdotool search --onlyvisible --class . 2>/dev/null || true); do
    echo "  $(xdotool getwindowname "$id" 2>/dev/null) $(xdotool getwindowgeometry "$id" | tr '\n' ' ')" >&2
  done
  exit 1
}

# Prints the id of a visible window, not among those listed in $3, whose top-left
# corner is at ($1, $2), waiting up to 3 s for it: a pop-up menu opens at the mouse.
new_window_at() {
  local id
  for _ in $(seq 15); do
    for id in $(xdotool search --onlyvisible --class . 2>/dev/null || true); do
      [[ " $3 " == *" $id "* ]] && continue
      eval "$(xdotool getwindowgeometry --shell "$id")"
      if [ "$X" = "$1" ] && [ "$Y" = "$2" ]; then echo "$id"; return; fi
    done
    sleep 0.2
  done
  return 1
}

# Closes a dialog with Esc and waits until it is gone: the clock window takes no
# mouse input while one of its modal dialogs is open.
close_dialog() {
  xdotool key Escape
  for _ in $(seq 50); do
    xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.2
  done
  echo "screenshots: a dialog did not close" >&2
  exit 1
}

# Sets X, Y, WIDTH and HEIGHT from a window.
measure() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# Saves the screen's rectangle ($2 x $3 at $4,$5) as $1 (a path; a bare name
# means docs/<name>.png), without the time stamps ImageMagick would write, so an
# unchanged picture stays the same byte for byte.
shoot() {
  local target=$1
  [[ $target == */* ]] || target="docs/$target.png"
  import -window root png:- | convert png:- -crop "$2x$3+$4+$5" +repage -strip -define png:exclude-chunks=date,time "$target"
  echo "  $target"
}
shoot_window() { measure "$2"; shoot "$1" "$WIDTH" "$HEIGHT" "$X" "$Y"; }

# Right-clicks at ($1, $2) and sets X, Y, WIDTH and HEIGHT from the menu that opens
# there. Wine's tray often drops the first right-click on a bell whose balloon shows,
# so a click that opens nothing is tried again.
open_menu() {
  local before menu
  for _ in 1 2 3; do
    before=$(xdotool search --onlyvisible --class . 2>/dev/null | tr '\n' ' ' || true)
    xdotool mousemove "$1" "$2" click 3
    if menu=$(new_window_at "$1" "$2" "$before"); then
      measure "$menu"
      sleep 0.3
      return
    fi
    echo "screenshots: no menu opened at $1,$2; trying again" >&2
    xdotool key Escape
  done
  echo "screenshots: no menu opened at $1,$2" >&2
  exit 1
}

# Right-clicks at ($1, $2) and saves the pop-up menu that opens there as $3, with the
# rectangle from ($4, $5) down to it, so that what was clicked shows too.
shoot_menu() {
  open_menu "$1" "$2"
  shoot "$3" $((X + WIDTH + 4 - $4)) $((Y + HEIGHT + 4 - $5)) "$4" "$5"
}

# Resets the clock's state and starts it at MOMENT: the registry key holds only the
# position and the Flags word $1; with $2 = schedules the data file holds the fixed
# schedules, otherwise there is none. Sets clock_pid, clock_window and started_at.
start_clock() {
  rm -f "$folder"/Schedules.dat*
  if [ "$2" = schedules ]; then python3 scripts/screenshots/schedules.py "$folder/Schedules.dat"; fi
  printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Velmora\\Quillet]\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmora\\Quillet]\r\n"PosX"=dword:00000190\r\n"PosY"=dword:0000012c\r\n"Flags"=dword:%08x\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"CursorBlinkRate"="-1"\r\n' "$1" > "$work/settings.reg"
  "$loader" regedit /s "$(winepath -w "$work/settings.reg" 2>/dev/null)" >/dev/null 2>&1
  local shift=$(( $(date -d "$MOMENT" +%s) - $(date +%s) ))
  started_at=$SECONDS
  LD_PRELOAD="$shifted_clock" QUILLET_CLOCK_SHIFT=$shift "$loader" "$folder/Quillet.exe" >/dev/null 2>&1 &
  clock_pid=$!
  clock_window=$(window_named 'クイレット$')
  paint_desktop
  sleep 1.5
}

# Fails when the clock's minute may have moved on since it started.
still_first_minute() {
  if (( SECONDS - started_at > 50 )); then
    echo "screenshots: too slow, the clock's minute may have changed; run again on a quieter machine" >&2
    exit 1
  fi
}

stop_clock() {
  "$loader" "$folder/Setup.exe" >/dev/null 2>&1
  wait "$clock_pid" || true
}

# Opens the property sheet and saves each page as $work/$1-<page>.png; the pages
# are chosen by a click on their tabs, at height $2 and at the x offsets of the
# page:offset pairs that follow, from the sheet's left edge. A second start hands
# over to the running clock, which opens its properties. Leaves the sheet open,
# with sheet, second_pid, X, Y, WIDTH and HEIGHT set.
shoot_pages() {
  local name=$1 tab_y=$2 page
  shift 2
  "$loader" "$folder/Quillet.exe" >/dev/null 2>&1 &
  second_pid=$!
  sheet=$(window_named 'クイレットのプロパティ')
  measure "$sheet"
  for page in "$@"; do
    xdotool mousemove $((X + ${page#*:})) $((Y + tab_y)) click 1
    sleep 0.5
    shoot "$work/$name-${page%%:*}.png" "$WIDTH" "$HEIGHT" "$X" "$Y"
  done
}

# Bits of the Flags word.
FLAG_SNAP=0x2 FLAG_SHADOW=0x4 FLAG_LOCKED=0x8 FLAG_SIMPLE_MENU=0x40 FLAG_NO_OUTLINE=0x200 FLAG_CUSTOM_FONT=0x20000

echo "the face with each effect, the simple menu"
for effect in text:$((FLAG_NO_OUTLINE)) shadow:$((FLAG_SHADOW | FLAG_NO_OUTLINE)) outline:0; do
  start_clock $((FLAG_SNAP | FLAG_SIMPLE_MENU | ${effect#*:})) none
  measure "$clock_window"
  face_x=$X face_y=$Y
  shoot "face-${effect%%:*}" $((WIDTH + 16)) $((HEIGHT + 16)) $((X - 8)) $((Y - 8))
  if [ "${effect%%:*}" = outline ]; then
    shoot_menu $((face_x + 40)) $((face_y + 8)) menu-simple $((face_x - 8)) $((face_y - 8))
    xdotool key Escape
  fi
  still_first_minute
  stop_clock
done

echo "a bell with its balloon, its menu and details; the full menu, the manager, the add dialog"
start_clock $((FLAG_SNAP | FLAG_LOCKED)) schedules
bell_x=12 bell_y=32
window_named 'Wine System Tray' >/dev/null
# The bell of 10:00 is announced at start and steps from blinking to magenta (seven
# minutes late) in the first two seconds; the balloon stays for twenty.
sleep 2
shoot notification 190 106 0 0
shoot_menu $bell_x $bell_y menu-tray 0 0
# The bell's menu takes no keys under Wine: its 詳細 item, the last, opens the details.
xdotool mousemove $((X + 40)) $((Y + HEIGHT - 12)) click 1
detail=$(window_named '予定の詳細')
shoot_window detail "$detail"
close_dialog "$detail"
measure "$clock_window"
face_x=$X face_y=$Y
# The full menu with the position locked and the mouse on the lock item.
open_menu $((face_x + 40)) $((face_y + 8))
xdotool mousemove $((X + 60)) $((Y + 94))
sleep 0.5
shoot menu-full $((X + WIDTH + 4 - face_x + 8)) $((Y + HEIGHT + 4 - face_y + 8)) $((face_x - 8)) $((face_y - 8))
xdotool key m
manager=$(window_named 'クイレット - 予定マネージャ')
measure "$manager"
# すべて, the second entry of the type list.
xdotool mousemove $((X + 200)) $((Y + 42)) click 1
sleep 0.5
xdotool key Down Return
sleep 0.5
shoot_window schedule-manager "$manager"
close_dialog "$manager"
xdotool mousemove $((face_x + 40)) $((face_y + 8)) click --repeat 2 --delay 80 1
add=$(window_named '予定の追加')
shoot_window add-dialog "$add"
still_first_minute
stop_clock

echo "the add dialog on the other types, the calendar"
start_clock $((FLAG_SNAP)) none
measure "$clock_window"
xdotool mousemove $((X + 40)) $((Y + 8)) click --repeat 2 --delay 80 1
add=$(window_named '予定の追加')
measure "$add"
# The type list, then its next entry: 特定の曜日, then 月に一度.
for type in weekday monthly; do
  xdotool mousemove $((X + 95)) $((Y + 80)) click 1
  sleep 0.5
  xdotool key Down Return
  sleep 0.5
  shoot "add-$type" "$WIDTH" "$HEIGHT" "$X" "$Y"
done
xdotool mousemove $((X + 95)) $((Y + 80)) click 1
sleep 0.5
xdotool key Up Up Return
xdotool mousemove $((X + 108)) $((Y + 193)) click 1
calendar=$(window_named 'カレンダー')
shoot_window add-calendar "$calendar"
close_dialog "$calendar"
close_dialog "$add"
still_first_minute
stop_clock

echo "the three pages of the property sheet, the font dialog"
start_clock $((FLAG_SNAP | FLAG_CUSTOM_FONT)) none
shoot_pages page 40 display:40 other:90 about:162
xdotool mousemove $((X + 40)) $((Y + 40)) click 1
xdotool mousemove $((X + 302)) $((Y + 305)) click 1
font_dialog=$(window_named 'フォント')
shoot_window font-dialog "$font_dialog"
close_dialog "$font_dialog"
convert "$work"/page-{display,other,about}.png +append -strip -define png:exclude-chunks=date,time docs/property-sheet.png
echo "  docs/property-sheet.png"
close_dialog "$sheet"
wait "$second_pid" || true
stop_clock

echo "at 150 %: the face, a bell, the full menu; the details, the add dialog, the calendar and the property sheet to look at"
# A Wine world of its own whose screen is set to 144 dpi; Wine reads the scale
# when its server starts, so the server is started again after it is written.
stop_wine_world
start_wine_world "$PWD/.wineprefix-screenshots-150"
"$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
"$loader" cmd /c exit >/dev/null 2>&1
start_clock $((FLAG_SNAP | FLAG_LOCKED)) schedules
window_named 'Wine System Tray' >/dev/null
sleep 2
shoot notification-150 285 159 0 0
measure "$clock_window"
face_x=$X face_y=$Y
shoot face-150 $((WIDTH + 24)) $((HEIGHT + 24)) $((X - 12)) $((Y - 12))
open_menu $((face_x + 60)) $((face_y + 12))
xdotool mousemove $((X + 90)) $((Y + 141))
sleep 0.5
shoot menu-full-150 $((X + WIDTH + 6 - face_x + 12)) $((Y + HEIGHT + 6 - face_y + 12)) $((face_x - 12)) $((face_y - 12))
xdotool key Escape
# The bell's details, the add dialog and its calendar, for a look at their text. The
# dialogs' places are the 100 % ones enlarged; the bell sits where the taller tray puts it.
open_menu 14 42
xdotool mousemove $((X + 60)) $((Y + HEIGHT - 18)) click 1
detail=$(window_named '予定の詳細')
shoot_window "$work/detail-150.png" "$detail"
close_dialog "$detail"
xdotool mousemove $((face_x + 60)) $((face_y + 12)) click --repeat 2 --delay 80 1
add=$(window_named '予定の追加')
shoot_window "$work/add-150.png" "$add"
xdotool mousemove $((X + 162)) $((Y + 290)) click 1
calendar=$(window_named 'カレンダー')
shoot_window "$work/calendar-150.png" "$calendar"
close_dialog "$calendar"
close_dialog "$add"
shoot_pages page-150 60 display:45 other:100 about:195
close_dialog "$sheet"
wait "$second_pid" || true
still_first_minute
stop_clock
