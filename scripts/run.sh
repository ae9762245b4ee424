#!/usr/bin/env bash
# Builds wakumo.exe with mingw-w64 and starts it under Wine. Installs what is
# missing first.
#   scripts/run.sh [--screenshot-only]
# With a display ($DISPLAY set) Wakumo opens there. Without one it runs on a
# virtual desktop in Xvfb: a screenshot is saved once its window is up (the
# path is printed), and it keeps running until Ctrl-C, or ends right after the
# screenshot with --screenshot-only.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=lib.sh
source "$ROOT/scripts/lib.sh"

screenshot_only=0
for arg in "$@"; do
  case $arg in
    --screenshot-only) screenshot_only=1 ;;
    -h | --help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown argument: $arg" >&2; exit 2 ;;
  esac
done

BUILD=$(realpath -m "${WAKUMO_BUILD_ROOT:-build}")
ensure_packages cmake g++-mingw-w64-x86-64-posix python3 wine wine64 fonts-wine xvfb xdotool imagemagick \
  fonts-ipafont-gothic locales fp-utils-3.2.2
ensure_ja_locale
cross_build "$BUILD/win32"
exe=$BUILD/win32/wakumo.exe

# Code page 932 and Japanese fonts, as on a Japanese Windows.
export LC_ALL=ja_JP.UTF-8 WINEDEBUG=${WINEDEBUG:--all}

if [[ -n "${DISPLAY:-}" && $screenshot_only -eq 0 ]]; then
  # Your own prefix, made on the first start, with the caption buttons' font.
  export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
  ensure_wine_prefix
  exec wine "$exe"
fi

# No display: a prefix of our own (kept for the next start) and Xvfb.
export WINEPREFIX=$BUILD/run/wineprefix
shot=$BUILD/run/screenshot.png
mkdir -p "$BUILD/run"
unset DISPLAY
wine_pid=
cleanup() {
  [[ -n "$wine_pid" ]] && kill "$wine_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1 || true
  stop_xvfb
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb
new_prefix=0
[[ -f "$WINEPREFIX/system.reg" ]] || new_prefix=1
ensure_wine_prefix
((new_prefix)) && prefix_settings | import_registry

# A desktop named "shell" has a taskbar, like a real one.
wine explorer /desktop=shell,1280x1024 "$exe" >"$BUILD/run/wine.log" 2>&1 &
wine_pid=$!
has_main_window() { xdotool search --name '^Wakumo$' >/dev/null 2>&1; }
if ! wait_for 60 has_main_window; then
  echo "Wakumo's window did not appear within 60 s; Wine's output:" >&2
  cat "$BUILD/run/wine.log" >&2
  exit 1
fi
# The window is mapped before its controls are painted: wait until two
# captures of it in a row are the same and show more than a few colours.
last_signature=
painted() {
  local id info
  id=$(xdotool search --name '^Wakumo$' | head -1) || return 1
  info=$(import -window "$id" -format '%k %#' info: 2>/dev/null) || return 1
  [[ "$info" == "$last_signature" && ${info%% *} -gt 8 ]] && return 0
  last_signature=$info
  return 1
}
wait_for 20 painted || echo "(the window may not be fully painted yet)"
import -window root "$shot"
echo "Wakumo is running on DISPLAY=$DISPLAY (virtual desktop 1280x1024)"
echo "screenshot: $shot"
((screenshot_only)) && exit 0
echo "Ctrl-C ends it."
wait "$wine_pid" || true
