#!/usr/bin/env bash
# Runs the start-up benchmark under Wine on a virtual desktop in a private
# Xvfb display, with a warm wine server.
#   tests/startup/run.sh [CROSS_BUILD_DIR] [ROUNDS] [BASELINE_EXE]   (default: build/win32, 7)
# BASELINE_EXE: an earlier wakumo.exe, timed in the same rounds.
# WAKUMO_E2E_PREFIX names a Wine prefix to use (made if missing, kept
# afterwards); without it a temporary prefix is made and removed.
# Prints the figures; exits non-zero only when a program does not start.
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../scripts/lib.sh
source "$ROOT/scripts/lib.sh"

build=$(realpath -m "${1:-$ROOT/build/win32}")
rounds=${2:-7}
for f in wakumo.exe startup_bench.exe startup_reference.exe; do
  [[ -f "$build/$f" ]] || { echo "startup: missing $build/$f (cross-build first)"; exit 1; }
done

own_prefix=
if [[ -n "${WAKUMO_E2E_PREFIX:-}" ]]; then
  export WINEPREFIX=$WAKUMO_E2E_PREFIX
else
  export WINEPREFIX=$(mktemp -d /tmp/wakumo-startup-prefix.XXXXXX)
  own_prefix=$WINEPREFIX
fi
export WINEDEBUG=-all
has_ja_locale && export LC_ALL=ja_JP.UTF-8

# Wakumo runs from a folder of its own, so its settings file is its own.
scratch=$(mktemp -d /tmp/wakumo-startup.XXXXXX)
cleanup() {
  wineserver -k >/dev/null 2>&1
  stop_xvfb
  [[ -n "$own_prefix" ]] && rm -rf "$own_prefix"
  rm -rf "$scratch"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp "$build/wakumo.exe" "$build/startup_reference.exe" "$build/startup_bench.exe" "$scratch/"
if [[ -n "${3:-}" ]]; then
  mkdir -p "$scratch/baseline"
  cp "$3" "$scratch/baseline/wakumo.exe"
fi
start_xvfb || exit 1
wineserver -k >/dev/null 2>&1
ensure_wine_prefix
use_shell_desktop
# Resident, so that every start meets a running server, as a user's does.
wineserver -p
baseline=()
[[ -n "${3:-}" ]] && baseline=(--baseline "$(winepath -w "$scratch/baseline/wakumo.exe")")
timeout -k 10 600 wine "$scratch/startup_bench.exe" --wakumo "$(winepath -w "$scratch/wakumo.exe")" \
  --reference "$(winepath -w "$scratch/startup_reference.exe")" --rounds "$rounds" \
  --scratch "$(winepath -w "$scratch")" "${baseline[@]}" </dev/null
