#!/usr/bin/env bash
# The help files of the package and the help window under Wine:
# - every language's HELP.chm holds the five pages, and context 5401 names the page on choosing
#   printers (the page's title in the file is the one of its source);
# - the backend's HtmlHelp opens the installed ENU\HELP.chm at context 5401 on a virtual display:
#   Wine's hhctrl resolves 5401 to that page, the help window appears with the file's title, and
#   its browser is sent to the page inside the file.
#   help-cases.sh PACKAGE_DIR TESTS_DIR RESOURCES_DIR
set -uo pipefail
package=$(realpath "$1") tests=$(realpath "$2") resources=$(realpath "$3")
. "$(dirname "$0")/wine-env.sh"
make_work
passed=0 failed=0
fail() { echo "FAIL $case_name: $*"; failed=$((failed + 1)); case_ok=0; }
title_of() { sed -n 's:.*<title>\(.*\)</title>.*:\1:p' "$1" | head -1; }

# The topic a context number names in a compiled help file: #IVB holds pairs of context number
# and offset into #STRINGS.
topic_of() {
  local chm=$1 context=$2 dir
  dir=$(mktemp -d -p "$work")
  chmls extract "$chm" /#IVB "$dir/ivb" >/dev/null 2>&1 &&
    chmls extract "$chm" /#STRINGS "$dir/strings" >/dev/null 2>&1 || return
  python3 - "$dir/ivb" "$dir/strings" "$context" <<'PY'
import struct, sys
ivb, strings, context = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read(), int(sys.argv[3])
size = struct.unpack_from('<I', ivb)[0]
for number, offset in struct.iter_unpack('<II', ivb[4:4 + size]):
    if number == context:
        print(strings[offset:strings.index(b'\0', offset)].decode())
PY
}

for lang in ENU JPN CHS CHT KOR; do
  case_name="chm $lang" case_ok=1
  chm=$package/$lang/HELP.chm
  if [ ! -f "$chm" ]; then fail "no $chm"; continue; fi
  listing=$(chmls -p -n list "$chm" 2>&1)
  for page in index selection running commandline log; do
    grep -qx "/$page.html" <<<"$listing" || fail "no /$page.html in the file"
  done
  topic=$(topic_of "$chm" 5401)
  [ "$topic" = /selection.html ] || fail "context 5401 names '$topic', not /selection.html"
  extracted=$work/$lang-selection.html
  chmls extract "$chm" /selection.html "$extracted" >/dev/null 2>&1
  want=$(title_of "$resources/help/$lang/selection.html")
  [ -n "$want" ] && [ "$(title_of "$extracted")" = "$want" ] || fail "the page's title is not '$want'"
  ((case_ok)) && { echo "ok $case_name: 5401 -> selection.html ($want)"; passed=$((passed + 1)); }
done

case_name="help window" case_ok=1
prefix=$work/window/prefix
make_prefix "$prefix" Norvane
mkdir -p "$prefix/drive_c/Norvane/ENU"
cp "$package/ENU/HELP.chm" "$prefix/drive_c/Norvane/ENU/"
cp "$tests/help_window.exe" "$prefix/drive_c/Norvane/"
(cd "$prefix/drive_c/Norvane" && WINEPREFIX=$prefix WINEDEBUG=+htmlhelp \
  timeout 300 xvfb-run -a "$WINE" help_window.exe 'C:\Norvane\ENU\HELP.chm' 5401 \
  >"$work/window.txt" 2>"$work/trace.txt")
status=$?
window=$(tr -d '\r' <"$work/window.txt")
want="HH Parent: $(title_of "$resources/help/ENU/index.html")"
[ "$status" -eq 0 ] || fail "no help window (exit status $status)"
[ "$window" = "$want" ] || fail "the help window is '$window', not '$want'"
grep -q 'HH_HELP_CONTEXT' "$work/trace.txt" || fail "hhctrl was not called with HH_HELP_CONTEXT"
alias=$(sed -n 's/.*FindContextAlias returning "\(.*\)"/\1/p' "$work/trace.txt" | head -1)
[ "$alias" = /selection.html ] || fail "hhctrl resolved 5401 to '$alias'"
# The window's browser is sent to that page of the file, whose title the chm case checked (the
# prefix has no HTML engine, so the page itself is not drawn here). Wine's trace doubles a
# backslash.
url=$(sed -n 's/.*navigate_url L"\(.*\)"/\1/p' "$work/trace.txt" | head -1)
[ "$url" = 'mk:@MSITStore:C:\\Norvane\\ENU\\HELP.chm::/selection.html' ] ||
  fail "the help window went to '$url'"
((case_ok)) && { echo "ok $case_name: $window, 5401 -> $alias"; passed=$((passed + 1)); }

echo "help cases: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
