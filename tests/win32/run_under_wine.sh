#!/usr/bin/env bash
# Runs a Windows test program under Wine on a private X display.
#   run_under_wine.sh [--desktop NAME] PROGRAM.exe [ARGS...]
# WINEPREFIX, when set, names a prefix to use (made if missing); otherwise a
# temporary one is made and removed afterwards. The prefix gets a virtual
# desktop for every program (named "Default" unless --desktop names another:
# one named "shell" shows a taskbar from the start) and Japanese font
# replacements.
set -euo pipefail

desktop=Default
if [[ "${1:-}" == --desktop ]]; then
  desktop=$2
  shift 2
fi
program=$1
shift

for tool in wine wineserver Xvfb; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed" >&2
    exit 77
  fi
done

own_prefix=
if [[ -z "${WINEPREFIX:-}" ]]; then
  WINEPREFIX=$(mktemp -d /tmp/wakumo-wine.XXXXXX)
  own_prefix=$WINEPREFIX
fi
export WINEPREFIX WINEDEBUG=-all
# Japanese locale when the system has it: code page 932 and CJK font fallback.
if locale -a 2>/dev/null | grep -qi '^ja_JP.utf-\?8$'; then
  export LC_ALL=ja_JP.UTF-8
fi

# A free display number: no socket and no lock file.
display=
for n in $(seq 90 140); do
  if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
    display=$n
    break
  fi
done
[[ -n "$display" ]] || { echo "no free X display" >&2; exit 1; }

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  if [[ -n "$own_prefix" ]]; then wineserver -k >/dev/null 2>&1 || true; fi
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  if [[ -n "$own_prefix" ]]; then rm -rf "$own_prefix"; fi
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 1 200); do
  [[ -e /tmp/.X11-unix/X$display ]] && break
  sleep 0.05
done

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# The caption buttons' symbol font: Wine finds it only in the prefix.
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
if [[ -f /usr/share/wine/fonts/marlett.ttf && ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
reg() { wine reg add "$@" /f >/dev/null 2>&1; }
# One virtual desktop for every program: window frames, a taskbar and a work area.
reg 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d "$desktop"
reg 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /t REG_SZ /d 1280x1024
# Proportional and fixed Japanese faces the program asks for.
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ /d IPAPGothic
reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /t REG_SZ /d IPAGothic
wineserver -w

timeout 300 wine "$program" "$@"
