#!/usr/bin/env bash
# Times the silent removal of the removal benchmark's series machines under Wine: Norvane.exe of the
# Windows build against the test spooler (the winspool.drv the Wine removal tests use), each machine
# written by write_series_machine and loaded into a Wine prefix of its own as those tests load
# theirs. Only Norvane.exe's run is timed, with GNU time; making the machine and the prefix,
# importing the registry and starting the prefix's wineserver are not. Prints numbers and never
# judges them.
#   wine-removal.sh WRITE_SERIES_MACHINE PACKAGE_DIR WINDOWS_TESTS_DIR N...
# NORVANE_WINE_PREFIX names the shared prefix (`ctest --preset linux -R wine.prefix` makes it).
set -uo pipefail
writer=$1 package=$2 windows_tests=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/wine/wine-env.sh
. "$here/../tests/wine/wine-env.sh"
for built in "$writer" "$package/Norvane.exe" "$package/ENU/Norvane.dll" \
  "$windows_tests/winspool.drv" "$windows_tests/pnputil.exe"; do
  [ -f "$built" ] || { echo "wine-removal: $built is missing" >&2; exit 1; }
done
[ -d "$WINEPREFIX/drive_c/windows" ] || {
  echo "wine-removal: no Wine prefix at $WINEPREFIX: run ctest --preset linux -R wine.prefix" >&2
  exit 1
}
program_folder='Program Files/Halvex/Norvane'
program_windows='C:\Program Files\Halvex\Norvane\Norvane.exe'
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }
make_work  # sets $work

# The machine's C: drive over the prefix's (over its links, never through them), each folder
# matched to the prefix's without regard to case, as Windows matches names: the machine spells
# "Windows" and "DRIVERS" where Wine has "windows" and "drivers".
install_drive() {
  local drive=$1/drive_c file target part found
  local -a parts
  while IFS= read -r -d '' file; do
    target=$prefix/drive_c
    IFS=/ read -ra parts <<<"$(dirname "${file#"$drive"/}")"
    for part in "${parts[@]}"; do
      [ "$part" = . ] && continue
      found=$(find "$target" -mindepth 1 -maxdepth 1 -type d -iname "$part" -print -quit)
      [ -n "$found" ] || { found=$target/$part; mkdir "$found"; }
      target=$found
    done
    cp -p --remove-destination "$file" "$target/"
  done < <(find "$drive" -type f -print0)
}

# Loads machine N into $prefix, leaving its wineserver running; the command line in $command_line.
install_machine() {
  local n=$1 dir=$work/$1
  mkdir -p "$dir"
  command_line=$("$writer" "$n" "$dir/machine") || return 1
  prefix=$dir/prefix
  make_prefix "$prefix" "$program_folder"
  # A server that outlives its clients for a minute, so that the timed run starts none.
  WINEPREFIX=$prefix "$WINESERVER" -p60
  local import=$dir/import.reg
  { printf '\xff\xfe' && iconv -f UTF-8 -t UTF-16LE "$dir/machine/registry.reg"; } >"$import"
  WINEPREFIX=$prefix timeout 300 "$WINE" regedit /S "$(windows_path "$import")" 2>/dev/null
  install_drive "$dir/machine"
  install_program "$prefix" "$program_folder"
}

# The CPU time the prefix's wineserver has used so far, in clock ticks.
server_ticks() {
  local proc
  for proc in /proc/[0-9]*; do
    [[ "$(cat "$proc/comm" 2>/dev/null)" == wineserver* ]] &&
      tr '\0' '\n' <"$proc/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" &&
      awk '{ print $14 + $15 }' "$proc/stat"
  done | awk '{ ticks += $1 } END { print ticks + 0 }'
}

# The machine's printers, drivers, monitors and print processors still in the prefix's registry,
# read once its wineserver has written it out.
left_behind() {
  WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null
  sleep 1
  grep -c -i -E '^\[System\\\\CurrentControlSet\\\\Control\\\\Print\\\\.*(Corvida|CVPP)' \
    "$prefix/system.reg"
}

echo "silent removal of a whole package under Wine (test spooler), one run: seconds of wall time,"
echo "of CPU in the program's process tree and in its wineserver; peak memory of the largest"
echo "process of the tree, MB"
printf '%5s %9s %9s %9s %9s %9s %10s\n' N printers run 'tree CPU' 'server CPU' peak 't(2N)/t(N)'
ticks_per_second=$(getconf CLK_TCK)
previous_printers=0 previous_run=0
for n in "$@"; do
  install_machine "$n" || { echo "wine-removal: cannot write machine $n" >&2; exit 1; }
  server_before=$(server_ticks)
  # shellcheck disable=SC2086 # the command line is split into words as a shell would
  (cd "$prefix/drive_c/$program_folder" &&
    WINEPREFIX=$prefix WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winspool.drv=n" \
      /usr/bin/time -f '%e %U %S %M' -o "$work/$n/time" \
      timeout 3600 "$WINE" "$program_windows" $command_line) >/dev/null 2>&1
  server=$(awk -v a="$(server_ticks)" -v b="$server_before" -v t="$ticks_per_second" \
    'BEGIN { print (a - b) / t }')
  read -r run user system peak_kb < <(tail -n 1 "$work/$n/time")
  left=$(left_behind)
  printers=$(awk -F '\\' '/^\[/ && toupper($(NF - 1)) == "PRINTERS"' "$work/$n/machine/registry.reg" |
    wc -l)
  # N as the machine has it, in whole series: five printers per driver.
  printf '%5d %9d %9.2f %9.2f %9.2f %9.1f' $((printers / 5)) "$printers" "$run" \
    "$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')" "$server" \
    "$(awk -v kb="$peak_kb" 'BEGIN { print kb / 1024 }')"
  if [ "$printers" = $((2 * previous_printers)) ]; then
    printf ' %10.2f\n' "$(awk -v a="$run" -v b="$previous_run" 'BEGIN { print a / b }')"
  else
    printf ' %10s\n' -
  fi
  [ "$left" = 0 ] || echo "  N=$n: NOT REMOVED: $left keys of the machine's are still there"
  previous_printers=$printers previous_run=$run
  rm -rf "$prefix"
done
