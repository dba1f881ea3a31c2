#!/usr/bin/env bash
# Norvane.exe's start-up under Wine, through Wine's own kernel32 (private-profile writer, files,
# library loader), and the same cases on the simulated machine: both must leave the same log,
# line for line apart from the date and time.
#   startup-cases.sh PACKAGE_DIR NORVANE NORVANE_MACHINE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 norvane=$2 norvane_machine=$3 resources=$4 version=$5
. "$(dirname "$0")/wine-env.sh"

program_unix="$WINEPREFIX/drive_c/Program Files/Halvex/Norvane"
program_windows='C:\Program Files\Halvex\Norvane\Norvane.exe'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

fail() { echo "FAIL $case_name: $*"; failed=$((failed + 1)); case_ok=0; }

# The program folder under Wine: Norvane.exe and the given language folders ("." is the
# library beside the executable).
install_wine() {
  rm -rf "$program_unix" "$WINEPREFIX/drive_c/Logs"
  mkdir -p "$program_unix"
  cp "$package/Norvane.exe" "$program_unix/"
  for lang in "$@"; do
    if [ "$lang" = . ]; then cp "$package/ENU/Norvane.dll" "$program_unix/Norvane.dll"
    else mkdir -p "$program_unix/$lang" && cp "$package/$lang/Norvane.dll" "$program_unix/$lang/"; fi
  done
}

# The same program folder on a simulated machine, whose libraries are the resource scripts.
install_sim() {
  sim="$work/sim-$case_name"
  rm -rf "$sim"
  "$norvane_machine" new "$sim" >/dev/null
  printf '{ "fileVersion": "%s", "systemDefaultLangId": %d }\n' "$version" "$wine_langid" >"$sim/machine.json"
  local folder="$sim/drive_c/Program Files/Halvex/Norvane"
  for lang in "$@"; do
    if [ "$lang" = . ]; then cp "$resources/ENU/Norvane.rc" "$folder/Norvane.dll"
    else mkdir -p "$folder/$lang" && cp "$resources/$lang/Norvane.rc" "$folder/$lang/Norvane.dll"; fi
  done
}

# Runs Norvane.exe under Wine; its exit status goes to $wine_status, the libraries it loaded to
# $work/loaded. A message box nobody answers would hold it until the timeout (status 124).
run_wine() {
  (cd "$program_unix" && WINEDEBUG=+loaddll timeout 120 "$WINE" "$program_windows" "$@") \
    2>"$work/wine.err" >/dev/null
  wine_status=$?
  grep -o 'Loaded L"[^"]*Norvane.dll"' "$work/wine.err" >"$work/loaded" || true
}

run_sim() { "$norvane" --machine "$sim" --ui none --cmdline "$*" >/dev/null 2>&1; }

without_time() { tr -d '\r' <"$1" | grep -v -E '^Log(Date|Time)='; }

# Compares the two logs, and checks that the Wine log holds the given lines.
check_logs() {
  local wine_log=$1 sim_log=$2; shift 2
  [ -f "$wine_log" ] || { fail "no log at $wine_log under Wine"; return; }
  [ -f "$sim_log" ] || { fail "no log at $sim_log on the simulated machine"; return; }
  if ! diff <(without_time "$wine_log") <(without_time "$sim_log") >"$work/diff"; then
    fail "the logs differ (< Wine, > simulated machine):"; cat "$work/diff"
  fi
  for line in "$@"; do
    tr -d '\r' <"$wine_log" | grep -qxF -- "$line" || fail "the log lacks the line: $line"
  done
}

check_loaded() {
  grep -qiF "$1" "$work/loaded" || fail "expected $1 to be loaded; loaded: $(tr '\n' ' ' <"$work/loaded")"
}

begin() { case_name=$1; case_ok=1; }
end() { [ "$case_ok" = 1 ] && { echo "ok   $case_name"; passed=$((passed + 1)); }; }

# Wine's system default language, so that the simulated machine is set up alike.
wine_langid=1033

begin missing-config
install_wine ENU; install_sim ENU
run_wine /s /d Model A; run_sim /s /d Model A
check_logs "$program_unix/Norvane.log" "$sim/drive_c/Program Files/Halvex/Norvane/Norvane.log" \
  '; Norvane.log' '[UninstResult]' 'Model A=2' 'Name=Halvex' "Version=${version%.*}" 'Company=Corvida'
end

begin rejected-switch
install_wine ENU; install_sim ENU
run_wine /s /d A /q; run_sim /s /d A /q
check_logs "$program_unix/Norvane.log" "$sim/drive_c/Program Files/Halvex/Norvane/Norvane.log" 'A=5'
end

begin japanese-library
install_wine ENU JPN; install_sim ENU JPN
run_wine /s /l 0x0411 /d A; run_sim /s /l 0x0411 /d A
check_loaded 'JPN\\Norvane.dll'
check_logs "$program_unix/Norvane.log" "$sim/drive_c/Program Files/Halvex/Norvane/Norvane.log" 'A=2'
end

begin fallback-to-english
install_wine ENU; install_sim ENU
run_wine /s /l 0x0411 /d A
check_loaded 'ENU\\Norvane.dll'
end

begin fallback-to-program-folder
install_wine .; install_sim .
run_wine /s /l 0x0411 /d A; run_sim /s /l 0x0411 /d A
check_loaded 'Norvane\\Norvane.dll'
check_logs "$program_unix/Norvane.log" "$sim/drive_c/Program Files/Halvex/Norvane/Norvane.log" 'A=2'
end

begin nested-log-folder
install_wine ENU; install_sim ENU
run_wine /s /o 'C:\Logs\Norvane\Nested' /d A; run_sim /s /o 'C:\Logs\Norvane\Nested' /d A
[ -d "$WINEPREFIX/drive_c/Logs/Norvane/Nested/testnorv" ] || fail "the nested folder was not made"
check_logs "$WINEPREFIX/drive_c/Logs/Norvane/Nested/Norvane.log" \
  "$sim/drive_c/Logs/Norvane/Nested/Norvane.log" 'A=2'
end

# Without a language library a silent run shows nothing, logs code 6 and, with /e, exits 1.
begin no-library-silent
install_wine; install_sim
run_wine /s /e /d A; run_sim /s /e /d A
[ "$wine_status" = 1 ] || fail "Norvane.exe ended with $wine_status, not 1"
check_logs "$program_unix/Norvane.log" "$sim/drive_c/Program Files/Halvex/Norvane/Norvane.log" 'A=6'
end

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
