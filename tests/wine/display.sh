# Sourced by what runs Norvane.exe's windows under Wine: a virtual X display of its own (Xvfb),
# closed when the script exits, and the registry text that makes Wine draw its windows on a
# desktop window of its own, captions and frames included, as Windows would. Both are
# $display_size pixels (1024x768 unless set before this file is sourced).
display_size=${display_size:-1024x768}
wine_desktop=$'[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
wine_desktop+=$'[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="'$display_size$'"\r\n\r\n'

start_display() {
  command -v Xvfb >/dev/null || return 1
  local number
  for number in $(seq 90 120); do
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 "${display_size}x24" -nolisten tcp >/dev/null 2>&1 &
    display_pid=$!
    sleep 1
    if kill -0 "$display_pid" 2>/dev/null; then
      export DISPLAY=:$number
      trap 'kill "$display_pid" 2>/dev/null || true; remove_work 2>/dev/null' EXIT
      return 0
    fi
  done
  return 1
}
