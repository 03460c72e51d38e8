#!/usr/bin/env bash
# Starts the real program on a virtual X display, waits for its main window, saves a
# screenshot and closes the window the way a window manager does; the program must exit 0.
# Given a project, starts the program on it ("kovaro FILE") and waits for the window that
# names it.
# usage: smoke.sh KOVARO_BINARY SCREENSHOT_PNG [PROJECT]
set -euo pipefail
binary=$1
shot=$2
project=${3:-}
title=Kovaro
[ -n "$project" ] && title="$(basename "$project") - Kovaro"
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  if [ -n "$5" ]; then "$1" "$5" & else "$1" & fi
  pid=$!
  /usr/bin/python3 "$3/x11_window.py" wait "$4" 20
  sleep 0.5
  import -window root "$2"
  /usr/bin/python3 "$3/x11_window.py" close "$4"
  for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then echo "kovaro did not close"; kill $pid; exit 1; fi
  wait $pid
' smoke "$binary" "$shot" "$here" "$title" "$project"
