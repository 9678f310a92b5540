#!/bin/sh
# Runs a Windows test program under wine64 on a private Xvfb display with a fresh Wine prefix,
# then ends everything it started. Usage: tests/win/run_win_tests.sh <program.exe> [args...]
# The exit status is the program's.
set -u
program=$1
shift

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
cleanup() {
  "$WINESERVER" -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
i=0
while [ ! -s "$work/display" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
export DISPLAY=":$(cat "$work/display")"

# Without a window manager, Wine waits up to two seconds for one on every hide of a managed
# window; unmanaged windows behave the same for the tests and need no wait.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$WINESERVER" -w

"$WINE" "$program" "$@"
status=$?
exit $status
