# Sourced by the Wine tests: one Wine prefix inside the build folder, quiet, without the Mono and
# Gecko installers, and no display needed.
: "${NORVANE_WINE_PREFIX:?}"
export WINEPREFIX="$NORVANE_WINE_PREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
WINE=${NORVANE_WINE:-/usr/lib/wine/wine64}
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
WINESERVER=$(dirname "$WINE")/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)

# Ends the script when a file the Windows build makes is missing.
require_built() {
  local built
  for built in "$@"; do
    [ -f "$built" ] || { echo "FAIL: $built is missing: build the Windows tree first"; exit 1; }
  done
}

# A prefix of its own at $1: the shared prefix's registry, and its C: drive as links, without the
# folder $2 below C: (a file the program writes must never be a link into the shared prefix).
make_prefix() {
  local prefix=$1 own_folder=$2
  mkdir -p "$prefix/dosdevices"
  cp -p "$WINEPREFIX"/{system.reg,user.reg,userdef.reg,.update-timestamp} "$prefix/"
  cp -rs "$WINEPREFIX/drive_c" "$prefix/drive_c"
  rm -rf "${prefix:?}/drive_c/${own_folder:?}"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
}

# Into the prefix $1: Norvane.exe with its English library in the program folder $2 below C:, and
# in the system folder, where Windows keeps its own, the test spooler (in place of Wine's, loaded
# with winspool.drv=n) and pnputil.exe, which Wine lacks. The files come from $package (the
# Windows build's package) and $windows_tests (its test programs).
install_program() {
  local program=$1/drive_c/$2 system=$1/drive_c/windows/system32
  mkdir -p "$program/ENU"
  cp "$package/Norvane.exe" "$program/"
  cp "$package/ENU/Norvane.dll" "$program/ENU/"
  cp --remove-destination "$windows_tests/winspool.drv" "$windows_tests/pnputil.exe" "$system/"
}

# $work: a folder for the run's cases, each with its prefix in $work/<case>/prefix; when the
# script exits, every such prefix goes, and its wineserver with it. Nothing in the clean-up may
# fail: under `set -e` a failing command there would become the script's exit status.
make_work() {
  work=$(mktemp -d)
  trap remove_work EXIT
}
remove_work() {
  local prefix
  for prefix in "$work"/*/prefix; do
    # A prefix whose wineserver has ended already has nothing to stop.
    [ -d "$prefix" ] && { WINEPREFIX=$prefix "$WINESERVER" -k 2>/dev/null || true; }
  done
  rm -rf "$work"
}
