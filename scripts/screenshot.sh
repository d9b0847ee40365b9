#!/usr/bin/env bash
# Usage: screenshot.sh OUT.png SECONDS COMMAND [ARGS...]
# Runs COMMAND under Xvfb with a window manager (openbox), waits SECONDS, takes a
# screenshot of the whole screen into OUT.png, then stops everything.
out="$1"; wait="$2"; shift 2
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox >/dev/null 2>&1 & sleep 1
  "$@" & app=$!
  sleep '"$wait"'
  import -window root '"$out"'
  kill $app 2>/dev/null; sleep 0.5; kill -9 $app 2>/dev/null; true
' bash "$@"
