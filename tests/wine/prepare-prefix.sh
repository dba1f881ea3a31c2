#!/usr/bin/env bash
# Makes (or updates) the Wine prefix the Windows tests run in.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
mkdir -p "$WINEPREFIX"
timeout 300 "$WINE" wineboot -u >/dev/null 2>&1
"$(dirname "$WINE")/wineserver" -w 2>/dev/null || wineserver -w 2>/dev/null || true
test -d "$WINEPREFIX/drive_c/windows"
echo "Wine prefix ready: $WINEPREFIX"
