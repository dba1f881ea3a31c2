#!/usr/bin/env bash
# Utility removal by Norvane.exe under Wine, through its real Win32 process code, and the same
# removal on a simulated machine: both must leave the same log (apart from its date and time).
#
# The machine is machines/utilities: two utilities in config.ini with their recorded responses
# (ISS\<id>.iss) and their uninstall entries. Their uninstallers are copies of the stand-in
# program (tests/windows/programs) under Wine, and programs of machine.json on the simulated
# machine, both made from the table below. StatusMonitor's uninstaller hands its work over to a
# worker that runs on for a while and then writes the program folder's ISS\setup.log;
# PrintCenter's writes it itself. The stand-ins trace what they do to one file, which shows that
# Norvane.exe waited for the worker before it went on to the next utility.
#   utility-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 resources=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/utilities
. "$here/wine-env.sh"
for built in "$package/Norvane.exe" "$package/ENU/Norvane.dll" "$windows_tests/stand_in.exe"; do
  [ -f "$built" ] || { echo "FAIL: $built is missing: build the Windows tree first"; exit 1; }
done

program_folder='Program Files/Halvex/Norvane'
program_windows='C:\Program Files\Halvex\Norvane\Norvane.exe'
# The program folder as Norvane composes the response file paths from it: its path in lower case.
module_dir='c:\program files\halvex\norvane\'
setup_log='C:\Program Files\Halvex\Norvane\ISS\setup.log'
status_guid='{5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}'
installshield='C:\Program Files (x86)\InstallShield Installation Information'
status_monitor="$installshield\\$status_guid\\setup.exe"
worker="C:\\windows\\temp\\$status_guid\\setup.exe"
print_center='C:\Program Files (x86)\Corvida\Print Center\uninst.exe'
# The programs, one a line: executable|milliseconds it runs|program it hands over to|the
# ResultCode it writes to setup.log (none when empty).
programs=(
  "$status_monitor|0|$worker|"
  "$worker|1500||0"
  "$print_center|0||0"
)

work=$(mktemp -d)
prefix=$work/prefix
sim=$work/sim
trace=$work/trace.txt
cleanup() {
  [ -d "$prefix" ] && WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL utilities: $*"; failed=$((failed + 1)); }

# A Linux path as Wine names it on its Z: drive.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
# Where a C: path lies below a drive_c folder.
on_drive() { local path=${2#C:\\}; printf '%s/%s' "$1" "${path//\\//}"; }
# A text as a JSON string.
json() { local text=${1//\\/\\\\}; printf '"%s"' "${text//\"/\\\"}"; }

# A prefix of its own: the shared prefix's registry with the machine's imported, and its C: drive
# as links with the machine's files copied over them (never through them), Norvane.exe with its
# English library, and a stand-in with its side file for each program.
install_wine() {
  make_prefix "$prefix" "$program_folder"
  local import=$work/import.reg
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$machine/registry.reg"; } >"$import"
  WINEPREFIX=$prefix timeout 60 "$WINE" regedit /S "$(windows_path "$import")" 2>/dev/null ||
    fail "regedit could not import the machine's registry"
  cp -r --remove-destination "$machine/drive_c/." "$prefix/drive_c/"
  mkdir -p "$prefix/drive_c/$program_folder/ENU"
  cp "$package/Norvane.exe" "$prefix/drive_c/$program_folder/"
  cp "$package/ENU/Norvane.dll" "$prefix/drive_c/$program_folder/ENU/"
  local entry exe run_ms child result_code
  for entry in "${programs[@]}"; do
    IFS='|' read -r exe run_ms child result_code <<<"$entry"
    exe=$(on_drive "$prefix/drive_c" "$exe")
    mkdir -p "$(dirname "$exe")"
    cp --remove-destination "$windows_tests/stand_in.exe" "$exe"
    printf '%s\r\n' '[Program]' "Child=$child" "RunMs=$run_ms" "SetupLog=$setup_log" \
      "ResultCode=$result_code" "Trace=$(windows_path "$trace")" >"$exe.ini"
  done
}

# The same machine simulated, its programs in machine.json (their executables only need to be
# files on its drive); its language library is the resource script, and its Windows folder is
# spelled as Wine's is, "C:\windows", since the log shows it.
install_sim() {
  cp -r "$machine" "$sim"
  mkdir -p "$sim/drive_c/$program_folder/ENU"
  cp "$resources/ENU/Norvane.rc" "$sim/drive_c/$program_folder/ENU/Norvane.dll"
  local entry exe run_ms child result_code separator=''
  {
    printf '{ "fileVersion": "%s", "windowsDir": "C:\\\\windows", "programs": {' "$version"
    for entry in "${programs[@]}"; do
      IFS='|' read -r exe run_ms child result_code <<<"$entry"
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

without_time() { tr -d '\r' <"$1" | grep -v -E '^Log(Date|Time)='; }

install_wine
install_sim
(cd "$prefix/drive_c/$program_folder" &&
  WINEPREFIX=$prefix timeout 120 "$WINE" "$program_windows" /s /p NoSuchPrinter /u 1) \
  >/dev/null 2>"$work/wine.err"
WINEPREFIX=$prefix timeout 60 "$WINESERVER" -w
"$norvane" --machine "$sim" --ui none --cmdline '/s /p NoSuchPrinter /u 1' >"$work/sim.out" 2>&1

wine_log=$prefix/drive_c/$program_folder/Norvane.log
sim_log=$sim/drive_c/$program_folder/Norvane.log
if [ ! -f "$wine_log" ]; then
  fail "no log under Wine"
else
  for line in '[UtilityUninstResult]' 'StatusMonitor=0' 'PrintCenter=0' 'NoSuchPrinter=4'; do
    without_time "$wine_log" | grep -qxF -- "$line" || fail "the log lacks the line: $line"
  done
  if [ ! -f "$sim_log" ]; then
    fail "no log on the simulated machine: $(cat "$work/sim.out")"
  elif ! diff <(without_time "$wine_log") <(without_time "$sim_log") >"$work/diff"; then
    fail "the logs differ (< Wine, > simulated machine):"; cat "$work/diff"
  fi
fi
[ ! -e "$(on_drive "$prefix/drive_c" "$setup_log")" ] || fail "setup.log is still there"

# The stand-ins' trace: each uninstaller started by Norvane.exe with its response file, the
# worker started by the first, and the second uninstaller started only after the worker's end.
lines=$(tr -d '\r' <"$trace" 2>/dev/null)
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
[ "$failed" = 0 ] || { echo "The stand-ins' trace:"; printf '%s\n' "$lines"; }

[ "$failed" = 0 ] && echo "ok   utilities"
[ "$failed" = 0 ]
