#!/usr/bin/env bash
# Runs a Windows console program under Wine and passes on its exit status. With --display first,
# on a virtual display of its own, for a program that makes windows.
set -euo pipefail
here=$(dirname "$0")
. "$here/wine-env.sh"
if [ "${1:-}" = --display ]; then
  shift
  . "$here/display.sh"
  make_work
  start_display || { echo "FAIL: no virtual display (install xvfb)"; exit 1; }
fi
status=0
timeout 600 "$WINE" "$@" || status=$?
# On a display, the prefix's processes end before it closes.
[ -z "${DISPLAY:-}" ] || "$WINESERVER" -k 2>/dev/null || true
exit "$status"
