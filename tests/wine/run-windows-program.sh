#!/usr/bin/env bash
# Runs a Windows console program under Wine and passes on its exit status.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
timeout 600 "$WINE" "$@"
