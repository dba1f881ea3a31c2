#!/usr/bin/env bash
# A PC captured and replayed. The machine in machines/removal is loaded into a Wine prefix as the
# removal cases load it, captured there by NorvaneCapture.exe (through Wine's own registry and
# files), then removed twice: by Norvane.exe in the prefix, through the test spooler, and by
# norvane over the captured folder. Both must exit alike, write the same log, make the same
# registry changes, delete and create the same files (the DEVMODE files with the same names and
# sizes: a capture keeps no printer settings) and ask their spoolers the same things.
#   capture-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 resources=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/removal
. "$here/wine-env.sh"
require_built "$package/Norvane.exe" "$package/NorvaneCapture.exe" "$package/ENU/Norvane.dll" \
  "$windows_tests/winspool.drv" "$windows_tests/pnputil.exe"

. "$here/removal-lib.sh"

# What differs between two sorted listings, as "- gone" and "+ new" lines; a DEVMODE, whose
# settings a capture does not keep, as its size.
changes() {
  diff "$1" "$2" | sed -n 's/^< /- /p; s/^> /+ /p' | awk '
    match($0, /"Default DevMode"=hex:/) {
      data = substr($0, RSTART + RLENGTH)
      $0 = substr($0, 1, RSTART - 1) "\"Default DevMode\"=" gsub(/,/, ",", data) + 1 " bytes"
    }
    { print }' | sort
}

capture() {
  (cd "$prefix/drive_c/$program_folder" &&
    WINEPREFIX=$prefix timeout 120 "$WINE" 'C:\Program Files\Halvex\Norvane\NorvaneCapture.exe' \
      "$(windows_path "$sim")") >"$case_dir/capture.out" 2>"$case_dir/capture.err"
}

# The state both removals start from, and then what each changed.
listings() {
  wine_registry "$prefix" >"$case_dir/wine.registry.$1"
  normalise_reg UTF-8 <"$sim/registry.reg" >"$case_dir/sim.registry.$1"
  drive_listing "$prefix/drive_c" >"$case_dir/wine.files.$1"
  drive_listing "$sim/drive_c" >"$case_dir/sim.files.$1"
}

devmode_files() {
  local bin
  for bin in "$1"/*.bin; do
    [ -e "$bin" ] && printf '%s %s\n' "${bin##*/}" "$(stat -c %s "$bin")"
  done
}

#   capture_case NAME COMMAND_LINE
capture_case() {
  local name=$1 command_line=$2 side
  begin "$name"
  install_wine ''
  cp "$package/NorvaneCapture.exe" "$prefix/drive_c/$program_folder/"
  sim=$case_dir/captured
  capture || fail "NorvaneCapture.exe exited with $?: $(cat "$case_dir/capture.err")"
  if [ ! -f "$sim/registry.reg" ] || [ ! -f "$sim/machine.json" ]; then
    fail "the capture wrote no machine"; stop_prefix "$prefix"; return
  fi
  listings before
  # shellcheck disable=SC2086 # the command line is split into words as a shell would
  run_wine $command_line
  run_sim "$command_line"
  listings after
  [ "$wine_exit" = "$sim_exit" ] || fail "Norvane.exe exited with $wine_exit, norvane with $sim_exit"
  for side in wine sim; do
    changes "$case_dir/$side.registry.before" "$case_dir/$side.registry.after" \
      >"$case_dir/$side.registry.changes"
    changes "$case_dir/$side.files.before" "$case_dir/$side.files.after" \
      >"$case_dir/$side.files.changes"
  done
  [ -s "$case_dir/wine.files.changes" ] || fail "the removal under Wine changed no file"
  compare "the registry changes" "$case_dir/wine.registry.changes" "$case_dir/sim.registry.changes"
  compare "the file changes" "$case_dir/wine.files.changes" "$case_dir/sim.files.changes"
  compare "the logs" <(without_time "$prefix/drive_c/$program_folder/Norvane.log") \
    <(without_time "$sim/drive_c/$program_folder/Norvane.log")
  compare "the DEVMODE files" <(devmode_files "$prefix/drive_c/$program_folder") \
    <(devmode_files "$sim/drive_c/$program_folder")
  check_spooler_calls
  stop_prefix "$prefix"
  end
}

# A whole series with its printers (a connection among them, the default one), drivers and x86
# twins, data folders, language monitor, print processor, spool folders and driver package.
capture_case series '/s /e /x Model A'

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
