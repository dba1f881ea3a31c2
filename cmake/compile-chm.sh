#!/bin/sh
# Compiles HELP.hhp in the current folder with chmcmd:  compile-chm.sh CHMCMD
#
# chmcmd records a help context's topic (the [ALIAS] entries) by its full path on the build
# machine, and the help viewer looks that path up inside the help file, where it does not exist.
# So chmcmd runs with this folder as its root: the full path it sees is then the topic's own path
# in the help file ("/selection.html"). The root gets the program and the libraries it loads
# (libpthread is loaded at run time), and loses them again afterwards.
set -eu
chmcmd=$(readlink -f "$(command -v "$1")")
root=$(pwd)
copied="$root/.chmcmd-root"
rm -rf "$copied"
mkdir -p "$copied"
cleanup() {
  for entry in $(cat "$copied/list" 2>/dev/null); do
    rm -f "$root$entry"
    folder=$(dirname "$entry")
    while [ "$folder" != / ] && rmdir "$root$folder" 2>/dev/null; do folder=$(dirname "$folder"); done
  done
  rm -rf "$copied"
}
trap cleanup EXIT
place() {
  mkdir -p "$root$(dirname "$2")"
  cp "$1" "$root$2"
  echo "$2" >>"$copied/list"
}
place "$chmcmd" /chmcmd
libc=""
for library in $(ldd "$chmcmd" | sed -n 's:.*[[:space:]]\(/[^ ]*\) (0x.*:\1:p'); do
  place "$library" "$library"
  case $library in */libc.so.*) libc=$library ;; esac
done
[ -n "$libc" ] && [ -f "$(dirname "$libc")/libpthread.so.0" ] &&
  place "$(dirname "$libc")/libpthread.so.0" "$(dirname "$libc")/libpthread.so.0"
if [ "$(id -u)" -eq 0 ]; then
  chroot "$root" /chmcmd --no-html-scan HELP.hhp
elif unshare -r true 2>/dev/null; then
  unshare -r chroot "$root" /chmcmd --no-html-scan HELP.hhp
else
  echo "compile-chm.sh: no chroot here; context topics will name $root" >&2
  "$chmcmd" --no-html-scan HELP.hhp
fi
