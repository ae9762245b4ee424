# Shared by scripts/run.sh, scripts/test.sh and tests/e2e/run.sh (sourced).

# The root user runs commands directly; anyone else through sudo.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named Debian packages that are missing.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq </dev/null
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" </dev/null
}

has_ja_locale() {
  locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'
}

# ja_JP.UTF-8 gives Wine the ANSI code page 932 and Japanese file names.
ensure_ja_locale() {
  has_ja_locale && return 0
  echo "Generating the ja_JP.UTF-8 locale"
  as_root sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP\.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen --keep-existing >/dev/null
}

# Waits for a condition command, polling every 0.1 s, for at most $1 seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Starts Xvfb on a free display; sets XVFB_PID and exports DISPLAY.
start_xvfb() {
  local n
  for n in $(seq 90 160); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    if wait_for 10 test -e "/tmp/.X11-unix/X$n"; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [[ -n "${XVFB_PID:-}" ]]; then
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
  fi
  return 0
}

# Makes the prefix $WINEPREFIX if it has not been made yet (about 14 s).
ensure_wine_prefix() {
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  install_prefix_fonts
}

# Wine draws the caption buttons with the Marlett symbol font, which it finds
# only in the prefix's own Fonts folder, not where fonts-wine puts it.
install_prefix_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/marlett.ttf; do
    [[ -f "$font" && ! -f "$fonts/${font##*/}" ]] && cp "$font" "$fonts/"
  done
  return 0
}

# Imports registry lines (UTF-8, without the header) into $WINEPREFIX.
import_registry() {
  local file
  file=$(mktemp --suffix=.reg)
  { printf 'Windows Registry Editor Version 5.00\r\n\r\n'; sed 's/$/\r/'; } |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$file"
  wine regedit /S "Z:${file//\//\\}"
  wineserver -w
  rm -f "$file"
}

# The Japanese faces the program asks for, mapped to the IPA fonts; a crash
# prints a backtrace instead of waiting on a dialog nobody can answer.
prefix_settings() {
  cat <<'REG'
[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
}

# Every process of the prefix on one virtual desktop named "shell": window
# frames, a taskbar and a work area smaller than the screen. $1: more
# registry lines, if any.
use_shell_desktop() {
  {
    prefix_settings
    cat <<'REG'

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"shell"="1280x1024"
REG
    [[ -n "${1:-}" ]] && printf '\n%s\n' "$1"
  } | import_registry
}

cross_build() {
  local dir=$1
  cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" &&
    cmake --build "$dir" -j2
}
