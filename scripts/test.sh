#!/usr/bin/env bash
# Builds everything and runs every test: the unit tests, the threaded ones
# again under ThreadSanitizer and Address/UndefinedBehaviorSanitizer, the
# fuzz targets (briefly), the Win32 adapter tests (the notification-area ones
# in a virtual desktop with a taskbar), the end-to-end suite and the start-up
# benchmark under Wine, and the other benchmarks (briefly, for their figures). Installs what is missing.
# Ends with the line "N passed, N failed, N skipped"; exits non-zero on any
# failure. WAKUMO_BUILD_ROOT moves the build folders (default: build).
set -uo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
# shellcheck source=lib.sh
source "$ROOT/scripts/lib.sh"

BUILD=$(realpath -m "${WAKUMO_BUILD_ROOT:-build}")
mkdir -p "$BUILD"
passed=0 failed=0 skipped=0
failures=()
started=$SECONDS

section() { printf '\n==== %s (%d s)\n' "$1" $((SECONDS - started)); }
fail() {
  failed=$((failed + $2))
  failures+=("$1")
}

# Adds the counts of a CTest JUnit report; a missing report is one failure.
count_junit() {
  local name=$1 report=$2 counts p f s
  if [[ ! -s "$report" ]]; then
    fail "$name: no test report" 1
    return
  fi
  counts=$(python3 - "$report" <<'PY'
import sys, xml.etree.ElementTree as ET
suite = ET.parse(sys.argv[1]).getroot()
cases = suite.iter("testcase")
p = f = s = 0
for c in cases:
    status = c.get("status", "")
    if c.find("failure") is not None or c.find("error") is not None or status == "fail":
        f += 1
    elif c.find("skipped") is not None or status in ("notrun", "disabled"):
        s += 1
    else:
        p += 1
print(p, f, s)
PY
  ) || { fail "$name: unreadable test report" 1; return; }
  read -r p f s <<<"$counts"
  echo "$name: $p passed, $f failed, $s skipped"
  passed=$((passed + p))
  skipped=$((skipped + s))
  ((f)) && fail "$name: $f failed" "$f"
}

run_ctest() {
  local name=$1 dir=$2
  shift 2
  local report=$BUILD/junit-$name.xml
  rm -f "$report"
  ctest --test-dir "$dir" --output-on-failure --output-junit "$report" "$@"
  count_junit "$name" "$report"
  # The model test's session: how many steps ran, from which seed.
  grep -o 'model: [0-9]* steps[^&<]*' "$report" 2>/dev/null | sed "s/^/$name /"
}

section "Packages"
ensure_packages cmake g++ libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix wine wine64 fonts-wine \
  xvfb xdotool imagemagick fonts-ipafont-gothic locales clang libclang-rt-14-dev python3 fp-utils-3.2.2 libchm-bin ||
  fail "package installation" 1
ensure_ja_locale || fail "ja_JP.UTF-8 locale" 1

section "Native build"
native_ok=1
if cmake -S . -B "$BUILD/native" && cmake --build "$BUILD/native" -j2; then
  section "Unit tests"
  run_ctest unit "$BUILD/native"
else
  native_ok=0
  fail "native build" 1
fi

section "Threaded tests under sanitizers"
# The tray component's worker threads and their hand-offs, each sanitizer in
# a build folder of its own; every case runs ten times. Under address,undefined
# the main window's model test also runs once, on a long random session.
for sanitizer in thread address,undefined; do
  dir=$BUILD/sanitize-${sanitizer//,/-}
  targets=(wakumo_threads_tests)
  [[ $sanitizer == address* ]] && targets+=(wakumo_model_tests)
  if cmake -S . -B "$dir" -DWAKUMO_SANITIZE="$sanitizer" >/dev/null &&
    cmake --build "$dir" -j2 --target "${targets[@]}"; then
    GTEST_REPEAT=10 run_ctest "sanitize-${sanitizer//,/-}" "$dir" -R '^sanitized\.'
    if [[ $sanitizer == address* ]]; then
      run_ctest "sanitize-${sanitizer//,/-}-model" "$dir" -R '^sanitized-model\.'
    fi
  else
    fail "sanitizer build ($sanitizer)" 1
  fi
done

section "Fuzz targets (short runs)"
fuzz_sources=(tests/fuzz/*.cpp)
if [[ -e "${fuzz_sources[0]}" ]]; then
  fuzz_targets=()
  for f in "${fuzz_sources[@]}"; do fuzz_targets+=("$(basename "$f" .cpp)"); done
  if CC=clang CXX=clang++ cmake -S . -B "$BUILD/fuzz" -DWAKUMO_FUZZ=ON &&
    cmake --build "$BUILD/fuzz" -j2 --target "${fuzz_targets[@]}"; then
    run_ctest fuzz "$BUILD/fuzz" -R '_short$'
  else
    fail "fuzz build" 1
  fi
else
  echo "no fuzz targets"
fi

section "Cross-build (mingw-w64)"
# One Wine prefix for the whole run: making one takes about 14 s.
prefix=$(mktemp -d /tmp/wakumo-test-prefix.XXXXXX)
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  rm -rf "$prefix"
}
trap cleanup EXIT
if cross_build "$BUILD/win32"; then
  section "Win32 adapter tests (Wine)"
  WINEPREFIX=$prefix run_ctest win32 "$BUILD/win32"
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1

  section "End-to-end suite (Wine, Xvfb)"
  e2e_out=$BUILD/e2e
  WAKUMO_E2E_PREFIX=$prefix WAKUMO_E2E_OUT=$e2e_out tests/e2e/run.sh "$BUILD/win32"
  e2e_status=$?
  summary=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' "$e2e_out/driver.log" 2>/dev/null | tail -1)
  if [[ -n "$summary" ]]; then
    read -r p f s <<<"$(sed -E 's/^e2e: ([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/' <<<"$summary")"
    passed=$((passed + p))
    skipped=$((skipped + s))
    ((f)) && fail "e2e: $f failed" "$f"
    ((f == 0 && e2e_status != 0)) && fail "e2e: exit status $e2e_status" 1
  else
    fail "e2e: no result (exit status $e2e_status)" 1
  fi

  section "Start-up benchmark (Wine, Xvfb)"
  # Figures only; it fails when a program does not start.
  if WAKUMO_E2E_PREFIX=$prefix tests/startup/run.sh "$BUILD/win32" 5; then
    passed=$((passed + 1))
  else
    fail "start-up benchmark: a program did not start" 1
  fi
else
  fail "cross-build" 1
fi

section "Benchmarks (brief)"
if ((native_ok)); then
  shopt -s nullglob
  benches=("$BUILD"/native/*_bench)
  ((${#benches[@]})) || echo "no benchmarks"
  for b in "${benches[@]}"; do
    [[ -x "$b" ]] || continue
    echo "-- $(basename "$b")"
    "$b" --benchmark_min_time=0.01 --benchmark_color=false || fail "benchmark $(basename "$b")" 1
  done
fi

section "Summary"
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "total time $((SECONDS - started)) s"
echo "$passed passed, $failed failed, $skipped skipped"
((failed == 0))
