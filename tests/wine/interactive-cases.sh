#!/usr/bin/env bash
# Interactive runs of Norvane.exe under Wine on a virtual display (Xvfb, Wine's own desktop),
# worked by tests/windows/dialogs' driver with window messages as a user would work them, and the
# same runs on a simulated machine answered by a script of the same choices. Both must leave the
# same registry and files and have asked their spoolers the same things (removal-lib.sh); an
# interactive run writes no log.
#   interactive-cases.sh PACKAGE_DIR WINDOWS_TESTS_DIR NORVANE RESOURCES_DIR VERSION
set -uo pipefail
package=$1 windows_tests=$2 norvane=$3 resources=$4 version=$5
here=$(cd "$(dirname "$0")" && pwd)
machine=$here/machines/removal
. "$here/wine-env.sh"
require_built "$package/Norvane.exe" "$package/ENU/Norvane.dll" "$windows_tests/winspool.drv" \
  "$windows_tests/pnputil.exe" "$windows_tests/interactive_driver.exe" "$package/Version.txt"
. "$here/removal-lib.sh"
. "$here/display.sh"
start_display || { echo "FAIL: no virtual display (install xvfb)"; exit 1; }

wine_program='C:\Program Files\Halvex\Norvane\interactive_driver.exe'

# One run on both sides: the driver's steps under Wine, the answers script on the simulated
# machine; the driver's failures and every comparison of removal-lib.sh. Registry text and
# config.ini lines that a case adds go to both machines.
#   interactive_case NAME DRIVER_STEPS SIM_SCRIPT [REGISTRY [CONFIG]]
interactive_case() {
  begin "$1"
  install_wine "$wine_desktop${4:-}"
  install_sim "${4:-}"
  if [ -n "${5:-}" ]; then
    printf '%s' "$5" >>"$prefix/drive_c/$program_folder/config.ini"
    printf '%s' "$5" >>"$sim/drive_c/$program_folder/config.ini"
  fi
  cp "$windows_tests/interactive_driver.exe" "$prefix/drive_c/$program_folder/"
  cp "$package/Version.txt" "$prefix/drive_c/$program_folder/"
  cp "$package/Version.txt" "$sim/drive_c/$program_folder/"
  printf '%s\n' "$2" >"$case_dir/steps"
  printf '%s\n' "$3" >"$case_dir/answers"
  run_wine "$(windows_path "$case_dir/steps")"
  tr -d '\r' <"$case_dir/wine.out" | grep -qx 'steps done' && ! grep -q FAIL "$case_dir/wine.out" ||
    fail "the driver: $(tr -d '\r' <"$case_dir/wine.out")"
  sim_ui=script:$case_dir/answers run_sim ''
  check_registry
  check_files
  check_spooler_calls
  stop_prefix "$prefix"
  end
}

rows='Annex|Model B;Lobby|Model A;Office|Model A;PS Room|Model A PS;\\srv\Hall|Model A'

# Two printers that share a driver (which a third printer still uses), to the end of the run.
interactive_case full "dialog selection
rows $rows
enabled 1004 0
tick 1
tick 2
check 1002 2
enabled 1004 1
press 1004
dialog confirm
rows Lobby|Model A;Office|Model A
enabled 1004 1
press 1006
dialog progress
bar 100
enabled 1 1
press 1
ends" "tick Lobby
tick Office
remove
ok
ok"

# Cancel at once: nothing is removed and no worker starts.
interactive_case cancel-selection "dialog selection
key 27
ends" "cancel"

# Cancelled confirmation, then a second start with another choice: only the second one counts.
interactive_case cancel-confirmation "dialog selection
tick 0
press 1004
dialog confirm
press 1005
dialog selection
check 1002 2
untick 0
tick 3
press 1004
dialog confirm
rows PS Room|Model A PS
press 1006
dialog progress
bar 100
press 1
ends" "tick Annex
remove
cancel
untick Annex
tick PS Room
remove
ok
ok"

# Printers only: the driver of the one printer that used it stays.
interactive_case printers-only "dialog selection
tick 0
press 1004
dialog confirm
press 1004
check 1004 1
press 1006
dialog progress
bar 100
press 1
ends" "tick Annex
remove
printers-only
ok
ok"

# Escape while the bar is short of 100 is ignored; the run goes on to its end.
interactive_case escape-in-progress "dialog selection
press 1002
check 1002 1
press 1004
dialog confirm
press 1006
dialog progress
bar <100
key 27
wait 300
dialog progress
bar 100
press 1
ends" "select-all
remove
ok
ok"

# The About box from the window menu: the version line and the package's drivers.
interactive_case about "dialog selection
syscommand 16
dialog about
text 1009 Version $version
text 1011 Model A\nModel A PS\nModel B
press 1
dialog selection
press 2
ends" "about
ok
cancel"

# The keyboard alone: Home and Space tick the first row, Down and Space the next, Alt+R starts the
# removal, Tab and Space reach the printers-only box, Enter takes the default button.
interactive_case keyboard "dialog selection
focus 1001
key 36
key 32
key 40
key 32
check 1002 2
enabled 1004 1
alt r
dialog confirm
rows Annex|Model B;Lobby|Model A
focus 1007
key 9
focus 1004
key 32
check 1004 1
key 13
dialog progress
bar 100
key 13
ends" "tick Annex
tick Lobby
remove
printers-only
ok
ok"

# The end of a run that leaves work for a restart (a printer of another maker's driver, which the
# removal does not list, prints to the language monitor's port) on a machine with a utility that
# no remaining printer needs: the utility is offered and declined, and the restart question, owned
# by the progress dialog so that it cannot fall behind it, is answered No.
port=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Model A LangMon'
port+=$'\\Ports\\CVLM001]\r\n\r\n'
port+=$'[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Language Desk]\r\n'
port+=$'"Port"="CVLM001"\r\n"Print Processor"="winprint"\r\n"Printer Driver"="PDF Writer"\r\n\r\n'
status_guid='{5E1B7C2A-4D93-4A68-B0F1-2C8D6E3A9F17}'
utility=$'[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\'
utility+=$status_guid$']\r\n"DisplayName"="Corvida Status Monitor"\r\n'
utility+=$'"UninstallString"="\\"C:\\\\Status Monitor\\\\uninst.exe\\""\r\n\r\n'
utility_config=$'[DelUty]\r\nDelCode=1\r\nU1=StatusMonitor\r\n[Default.U1]\r\n'
utility_config+="GUID=${status_guid:1:36}"$'\r\nKEY=UseStatusMonitor\r\nVALUE=1\r\n'
interactive_case utility-and-restart "dialog selection
press 1002
press 1004
dialog confirm
press 1006
dialog progress
bar 100
press 1
dialog utility
rows Corvida Status Monitor
press 1016
dialog question
owner progress
press 7
ends" "select-all
remove
ok
ok
no
no" "$port$utility" "$utility_config"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
