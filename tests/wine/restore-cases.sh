#!/usr/bin/env bash
# Printers brought back by NorvaneRestore.exe under Wine, through its real Win32 spooler code and
# the test spooler, after a silent removal and the install of a newer package that renamed the
# drivers; and the same on a simulated machine by norvane-restore. Both must leave the same
# printing keys, files, log and spooler calls, and print the same report; a second restore must
# add nothing on either side.
#   restore-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE NORVANE_RESTORE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 norvane_restore=$4 resources=$5 version=$6
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/removal
. "$here/wine-env.sh"
require_built "$package/Norvane.exe" "$package/NorvaneRestore.exe" "$package/ENU/Norvane.dll" \
  "$windows_tests/winspool.drv" "$windows_tests/pnputil.exe"

. "$here/removal-lib.sh"
spooler_calls="${spooler_calls%) }|AddPrinter) "

print_key='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print'
usb_class='{28d78fad-5a12-11d1-ae5b-0000f803a8c2}'
# The ports the printers use: a USB printer's (USB001) and a TCP/IP port (IP_10.0.0.5).
ports="[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\$usb_class\\"
ports+=$'##?#USB#VID_0A5F#CV1#'"$usb_class"$'\\#\\Device Parameters]\r\n"Port Name"="USB001"\r\n\r\n'
ports+="[$print_key\\Monitors\\Standard TCP/IP Port\\Ports\\IP_10.0.0.5]"$'\r\n\r\n'

# The newer package: the series' drivers under new names, and the print processor they ask for.
newer_driver() {
  printf '[%s\\Environments\\%s\\Drivers\\Version-3\\%s]\r\n' "$print_key" "$1" "$2"
  printf '"Driver"="CVMA.DLL"\r\n"Print Processor"="CVAPP"\r\n"Provider"="Corvida"\r\n\r\n'
}
newer=$(newer_driver 'Windows x64' 'Model A v2'; newer_driver 'Windows x64' 'Model A PS v2'
  printf '[%s\\Environments\\Windows x64\\Print Processors\\CVAPP]\r\n"Driver"="CVAPP.DLL"\r\n\r\n' \
    "$print_key")

import_wine() {
  local import=$case_dir/newer.reg
  { printf '\xff\xfe'; printf 'Windows Registry Editor Version 5.00\r\n\r\n%s' "$1" |
    iconv -f UTF-8 -t UTF-16LE; } >"$import"
  WINEPREFIX=$prefix timeout 60 "$WINE" regedit /S "$(windows_path "$import")" 2>/dev/null ||
    fail "regedit could not import the newer package"
}

begin restore-series
install_wine "$ports"
install_sim "$ports"
run_wine /s /x Model A
run_sim '/s /x Model A'
import_wine "$newer"
printf '%s' "$newer" >>"$sim/registry.reg"
map=(/m 'Model A=Model A v2' /m 'Model A PS=Model A PS v2')
wine_program='C:\Program Files\Halvex\Norvane\NorvaneRestore.exe'
cp "$package/NorvaneRestore.exe" "$prefix/drive_c/$program_folder/"
rm -f "$case_dir/spooler.journal"
: >"$sim/journal.log"
run_wine "${map[@]}"
tr -d '\r' <"$case_dir/wine.out" >"$case_dir/wine.report"
"$norvane_restore" --machine "$sim" "${map[@]}" >"$case_dir/sim.report" 2>/dev/null
status=$?
# The connection is not re-created: code 1.
[ "$status" = 1 ] || fail "norvane-restore ended with $status, not 1"
compare "the reports" "$case_dir/wine.report" "$case_dir/sim.report"
check_registry
check_files
check_log '[RestoreResult]' 'Office=0' 'Lobby=0' 'PS Room=0' \
  '\\srv\Hall=1'
check_spooler_calls
grep -q '^AddPrinter "Office"' "$case_dir/spooler.journal" ||
  fail "Office was not added under Wine"

# A second restore finds every printer there: no printer is added, nothing changes.
rm -f "$case_dir/spooler.journal"
: >"$sim/journal.log"
run_wine "${map[@]}"
"$norvane_restore" --machine "$sim" "${map[@]}" >/dev/null 2>&1
check_registry
check_spooler_calls
grep -q '^AddPrinter' "$case_dir/spooler.journal" 2>/dev/null &&
  fail "the second restore added printers under Wine"
wine_program=
stop_prefix "$prefix"
end

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
