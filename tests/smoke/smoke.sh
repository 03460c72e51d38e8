#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its main window, saves a
# screenshot and closes the window the way a window manager does; the program must exit 0.
# usage: smoke.sh KOVARO_BINARY SCREENSHOT_PNG
set -euo pipefail
binary=$1
shot=$2
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  "$1" & pid=$!
  /usr/bin/python3 "$3/x11_window.py" wait Kovaro 20
  sleep 0.5
  import -window root "$2"
  /usr/bin/python3 "$3/x11_window.py" close Kovaro
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "kovaro did not close"; kill $pid; exit 1; fi
  wait $pid
' smoke "$binary" "$shot" "$here"
