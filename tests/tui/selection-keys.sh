#!/usr/bin/env bash
# The terminal UI driven by keys through tmux: the selection dialog shows its column headers and
# rows in an 80x24 terminal, Space ticks the focused row, and Escape ends the program.
# Usage: selection-keys.sh NORVANE NORVANE_MACHINE DEMO_MACHINE
set -euo pipefail
norvane=$1 machine_tool=$2 demo=$3
work=$(mktemp -d)
session=norvane-tui-$$
trap 'tmux kill-session -t "$session" 2>/dev/null || true; rm -rf "$work"' EXIT
"$machine_tool" new "$work/demo" --from "$demo" >/dev/null
tmux new-session -d -s "$session" -x 80 -y 24 \
  "LC_ALL=C.UTF-8 TERM=xterm '$norvane' --machine '$work/demo' --ui tui; echo \"EXITED \$?\"; sleep 60"

# Waits until the screen shows the text, or fails after five seconds.
expect_screen() {
  for _ in $(seq 50); do
    tmux capture-pane -p -t "$session" | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  echo "the screen never showed: $1"; tmux capture-pane -p -t "$session"; exit 1
}

expect_screen "Printer"
expect_screen "Driver"
expect_screen "[ ] Corvida Model A (Reception)"
expect_screen "[ ] (no printer)"
expect_screen "< Remove >"
tmux send-keys -t "$session" Space
expect_screen "[x] Corvida Model A "
expect_screen "[-] Select all"
tmux send-keys -t "$session" Escape
expect_screen "EXITED 0"
grep -q "Dialog 130 ended -> 2" "$work/demo/journal.log"
echo "ok"
