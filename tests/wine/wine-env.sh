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
