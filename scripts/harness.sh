# Shared shell functions for building Quorvin and running its Windows
# program under Wine. Source it from a bash script that runs with
# `set -euo pipefail`; every name it defines starts with qv_.
#
#   qv_install_packages        install the Debian packages that are missing
#   qv_on_exit CMD...          run CMD when the script exits (last in, first out)
#   qv_start_xvfb              start an Xvfb of our own, export DISPLAY
#   qv_make_locale DIR         compile ja_JP.UTF-8 into DIR
#   qv_wine_env DIR            Wine's environment for a run folder
#   qv_make_template PREFIX    a booted, configured prefix to copy from
#   qv_run_in_fresh_prefix TEMPLATE RUNDIR PROGRAM [ARGS...]
#                              run one Windows program in a copy of TEMPLATE

QV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages that building and testing need.
QV_PACKAGES=(
  g++ make cmake libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev
  g++-mingw-w64-x86-64-posix wine wine64 xvfb x11-utils xclip xdotool imagemagick
  fonts-ipafont-gothic fonts-wine locales libc-bin
)

qv_log() { printf '[quorvin] %s\n' "$*" >&2; }
qv_die() { qv_log "error: $*"; exit 1; }

# Runs a command as root: directly when we are root, through sudo otherwise.
qv_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

qv_install_packages() {
  local missing=() package status
  for package in "${QV_PACKAGES[@]}"; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)"
    [ "$status" = installed ] || missing+=("$package")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  qv_log "installing ${missing[*]}"
  qv_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null
  qv_as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# --- clean-up at exit ------------------------------------------------------

QV_EXIT_ACTIONS=()
qv_run_exit_actions() {
  local status=$? i
  for ((i = ${#QV_EXIT_ACTIONS[@]} - 1; i >= 0; i--)); do
    eval "${QV_EXIT_ACTIONS[i]}" || true
  done
  QV_EXIT_ACTIONS=()
  return "$status"
}
qv_on_exit() {
  local quoted
  printf -v quoted '%q ' "$@"
  QV_EXIT_ACTIONS+=("$quoted")
  if [ "${#QV_EXIT_ACTIONS[@]}" -eq 1 ]; then
    trap qv_run_exit_actions EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
  fi
}

# --- X display ------------------------------------------------------------

# Starts an Xvfb on a display number that Xvfb itself finds free, checks that
# it answers, exports DISPLAY and stops it when the script exits. A display
# that someone else already holds is never used.
qv_start_xvfb() {
  local geometry="${1:-1280x1024x24}" number_file number="" i
  number_file="$(mktemp)"
  # -displayfd makes Xvfb pick a free display and write its number.
  Xvfb -displayfd 9 -screen 0 "$geometry" -nolisten tcp -noreset \
    9>"$number_file" >/dev/null 2>&1 </dev/null &
  QV_XVFB_PID=$!
  qv_on_exit qv_stop_xvfb "$QV_XVFB_PID"
  for ((i = 0; i < 100; i++)); do
    number="$(head -n 1 "$number_file" 2>/dev/null || true)"
    [ -n "$number" ] && break
    kill -0 "$QV_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  [ -n "$number" ] || qv_die "Xvfb did not start"
  export DISPLAY=":$number"
  for ((i = 0; i < 50; i++)); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  qv_die "Xvfb on $DISPLAY does not answer"
}

qv_stop_xvfb() {
  local pid="$1"
  kill "$pid" 2>/dev/null || return 0
  wait "$pid" 2>/dev/null || true
}

# --- Wine -----------------------------------------------------------------

# ja_JP.UTF-8 compiled into a folder of our own (no change to the system's
# locales), so that Wine takes code page 932 and its UI font shows Japanese.
qv_make_locale() {
  local dir
  dir="$(realpath -m "$1")"
  if [ ! -f "$dir/ja_JP.UTF-8/LC_CTYPE" ]; then
    mkdir -p "$dir"
    # localedef exits 1 on mere warnings; the result is checked below.
    localedef -i ja_JP -f UTF-8 "$dir/ja_JP.UTF-8" >/dev/null 2>&1 || true
    [ -f "$dir/ja_JP.UTF-8/LC_CTYPE" ] || qv_die "localedef could not make ja_JP.UTF-8"
  fi
}

# Exports the environment that every Wine call of one run folder shares.
# QV_LOCALE_DIR, when set, holds a compiled ja_JP.UTF-8.
qv_wine_env() {
  local dir
  dir="$(realpath -m "$1")"
  export WINEPREFIX="$dir/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Debian's wineserver keeps its socket folder under TMPDIR.
  export TMPDIR="$dir/tmp"
  mkdir -p "$TMPDIR"
  if [ -n "${QV_LOCALE_DIR:-}" ]; then
    LOCPATH="$(realpath -m "$QV_LOCALE_DIR")"
    export LOCPATH LANG=ja_JP.UTF-8
    unset LC_ALL LANGUAGE
  fi
}

# The registry settings of a new prefix, as a UTF-16 .reg file (the only
# form whose non-ASCII names regedit reads the same in every locale):
# - Wine draws frames itself (no window manager to wait for) and a crash ends
#   the program at once instead of opening a dialog;
# - Japanese whatever the locale: the system's UI fonts (menus, captions,
#   message boxes) fall back to IPAGothic for the glyphs they lack, and the
#   Japanese faces the program asks for are IPAGothic / IPAPGothic. Without
#   this, an English locale shows Japanese menus and messages as boxes, and
#   Wine may serve "ＭＳ ゴシック" from a CJK font that has no Latin letters.
#   Wine rewrites the links of Tahoma and Microsoft Sans Serif when the
#   locale's code page changes, so a prefix keeps them only while it is run
#   in the code page it was made in; the replacements always stay.
qv_write_prefix_settings() {
  local out="$1" link name
  # "ipag.ttf,IPAGothic" as REG_MULTI_SZ: UTF-16LE bytes, two NULs at the end.
  link="$(printf 'ipag.ttf,IPAGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v |
    tr -s ' \n' ',,' | sed 's/^,//; s/,$//')"
  {
    printf '%s\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
      '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for name in 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft Sans Serif' 'MS UI Gothic'; do
      printf '"%s"=hex(7):%s\n' "$name" "$link"
    done
    printf '%s\n' '' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
      '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' \
      '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS PGothic"="IPAPGothic"'
  } | sed 's/$/\r/' | { printf '\xff\xfe' && iconv -f UTF-8 -t UTF-16LE; } >"$out"
}

# Boots a prefix once, with the settings above. Needs DISPLAY.
qv_make_template() {
  local prefix work
  prefix="$(realpath -m "$1")"
  work="$(dirname "$prefix")/template-work"
  rm -rf "$prefix" "$work"
  mkdir -p "$work"
  (
    qv_wine_env "$work" &&
      export WINEPREFIX="$prefix" &&
      wineboot -i >/dev/null 2>&1 </dev/null &&
      qv_write_prefix_settings "$work/settings.reg" &&
      wine regedit /S "$work/settings.reg" >/dev/null 2>&1 </dev/null || exit 1
    # Without Marlett the caption buttons show as letters.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
      cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || exit 1
    fi
    wineserver -w
  ) || qv_die "could not create the Wine prefix $prefix"
  rm -rf "$work"
  [ -f "$prefix/user.reg" ] || qv_die "wineboot did not create $prefix"
  grep -q '"Managed"="N"' "$prefix/user.reg" && grep -q 'Fonts\\\\Replacements' "$prefix/user.reg" ||
    qv_die "registry settings missing in $prefix"
}

# Copies the prefix TEMPLATE to COPY. Program files (DLLs, executables,
# drivers, fonts; about 700 MB that nothing rewrites) are hard-linked, which
# takes a tenth of a second instead of seconds; every other file (the
# registry above all, which Wine rewrites in place, and the .ini files) is a
# copy of its own, so a run can never change the template.
qv_copy_prefix() {
  local template="$1" copy="$2"
  cp -al "$template" "$copy" || return 1
  (
    cd "$template" &&
      find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' -o -iname '*.sys' \
        -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.tlb' \
        -o -iname '*.ttf' -o -iname '*.ttc' -o -iname '*.fon' -o -iname '*.nls' \) -print0 |
      xargs -0 -r cp -a --parents --remove-destination -t "$copy"
  )
}

# Runs PROGRAM in a copy of TEMPLATE made inside RUNDIR (which must not exist
# yet or be empty), removes the copy afterwards and returns the program's exit
# code (Wine gives it modulo 256). QV_WINE_TIMEOUT (seconds, default 120)
# bounds the program; a program that overruns it is ended with code 124.
qv_run_in_fresh_prefix() {
  local template="$1" rundir="$2"
  shift 2
  local status=0
  mkdir -p "$rundir" || return 125
  # Each step is checked by hand: errexit does not hold inside a function
  # that its caller tests with || or if. 125 means that the run could not
  # be set up.
  (
    qv_wine_env "$rundir" || exit 125
    qv_copy_prefix "$template" "$WINEPREFIX" || exit 125
    # The server is started before any wine call whose output may be a pipe,
    # so the pipe is not held open by the server until it exits.
    wineserver -p || exit 125
    trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null' EXIT
    wine wineboot >/dev/null 2>&1 </dev/null || exit 125
    timeout -k 5 "${QV_WINE_TIMEOUT:-120}" wine "$@" </dev/null
  ) || status=$?
  rm -rf "$rundir"
  return "$status"
}
