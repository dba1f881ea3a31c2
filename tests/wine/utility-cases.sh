#!/usr/bin/env bash
# Utility and scanner removals by Norvane.exe under Wine, through its real Win32 process code, and
# the same removals on a simulated machine: both must leave the same log (apart from its date and
# time).
#
# The machine is machines/utilities: two utilities in config.ini with their recorded responses
# (ISS\<id>.iss) and their uninstall entries, and two scanners with theirs. The programs Norvane
# starts are copies of the stand-in program (tests/windows/programs) under Wine, and programs of
# machine.json on the simulated machine, both made from a table per case. The stand-ins trace
# what they do to one file per case, which shows how Norvane.exe started them and waited for
# them. Each case runs in a Wine prefix and a simulated machine of its own.
#   utility-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 resources=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/utilities
. "$here/wine-env.sh"
require_built "$package/Norvane.exe" "$package/ENU/Norvane.dll" "$windows_tests/stand_in.exe" \
  "$windows_tests/piped_run.exe"

program_folder='Program Files/Halvex/Norvane'
program_windows='C:\Program Files\Halvex\Norvane\Norvane.exe'
# The program folder as Norvane composes the response file paths from it: its path in lower case.
module_dir='c:\program files\halvex\norvane\'
installshield='C:\Program Files (x86)\InstallShield Installation Information'

# The programs of a case, one a line:
#   executable|milliseconds it runs|program it hands over to|setup.log it writes|its ResultCode
# (nothing is written when the ResultCode is empty).
#
# StatusMonitor's uninstaller hands its work over to a worker that runs on for a while and then
# writes the program folder's ISS\setup.log; PrintCenter's writes it itself.
utility_log='C:\Program Files\Halvex\Norvane\ISS\setup.log'
status_guid='{5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}'
status_monitor="$installshield\\$status_guid\\setup.exe"
worker="C:\\windows\\temp\\$status_guid\\setup.exe"
print_center='C:\Program Files (x86)\Corvida\Print Center\uninst.exe'
utility_programs=(
  "$status_monitor|0|$worker||"
  "$worker|1500||$utility_log|0"
  "$print_center|0||$utility_log|0"
)
# Scanner A's setup program runs for a while and writes setup.log beside itself, where Norvane
# looks for its result only once it has waited for its end.
scanner_setup="$installshield\\{C3D8A1F4-7B26-4E0D-9A5C-E14F82B6D039}\\setup.exe"
scanner_log="${scanner_setup%\\*}\\setup.log"
scanner_programs=("$scanner_setup|1000||$scanner_log|0")

make_work
failed=0

fail() { echo "FAIL $case_name: $*"; failed=$((failed + 1)); case_ok=0; }
# Starts a case with its table of programs: its own folder for the prefix, the simulated machine
# and the stand-ins' trace. A case may set `added` to registry text both machines get,
# `overrides` to DLL overrides of its Wine session, and `launcher` to a program that starts
# Norvane.exe under Wine.
begin() {
  case_name=$1 case_ok=1 case_dir=$work/$1 added='' overrides='' launcher=()
  programs=("${@:2}")
  prefix=$case_dir/prefix sim=$case_dir/sim trace=$case_dir/trace.txt lines=''
  mkdir -p "$case_dir"
}
# Ends a case; a failed one shows the stand-ins' trace.
end() {
  if [ "$case_ok" = 1 ]; then
    echo "ok   $case_name"
  else
    echo "The stand-ins' trace:"; printf '%s\n' "$lines"
  fi
}

# A Linux path as Wine names it on its Z: drive.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
# Where a C: path lies below a drive_c folder.
on_drive() { local path=${2#C:\\}; printf '%s/%s' "$1" "${path//\\//}"; }
# A text as a JSON string.
json() { local text=${1//\\/\\\\}; printf '"%s"' "${text//\"/\\\"}"; }
# Arguments as one Windows command line, joined as Wine joins them: one with a space in quotes.
command_line() {
  local arg line=''
  for arg; do
    [[ $arg == *' '* ]] && arg="\"$arg\""
    line+=${line:+ }$arg
  done
  printf '%s' "$line"
}

# The case's prefix: the shared prefix's registry with the machine's imported, and its C: drive
# as links with the machine's files copied over them (never through them), Norvane.exe with its
# English library, and a stand-in with its side file for each program of the case.
install_wine() {
  make_prefix "$prefix" "$program_folder"
  local import=$case_dir/import.reg
  { printf '\xff\xfe'; cat "$machine/registry.reg" <(printf '%s' "$added") |
    iconv -f UTF-8 -t UTF-16LE; } >"$import"
  WINEPREFIX=$prefix timeout 60 "$WINE" regedit /S "$(windows_path "$import")" 2>/dev/null ||
    fail "regedit could not import the machine's registry"
  cp -r --remove-destination "$machine/drive_c/." "$prefix/drive_c/"
  mkdir -p "$prefix/drive_c/$program_folder/ENU"
  cp "$package/Norvane.exe" "$prefix/drive_c/$program_folder/"
  cp "$package/ENU/Norvane.dll" "$prefix/drive_c/$program_folder/ENU/"
  local entry exe run_ms child setup_log result_code
  for entry in "${programs[@]}"; do
    IFS='|' read -r exe run_ms child setup_log result_code <<<"$entry"
    exe=$(on_drive "$prefix/drive_c" "$exe")
    mkdir -p "$(dirname "$exe")"
    cp --remove-destination "$windows_tests/stand_in.exe" "$exe"
    printf '%s\r\n' '[Program]' "Child=$child" "RunMs=$run_ms" "SetupLog=$setup_log" \
      "ResultCode=$result_code" "Trace=$(windows_path "$trace")" >"$exe.ini"
  done
}

# The same machine simulated, the case's programs in machine.json (their executables only need
# to be files on its drive); its language library is the resource script, and its Windows folder
# is spelled as Wine's is, "C:\windows", since the log shows it.
install_sim() {
  cp -r "$machine" "$sim"
  printf '%s' "$added" >>"$sim/registry.reg"
  mkdir -p "$sim/drive_c/$program_folder/ENU"
  cp "$resources/ENU/Norvane.rc" "$sim/drive_c/$program_folder/ENU/Norvane.dll"
  local entry exe run_ms child setup_log result_code separator=''
  {
    printf '{ "fileVersion": "%s", "windowsDir": "C:\\\\windows", "programs": {' "$version"
    for entry in "${programs[@]}"; do
      IFS='|' read -r exe run_ms child setup_log result_code <<<"$entry"
      mkdir -p "$(dirname "$(on_drive "$sim/drive_c" "$exe")")"
      touch "$(on_drive "$sim/drive_c" "$exe")"
      printf '%s\n  %s: { "runMs": %s' "$separator" "$(json "$exe")" "$run_ms"
      [ -z "$child" ] || printf ', "child": %s' "$(json "$child")"
      [ -z "$result_code" ] ||
        printf ', "writeIni": [{ "file": %s, %s, "value": "%s" }]' "$(json "$setup_log")" \
          '"section": "ResponseResult", "key": "ResultCode"' "$result_code"
      printf ' }'
      separator=,
    done
    printf '\n} }\n'
  } >"$sim/machine.json"
}

# Runs Norvane.exe with the arguments on both machines, waiting under Wine for everything it
# started to end, and reads the stand-ins' trace into `lines`. The largest resident size that
# Norvane.exe's process (or any process it waited for) reached goes to `peak_kb`; what Wine's
# first program prints, to $case_dir/wine.out.
run_both() {
  install_wine
  install_sim
  (cd "$prefix/drive_c/$program_folder" &&
    WINEPREFIX=$prefix WINEDLLOVERRIDES="$WINEDLLOVERRIDES$overrides" \
      /usr/bin/time -f %M -o "$case_dir/peak" \
      timeout 120 "$WINE" "${launcher[@]}" "$program_windows" "$@") >"$case_dir/wine.out" \
    2>"$case_dir/wine.err"
  peak_kb=$(tail -n 1 "$case_dir/peak")
  WINEPREFIX=$prefix timeout 60 "$WINESERVER" -w
  "$norvane" --machine "$sim" --ui none --cmdline "$(command_line "$@")" >"$case_dir/sim.out" 2>&1
  lines=$(tr -d '\r' <"$trace" 2>/dev/null)
}

without_time() { tr -d '\r' <"$1" | grep -v -E '^Log(Date|Time)='; }

# The lines the Wine log must hold, and the simulated machine's log the same.
check_log() {
  local wine_log=$prefix/drive_c/$program_folder/Norvane.log
  local sim_log=$sim/drive_c/$program_folder/Norvane.log line
  [ -f "$wine_log" ] || { fail "no log under Wine"; return; }
  for line in "$@"; do
    without_time "$wine_log" | grep -qxF -- "$line" || fail "the log lacks the line: $line"
  done
  if [ ! -f "$sim_log" ]; then
    fail "no log on the simulated machine: $(cat "$case_dir/sim.out")"
  elif ! diff <(without_time "$wine_log") <(without_time "$sim_log") >"$case_dir/diff"; then
    fail "the logs differ (< Wine, > simulated machine):"; cat "$case_dir/diff"
  fi
}

# The number of the first trace line that ends with the text, or nothing.
line_ending() {
  SUFFIX=$1 awk '{ n = length(ENVIRON["SUFFIX"]) }
    n <= length($0) && substr($0, length($0) - n + 1) == ENVIRON["SUFFIX"] { print NR; exit }' \
    <<<"$lines"
}
# The number of the first trace line that matches the extended regular expression, or nothing.
line_matching() { grep -n -m1 -x -E -- "$1" <<<"$lines" | cut -d: -f1; }
# Field $2 of trace line $1 (of a start line, field 2 is the process id).
field() { sed -n "$1p" <<<"$lines" | cut -d' ' -f"$2"; }

# Each uninstaller started by Norvane.exe with its response file, the worker started by the
# first, and the second uninstaller started only after the worker's end; the setup.log they
# wrote is gone.
begin utilities "${utility_programs[@]}"
run_both /s /p NoSuchPrinter /u 1
check_log '[UtilityUninstResult]' 'StatusMonitor=0' 'PrintCenter=0' 'NoSuchPrinter=4'
[ ! -e "$(on_drive "$prefix/drive_c" "$utility_log")" ] || fail "setup.log is still there"
first_args=" args \"$status_monitor\" -runfromtemp -l0x0409 -removeonly /s"
first_args+=" -f1\"${module_dir}ISS\\StatusMonitor.iss\""
second_args=" args \"$print_center\" /s -f1\"${module_dir}ISS\\PrintCenter.iss\""
first_start=$(line_ending "$first_args")
second_start=$(line_ending "$second_args")
[ -n "$first_start" ] || fail "StatusMonitor's uninstaller was not started with:$first_args"
[ -n "$second_start" ] || fail "PrintCenter's uninstaller was not started with:$second_args"
if [ -n "$first_start" ]; then
  first=$(field "$first_start" 2)
  handed_over=$(line_matching "started child [0-9]+")
  [ -n "$handed_over" ] && worker_id=$(field "$handed_over" 3)
  worker_start=$(line_matching "start ${worker_id:-none} parent $first args .*")
  worker_end=$(line_matching "end ${worker_id:-none}")
  if [ -z "$worker_start" ] || [ -z "$worker_end" ]; then
    fail "the worker did not run as the first uninstaller's child"
  elif [ -n "$second_start" ] && [ "$second_start" -lt "$worker_end" ]; then
    fail "Norvane.exe started the second uninstaller before the worker's end"
  fi
fi
end

# Scanner A's setup program started with only the silent options after its quoted path, its
# result read from the setup.log it leaves beside itself, which stays; Scanner B's entry names no
# quoted program and Scanner C is not in config.ini: neither can be removed.
begin scanners "${scanner_programs[@]}"
run_both /s /t 'Scanner A,Scanner B,Scanner C'
check_log '[ScannerUninstResult]' 'Scanner A=0' 'Scanner B=4' 'Scanner C=4'
scanner_args=" args \"$scanner_setup\" /s /zop8"
[ -n "$(line_ending "$scanner_args")" ] ||
  fail "Scanner A's setup program was not started with:$scanner_args"
[ -f "$(on_drive "$prefix/drive_c" "$scanner_log")" ] || fail "setup.log is gone under Wine"
[ -f "$(on_drive "$sim/drive_c" "$scanner_log")" ] ||
  fail "setup.log is gone on the simulated machine"
end

# Norvane.exe started as a deployment tool starts it, its output on a pipe that the tool reads to
# the end. StatusMonitor's worker leaves a sleeper behind that runs 20 s, passing on what it
# inherited; the pipe must end with Norvane.exe, well within those 20 s, so no copy of it may
# reach the programs Norvane.exe starts.
sleeper='C:\windows\temp\sleeper.exe'
begin piped-output "$status_monitor|0|$worker||" "$worker|1500|$sleeper|$utility_log|0" \
  "$sleeper|20000|||" "$print_center|0||$utility_log|0"
launcher=("$(windows_path "$windows_tests/piped_run.exe")")
run_both /s /p NoSuchPrinter /u 1
check_log '[UtilityUninstResult]' 'StatusMonitor=0' 'PrintCenter=0' 'NoSuchPrinter=4'
[ -n "$(line_ending " args \"$sleeper\"")" ] ||
  fail "the worker left no sleeper behind"
grep -q '^the pipe ended ' "$case_dir/wine.out" ||
  fail "the pipe outlived Norvane.exe: $(tr -d '\r' <"$case_dir/wine.out")"
end

# A pending-rename list of a few KB that names StatusMonitor's restart-check file: its removal
# ends with the next restart (-1), PrintCenter's does not (0). The list is read at the size it
# has: Norvane.exe stays below 64 MB. Wine's wineboot, which begins each session, does what the
# start of Windows does and carries the renames out; the run goes without it, as on a Windows
# machine before its restart.
pending=()
for i in $(seq -w 1 60); do pending+=("\\??\\C:\\windows\\temp\\cvtmp${i}\\leftover.tmp" ''); done
pending+=('\??\C:\Program Files (x86)\Corvida\Status Monitor\CVSMHOOK.DLL' '')
pending_hex=$( (printf '%s\0' "${pending[@]}"; printf '\0') | iconv -f UTF-8 -t UTF-16LE |
  od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
begin restart-check "${utility_programs[@]}"
added=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager]\r\n'
added+="\"PendingFileRenameOperations\"=hex(7):$pending_hex"$'\r\n\r\n'
overrides=';wineboot.exe=d'
run_both /s /p NoSuchPrinter /u 1
check_log '[UtilityUninstResult]' 'StatusMonitor=-1' 'PrintCenter=0' 'NoSuchPrinter=4'
[ "$(( ${#pending_hex} / 3 ))" -gt 4096 ] || fail "the pending-rename list is too short"
echo "     peak resident size of Norvane.exe under Wine: ${peak_kb:-?} KB"
[ "${peak_kb:-999999}" -lt 65536 ] 2>/dev/null ||
  fail "Norvane.exe reached ${peak_kb:-?} KB, at least 64 MB"
end

[ "$failed" = 0 ]
