# Sourced by the Wine tests that remove from machines/removal, once under Wine and once on a
# simulated machine, and compare what both leave. Expects $package, $windows_tests, $norvane,
# $resources, $version and $here, and wine-env.sh sourced.

program_folder='Program Files/Halvex/Norvane'
program_windows='C:\Program Files\Halvex\Norvane\Norvane.exe'
# The keys the removal works on, and the RunOnce and maker keys it may write.
registry_roots=(
  'HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Print'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Corvida'
  'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\RunOnce'
  'HKEY_CURRENT_USER\Printers'
  'HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows'
)
# The spooler's own journal lines, as both spoolers write them.
spooler_calls='^(DeletePrinterConnection|SetPrinter|DeletePrinter|DeletePrinterDriverEx|'
spooler_calls+='DeleteMonitor|DeletePrintProcessor|SetDefaultPrinter) '

make_work
passed=0 failed=0

fail() { echo "FAIL $case_name: $*"; failed=$((failed + 1)); case_ok=0; }
begin() { case_name=$1; case_ok=1; case_dir=$work/$1; mkdir -p "$case_dir"; }
end() { [ "$case_ok" = 1 ] && { echo "ok   $case_name"; passed=$((passed + 1)); }; }

# A Linux path as Wine names it on its Z: drive.
windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

# .reg text on stdin (UTF-8 or UTF-16 with BOM) as one line per key ("KEY", its parents
# included) and per value ("KEY<tab>"name"=data"), continuation lines joined, key names upper-cased (Windows compares
# them without regard to case), only keys under the compared roots, sorted.
normalise_reg() {
  local roots
  roots=$(printf '%s\n' "${registry_roots[@]}")
  iconv -f "$1" -t UTF-8 | awk -v roots="$roots" '
    BEGIN { n = split(toupper(roots), root, "\n") }
    function compared(key,   i) {
      for (i = 1; i <= n; ++i)
        if (key == root[i] || index(key, root[i] "\\") == 1) return 1
      return 0
    }
    {
      sub(/\r$/, "")
      text = joining ? text substr($0, match($0, /[^ ]/)) : $0
      if (text ~ /\\$/) { joining = 1; text = substr(text, 1, length(text) - 1); next }
      joining = 0
      if (text ~ /^\[.*\]$/) {
        key = toupper(substr(text, 2, length(text) - 2)); keep = compared(key)
        # A file the simulated machine has not rewritten names a key without its parents.
        for (parent = key; compared(parent); sub(/\\[^\\]*$/, "", parent)) print parent
      } else if (keep && text != "") {
        print key "\t" text
      }
    }' | sort -u
}

# The compared keys of a Wine prefix. A Wine session that starts runs wineboot, which does what
# the start of Windows does, RunOnce commands included; the keys are read without it, so that a
# removal's state is read as it left it rather than after a restart.
wine_registry() {
  local root file=$work/export.reg
  for root in "${registry_roots[@]}"; do
    rm -f "$file"
    WINEPREFIX=$1 WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wineboot.exe=d" \
      timeout 60 "$WINE" regedit /E "$(windows_path "$file")" "$root" >/dev/null 2>&1
    [ -f "$file" ] && normalise_reg UTF-16 <"$file"
  done | sort
}

# The folders and files below a C: drive, one a line ("d path" or "f path"), lower-cased (names
# compare without regard to case), sorted.
drive_listing() {
  find "$1" -mindepth 1 \( -type d -printf 'd %P\n' \) -o -printf 'f %P\n' | tr 'A-Z' 'a-z' | sort
}

stop_prefix() {
  WINEPREFIX=$1 "$WINESERVER" -k 2>/dev/null
  rm -rf "$1"
}

# What Wine holds of its own under the compared keys and folders.
make_prefix "$work/own/prefix" "$program_folder"
wine_registry "$work/own/prefix" >"$work/wine-own.registry"
drive_listing "$work/own/prefix/drive_c" >"$work/wine-own.files"
stop_prefix "$work/own/prefix"
[ -s "$work/wine-own.registry" ] && [ -s "$work/wine-own.files" ] || {
  echo "FAIL: cannot read a copy of the Wine prefix $WINEPREFIX"; exit 1
}

# The case's machine under Wine, with the registry text it adds (if any) imported too: the
# registry, the C: drive (over the links, never through them), Norvane.exe with its English
# library, and the test spooler and pnputil.exe in its system folder.
install_wine() {
  prefix=$case_dir/prefix
  make_prefix "$prefix" "$program_folder"
  local import=$case_dir/import.reg
  printf '\xff\xfe' >"$import"
  cat "$machine/registry.reg" <(printf '%s' "$1") | iconv -f UTF-8 -t UTF-16LE >>"$import"
  WINEPREFIX=$prefix timeout 60 "$WINE" regedit /S "$(windows_path "$import")" 2>/dev/null ||
    fail "regedit could not import the machine's registry"
  cp -r --remove-destination "$machine/drive_c/." "$prefix/drive_c/"
  install_program "$prefix" "$program_folder"
}

# The same machine simulated; its language library is the resource script, and its Windows
# folder is spelled as Wine's is, "C:\windows", since the log and the driver paths show it.
# $sim_json adds members to its machine.json (faults the Wine side gets its own way).
install_sim() {
  sim=$case_dir/sim
  cp -r "$machine" "$sim"
  printf '%s' "$1" >>"$sim/registry.reg"
  printf '{ "fileVersion": "%s", "windowsDir": "C:\\\\windows"%s }\n' "$version" "${sim_json:+, $sim_json}" \
    >"$sim/machine.json"
  mkdir -p "$sim/drive_c/$program_folder/ENU"
  cp "$resources/ENU/Norvane.rc" "$sim/drive_c/$program_folder/ENU/Norvane.dll"
}

# Runs Norvane.exe (or $wine_program, which starts it) with the test spooler and waits for
# everything it started (pnputil) to end; what the program prints goes to $case_dir/wine.out, its
# exit code to $wine_exit. $spooler_held names a driver the test spooler holds until a restart;
# the function $case_after_run names, if any, runs as the program has ended.
run_wine() {
  (cd "$prefix/drive_c/$program_folder" &&
    WINEPREFIX=$prefix WINEDEBUG=+loaddll WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winspool.drv=n" \
      NORVANE_SPOOLER_JOURNAL="$(windows_path "$case_dir/spooler.journal")" \
      NORVANE_SPOOLER_HELD="${spooler_held:-}" \
      timeout 120 "$WINE" "${wine_program:-$program_windows}" "$@") 2>"$case_dir/wine.err" \
    >"$case_dir/wine.out"
  wine_exit=$?
  "${case_after_run:-true}"
  WINEPREFIX=$prefix timeout 60 "$WINESERVER" -w
  grep -qiE 'system32\\\\winspool\.drv" at .*: native' "$case_dir/wine.err" ||
    fail "Norvane.exe did not load the test spooler: $(grep -i 'winspool' "$case_dir/wine.err")"
}

run_sim() {
  "$norvane" --machine "$sim" --ui "${sim_ui:-none}" --cmdline "$*" >/dev/null 2>&1
  sim_exit=$?
}

# Fails with the differences of two texts when they differ.
compare() {
  local label=$1 wine=$2 sim=$3
  if ! diff "$wine" "$sim" >"$case_dir/diff"; then
    fail "$label differ (< Wine, > simulated machine):"; cat "$case_dir/diff"
  fi
}

# Entries of Wine's own that a run removed.
check_kept() {
  local label=$1 own=$2 after=$3 lost
  lost=$(comm -23 "$own" "$after")
  [ -z "$lost" ] || fail "the run removed Wine's own $label: $lost"
}

check_registry() {
  wine_registry "$prefix" >"$case_dir/wine.registry"
  normalise_reg UTF-8 <"$sim/registry.reg" >"$case_dir/sim.registry"
  check_kept "registry entries" "$work/wine-own.registry" "$case_dir/wine.registry"
  compare "the registries" <(comm -23 "$case_dir/wine.registry" "$work/wine-own.registry") \
    <(comm -23 "$case_dir/sim.registry" "$work/wine-own.registry")
}

# The drives, without the program and libraries only the Wine side installs.
check_files() {
  local program
  program=$(printf '%s' "$program_folder" | tr 'A-Z' 'a-z')
  drive_listing "$prefix/drive_c" >"$case_dir/wine.files"
  drive_listing "$sim/drive_c" >"$case_dir/sim.files"
  check_kept "files" "$work/wine-own.files" "$case_dir/wine.files"
  compare "the files" \
    <(comm -23 "$case_dir/wine.files" "$work/wine-own.files" |
      grep -vxF -e "f $program/norvane.exe" \
        -e 'f windows/system32/pnputil.exe' -e "f $program/interactive_driver.exe" \
        -e "f $program/norvanerestore.exe") \
    <(comm -23 "$case_dir/sim.files" "$work/wine-own.files")
}

# A log's text without CRs; one that turned UTF-16LE (a name its code page lacks) as UTF-8.
log_text() {
  if [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$1"
  else
    cat "$1"
  fi | tr -d '\r'
}
without_time() { log_text "$1" | grep -v -E '^Log(Date|Time)='; }

# The logs (in the same encoding, each section once), the DEVMODE files beside them, and the
# lines the Wine log must hold.
check_log() {
  local wine_folder=$prefix/drive_c/$program_folder sim_folder=$sim/drive_c/$program_folder bin line
  local twice
  [ -f "$wine_folder/Norvane.log" ] || { fail "no log under Wine"; return; }
  [ -f "$sim_folder/Norvane.log" ] || { fail "no log on the simulated machine"; return; }
  compare "the logs" <(without_time "$wine_folder/Norvane.log") \
    <(without_time "$sim_folder/Norvane.log")
  cmp -s <(head -c 2 "$wine_folder/Norvane.log") <(head -c 2 "$sim_folder/Norvane.log") ||
    fail "one log is a Unicode file, the other is not"
  twice=$(log_text "$wine_folder/Norvane.log" | grep '^\[' | sort | uniq -d)
  [ -z "$twice" ] || fail "the log has these sections more than once: $twice"
  for bin in "$sim_folder"/*.bin; do
    [ -e "$bin" ] || continue
    cmp -s "$bin" "$wine_folder/${bin##*/}" || fail "the DEVMODE files ${bin##*/} differ"
  done
  for line in "$@"; do
    log_text "$wine_folder/Norvane.log" | grep -qxF -- "$line" ||
      fail "the log lacks the line: $line"
  done
}

check_spooler_calls() {
  compare "the spooler calls" <({ tr -d '\r' <"$case_dir/spooler.journal"; } 2>/dev/null) \
    <(cut -d' ' -f3- "$sim/journal.log" | grep -E "$spooler_calls")
}

# One removal on both sides, every check, and the function `case_check` names, if any; the
# function `case_before` names runs before the removals, and with $case_exit set both programs
# must exit with it:
#   removal_case NAME ADDED_REGISTRY_TEXT COMMAND_LINE LOG_LINE...
removal_case() {
  local name=$1 added=$2 command_line=$3
  shift 3
  begin "$name"
  install_wine "$added"
  install_sim "$added"
  "${case_before:-true}"
  # shellcheck disable=SC2086 # the command line is split into words as a shell would
  run_wine $command_line
  run_sim "$command_line"
  if [ -n "${case_exit:-}" ]; then
    # A Linux process's status keeps the low 8 bits of the code: 3010 arrives as 194.
    local status=$((case_exit % 256))
    [ "$wine_exit" = "$status" ] || fail "Norvane.exe exited with $wine_exit, not $case_exit"
    [ "$sim_exit" = "$status" ] || fail "norvane exited with $sim_exit, not $case_exit"
  fi
  check_registry
  check_files
  check_log "$@"
  check_spooler_calls
  "${case_check:-true}"
  stop_prefix "$prefix"
  end
}
