#!/usr/bin/env bash
# Whole silent removals by Norvane.exe under Wine, through its real Win32 spooler code, against the
# test spooler (tests/windows/spooler: a winspool.drv made of the simulated spooler over Wine's own
# registry and files, since Wine's deletion functions are stubs), and the same removals on a
# simulated machine. Both must leave the same printing keys, maker keys and RunOnce values, the
# same files, the same log (apart from its date and time) and the same DEVMODE files, and both
# spoolers must have been asked the same things in the same order.
#
# Each case starts from the machine in machines/removal, loaded into a Wine prefix of its own: a
# copy of the shared prefix's registry files and a tree of links to its C: drive, so that the
# shared prefix stays as it was and a failed case leaves nothing behind. What Wine holds of its
# own under the compared keys and folders (its port monitor, print processors, inf files, DLLs)
# is read from such a copy first and left out of both sides; it must still be there after each
# run.
#   removal-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 resources=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/removal
. "$here/wine-env.sh"
require_built "$package/Norvane.exe" "$package/ENU/Norvane.dll" "$windows_tests/winspool.drv" \
  "$windows_tests/pnputil.exe" "$windows_tests/spooler_cases_windows.exe" \
  "$windows_tests/ini_value.exe"

. "$here/removal-lib.sh"

# A whole series designated by one of its drivers: printers (a connection among them, the default
# one), drivers with their x86 twins, data folders, language monitor, print processor, spool
# folders and driver package go; the other series and the other maker's driver and printer stay.
removal_case series '' '/s /x Model A' 'Model A=0' 'Model A PS=0' 'Office=0' '\\srv\Hall=0' \
  'DEVMODE=Office.bin' 'DEVMODE=__srv_Hall~d254147f.bin' \
  'SettingsFile=__srv_Hall~d254147f.bin'

# The language monitor has a port that a printer which stays prints to: the spooler refuses to
# delete it, so it is put off until after a restart through the maker keys and RunOnce.
port=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Model A LangMon'
port+=$'\\Ports\\CVLM001]\r\n\r\n'
port+=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Language Desk]\r\n'
port+=$'"Port"="CVLM001"\r\n"Print Processor"="winprint"\r\n"Printer Driver"="Model B"\r\n\r\n'
removal_case monitor-in-use "$port" '/s /x Model A' 'Model A=-1' 'Model A PS=-1' 'Lobby=0'

# A printer alone: its driver stays; a name that matches nothing gets 4.
removal_case printer '' '/s /p Lobby, Nowhere' 'Lobby=0' 'Nowhere=4'

# A printer whose name the ANSI code page (1252, Wine's here as the simulated machine's) cannot
# hold: the log turns UTF-16LE before the name goes in, so that it holds one section of that name
# and the results are found under it by the profile functions, Wine's own.
wide_name='Drucker Büro ☃ 日本'
wide_printer=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\'
wide_printer+="$wide_name"$']\r\n"Port"="USB002"\r\n"Print Processor"="winprint"\r\n'
wide_printer+=$'"Printer Driver"="Model B"\r\n\r\n'
# The values a calling installer reads back, through kernel32 under Wine.
check_wide_results() {
  local log='C:\Program Files\Halvex\Norvane\Norvane.log' section key expected value
  cp "$windows_tests/ini_value.exe" "$prefix/drive_c/"
  while IFS='|' read -r section key expected; do
    value=$(WINEPREFIX=$prefix timeout 60 "$WINE" 'C:\ini_value.exe' "$log" "$section" "$key" \
      2>/dev/null)
    [ "$value" = "$expected" ] || fail "[$section] $key reads \"$value\", not \"$expected\""
  done <<EOF
DelPrinterResult|$wide_name|0
UninstResult|$wide_name|0
PrinterInfo $wide_name|DriverName|Model B
PrinterInfo $wide_name|DEVMODE|$wide_name.bin
Application|Name|Halvex
EOF
}
case_check=check_wide_results
removal_case wide-name "$wide_printer" "/s /p $wide_name" "$wide_name=0" \
  "[PrinterInfo $wide_name]"
case_check=

# With /e the exit code tells the outcome, Norvane.exe's under Wine as the simulated runner's.
# "/v": the trace beside the log tells the same changes with the same outcomes on both sides
# (the text field of each change line, without the system message's wording, which is Wine's,
# and in lower case, as Windows compares names: Wine spells its System32 folder in lower case).
# Wine's registry has a RunOnce key, which the simulated machine lacks and the run makes.
trace_changes() {
  tr -d '\r' <"$1/drive_c/$program_folder/Norvane.trace.log" | sed -e '1s/^\xEF\xBB\xBF//' \
    -e 's/^<!\[LOG\[\(.*\)\]LOG\]!><time=.*$/\1/' |
    grep -E '^(Delete|Set|Add|Create|Remove|Write|Append|Move|Reg|Shell|ExitWindows)[A-Za-z]* ' |
    sed -E 's/ -> ([0-9]+):.*$/ -> \1/' | tr 'A-Z' 'a-z' |
    grep -vxF 'regcreatekey hkey_local_machine\software\microsoft\windows\currentversion\runonce -> 0'
}
check_trace() {
  [ -s "$prefix/drive_c/$program_folder/Norvane.trace.log" ] || { fail "no trace under Wine"; return; }
  [ "$(trace_changes "$sim" | wc -l)" -gt 5 ] || fail "the simulated trace tells too few changes"
  compare "the traces' changes" <(trace_changes "$prefix") <(trace_changes "$sim")
}
case_check=check_trace
removal_case trace '' '/s /v /x Model A' 'Model A=0' 'Model A PS=0' 'Office=0'
case_check=

case_exit=0
removal_case exit-removed '' '/s /e /p Lobby' 'Lobby=0'

# A driver the spooler holds until a restart: the removal is finished by the restart.
case_exit=3010 spooler_held='Windows x64|Model B'
sim_json='"faults": {"drivers": {"Windows x64|Model B": {"heldUntilReboot": true}}}'
removal_case exit-held '' '/s /e /x Model B' 'Model B=-1'
spooler_held='' sim_json=''

# A data file another program holds open stays, and its driver's result is a failure.
locked='C:\ProgramData\Corvida\Drv\CVMA\cache.dat'
hold_locked() {
  rm -f "$case_dir/held" "$case_dir/release"
  (WINEPREFIX=$prefix timeout 150 "$WINE" "$(windows_path "$windows_tests/hold_file.exe")" \
    "$locked" "$(windows_path "$case_dir/held")" "$(windows_path "$case_dir/release")" \
    >/dev/null 2>&1 &)
  for _ in $(seq 600); do [ -f "$case_dir/held" ] && return; sleep 0.1; done
  fail "hold_file.exe could not hold $locked"
}
release_locked() { touch "$case_dir/release"; }
case_exit=1 case_before=hold_locked case_after_run=release_locked
sim_json='"faults": {"lockedFiles": ["C:\\ProgramData\\Corvida\\Drv\\CVMA\\cache.dat"]}'
removal_case exit-locked '' '/s /e /x Model A' 'Model A=1'
case_before='' case_after_run='' sim_json=''

# No driver of the package's provider is installed: there is nothing to remove.
no_provider() {
  sed -i 's/^OEMPROVIDER=.*/OEMPROVIDER=Nobody/' "$prefix/drive_c/$program_folder/config.ini" \
    "$sim/drive_c/$program_folder/config.ini"
}
case_exit=2 case_before=no_provider
removal_case exit-nothing-installed '' '/s /e /d Model A'
case_before=''

# A switch the program does not know.
case_exit=5
removal_case exit-rejected '' '/s /e /q'
case_exit=''

# The test spooler's answers on the same machine, read through Norvane's own Win32 spooler code
# (tests/windows/spooler/SpoolerCasesWindows.cpp).
begin spooler-answers
install_wine ''
cp "$windows_tests/spooler_cases_windows.exe" "$prefix/drive_c/$program_folder/"
(cd "$prefix/drive_c/$program_folder" &&
  WINEPREFIX=$prefix WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winspool.drv=n" \
    timeout 60 "$WINE" spooler_cases_windows.exe) >"$case_dir/answers" 2>/dev/null ||
  fail "$(tr -d '\r' <"$case_dir/answers")"
stop_prefix "$prefix"
end

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
