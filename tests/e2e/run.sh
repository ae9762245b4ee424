#!/usr/bin/env bash
# Runs the end-to-end suite: wakumo.exe and the driver exe under Wine, on a
# virtual desktop in a private Xvfb display.
#   tests/e2e/run.sh [CROSS_BUILD_DIR]      (default: build/win32)
# WAKUMO_E2E_PREFIX names a Wine prefix to use (made if missing, kept
# afterwards); without it a temporary prefix is made and removed.
# Output (screenshots) goes to build/e2e, or $WAKUMO_E2E_OUT.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib.sh
source "$ROOT/scripts/lib.sh"

build=$(realpath -m "${1:-$ROOT/build/win32}")
out=$(realpath -m "${WAKUMO_E2E_OUT:-$ROOT/build/e2e}")
exe=$build/wakumo.exe
driver=$build/tests/e2e/e2e_driver.exe

for f in "$exe" "$driver"; do
  [[ -f "$f" ]] || { echo "e2e: missing $f (cross-build first)"; exit 1; }
done
for tool in wine wineserver Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed"; exit 1; }
done
mkdir -p "$out"
rm -f "$out"/fail-*.png "$out"/main_window.png "$out"/main_window_spinners.png "$out"/about_box.png \
  "$out"/help_viewer.png "$out"/opened-urls.txt
# Wine hands web addresses to this instead of a browser: the suite reads what
# the about box's address label asked to open.
recorder=$out/record-url.sh
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>%q\n' "$out/opened-urls.txt" >"$recorder"
chmod +x "$recorder"

own_prefix=
if [[ -n "${WAKUMO_E2E_PREFIX:-}" ]]; then
  export WINEPREFIX=$WAKUMO_E2E_PREFIX
else
  export WINEPREFIX=$(mktemp -d /tmp/wakumo-e2e-prefix.XXXXXX)
  own_prefix=$WINEPREFIX
fi
export WINEDEBUG=-all
if has_ja_locale; then
  export LC_ALL=ja_JP.UTF-8
else
  echo "e2e: no ja_JP.UTF-8 locale; Wine runs with code page $(LC_ALL= locale charmap)"
fi

driver_pid=
cleanup() {
  [[ -n "$driver_pid" ]] && kill "$driver_pid" 2>/dev/null
  # Whatever is left in this prefix (Wakumo, explorer) was started here.
  wineserver -k >/dev/null 2>&1
  stop_xvfb
  [[ -n "$own_prefix" ]] && rm -rf "$own_prefix"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb || exit 1
# Programs of an earlier user of the prefix belong to a display that is gone.
wineserver -k >/dev/null 2>&1
ensure_wine_prefix
use_shell_desktop "$(printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\n"Browsers"="%s"' "$recorder")"

log=$out/driver.log
echo "e2e: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
# The log file, not a pipe: Wine's own processes may keep the driver's
# output open after it ends.
: >"$log"
timeout -k 10 300 wine "$driver" --wakumo "$exe" --out "$out" --xdotool "$(command -v xdotool)" \
  >"$log" 2>&1 &
driver_pid=$!
tail -n +1 -f --pid="$driver_pid" "$log" &
tail_pid=$!
wait "$driver_pid"
status=$?
driver_pid=
wait "$tail_pid" 2>/dev/null

if ! grep -q '^e2e: [0-9]* passed, [0-9]* failed' "$log"; then
  echo "e2e: the driver ended without a summary (status $status)"
  ((status)) || status=1
fi
exit "$status"
