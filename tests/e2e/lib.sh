# Helpers of the end-to-end suite: steps and failures, real input through
# xdotool, waiting for windows, screenshots and pixel checks, and reading a
# design through quorvin-gen --json. Sourced by run.sh after
# scripts/harness.sh; every name starts with e2e_.
#
# Only what a user does and sees is used: the X pointer and keyboard, the
# windows' titles and places as X knows them, the pixels on the screen and
# the files the program writes. Nothing here calls into the program.

# Several helpers hand their results to run.sh in globals (GX, DX, E2E_PID,
# E2E_STATUS...).
# shellcheck disable=SC2034

# ---- Steps and failures -----------------------------------------------------

E2E_ARTIFACTS=""
E2E_STEP_NO=0
E2E_STEP="start-up"
E2E_SLUG="00-setup"
E2E_SHOT_NO=0

e2e_log() { printf '[e2e %3ds] %s\n' "$((SECONDS - E2E_START))" "$*" >&2; }

# Starts the next step; its screenshots are named NN-SLUG*.png.
e2e_step() {
  local slug="$1"
  shift
  E2E_STEP_NO=$((E2E_STEP_NO + 1))
  E2E_STEP="$*"
  E2E_SLUG="$(printf '%02d-%s' "$E2E_STEP_NO" "$slug")"
  E2E_SHOT_NO=0
  e2e_log "step $E2E_STEP_NO: $E2E_STEP"
}

# Ends the run: names the step, keeps a screenshot of the whole screen.
e2e_fail() {
  trap - ERR
  e2e_log "FAILED in step $E2E_STEP_NO ($E2E_STEP): $*"
  if [ -n "$E2E_ARTIFACTS" ] && [ -n "${DISPLAY:-}" ] &&
    import -window root "$E2E_ARTIFACTS/$E2E_SLUG-failure.png" 2>/dev/null; then
    e2e_log "screen at the failure: $E2E_ARTIFACTS/$E2E_SLUG-failure.png"
  fi
  [ -z "$E2E_ARTIFACTS" ] || e2e_log "screenshots of every step so far: $E2E_ARTIFACTS"
  exit 1
}

# ---- Screenshots ------------------------------------------------------------

# e2e_shot [NAME] [GEOMETRY]: the screen (or WxH+X+Y of it) as a PNG among
# the step's artefacts; prints the file's path.
e2e_shot() {
  local name="${1:-}" geometry="${2:-}" file
  E2E_SHOT_NO=$((E2E_SHOT_NO + 1))
  file="$E2E_ARTIFACTS/$E2E_SLUG${name:+-$name}.png"
  if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$file" || e2e_fail "no screenshot"
  else
    import -window root "$file" || e2e_fail "no screenshot"
  fi
  printf '%s\n' "$file"
}

# The main window's rectangle on the screen, as a crop geometry.
e2e_main_geometry() { printf '%dx%d+%d+%d' "$E2E_MAIN_W" "$E2E_MAIN_H" "$E2E_MAIN_X" "$E2E_MAIN_Y"; }

# A screenshot of the main window, named after the step.
e2e_shot_main() { e2e_shot "${1:-}" "$(e2e_main_geometry)" >/dev/null; }

# ---- Pixels -----------------------------------------------------------------

E2E_SNAP=""  # the last screen grabbed by e2e_snap

e2e_snap() {
  E2E_SNAP="$E2E_WORK/snap.png"
  import -window root "$E2E_SNAP" 2>/dev/null
}

# e2e_pixels FILE X,Y...: the colours as RRGGBB, one per point, in order.
e2e_pixels() {
  local file="$1" format="" point
  shift
  for point in "$@"; do format+="%[hex:p{$point}] "; done
  convert "$file" -format "$format" info: 2>/dev/null
}

# e2e_expect TIMEOUT WHAT X,Y=COLOUR... : waits until every point shows its
# colour (RRGGBB; !RRGGBB: any other colour), or fails naming WHAT and the
# points that differ. Waiting for the expected picture instead of sleeping
# keeps the suite fast on a quiet machine and patient on a busy one.
e2e_expect() {
  local timeout="$1" what="$2"
  shift 2
  local deadline=$((SECONDS + timeout)) points=() wanted=() item got i ok wrong
  for item in "$@"; do
    points+=("${item%%=*}")
    wanted+=("${item#*=}")
  done
  while :; do
    e2e_snap
    read -r -a got <<<"$(e2e_pixels "$E2E_SNAP" "${points[@]}")"
    ok=1
    wrong=""
    for i in "${!points[@]}"; do
      case "${wanted[i]}" in
        !*) [ "${got[i]:-}" != "${wanted[i]#!}" ] || { ok=0; wrong+=" (${points[i]}) is ${got[i]:-?}"; } ;;
        *) [ "${got[i]:-}" = "${wanted[i]}" ] || { ok=0; wrong+=" (${points[i]}) is ${got[i]:-?} not ${wanted[i]}"; } ;;
      esac
    done
    [ "$ok" = 1 ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "$what:$wrong"
    sleep 0.1
  done
}

# e2e_count_differing A B GEOMETRY: how many pixels of the two screenshots
# differ by more than a few percent inside WxH+X+Y.
# (ImageMagick's policy forbids reading /dev/fd, so the crops are files.)
e2e_count_differing() {
  local a="$1" b="$2" geometry="$3"
  convert "$a" -crop "$geometry" +repage "$E2E_WORK/crop-a.png"
  convert "$b" -crop "$geometry" +repage "$E2E_WORK/crop-b.png"
  e2e_differing_pixels "$E2E_WORK/crop-a.png" "$E2E_WORK/crop-b.png" 5 "${4:-null:}"
}

# e2e_differing_pixels A B FUZZ_PERCENT [DIFFERENCE_IMAGE]: how many pixels
# of two pictures of one size differ by more than FUZZ_PERCENT.
e2e_differing_pixels() {
  compare -metric AE -fuzz "$3%" "$1" "$2" "${4:-null:}" 2>&1 >/dev/null |
    awk 'NR == 1 && $1 ~ /^[0-9.e+]+$/ { printf "%d", $1 }' ||
    true  # compare's status is 1 when the pictures differ
}

# e2e_expect_change TIMEOUT WHAT BEFORE GEOMETRY [MIN]: waits until at least
# MIN (default 20) pixels inside GEOMETRY differ from the screenshot BEFORE.
e2e_expect_change() {
  local timeout="$1" what="$2" before="$3" geometry="$4" minimum="${5:-20}"
  local deadline=$((SECONDS + timeout)) count
  while :; do
    e2e_snap
    count="$(e2e_count_differing "$before" "$E2E_SNAP" "$geometry")"
    [ -n "$count" ] && [ "$count" -ge "$minimum" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "$what: only ${count:-?} pixels of $geometry changed"
    sleep 0.1
  done
}

# ---- Real input ---------------------------------------------------------------

# Several moves in one xdotool call arrive as one WM_MOUSEMOVE; the short
# pauses let Wine deliver every move and press on its own.
e2e_move() { xdotool mousemove "$1" "$2"; sleep 0.05; }

e2e_click() {
  e2e_move "$1" "$2"
  xdotool click 1
  sleep 0.1
}

e2e_double_click() {
  e2e_move "$1" "$2"
  xdotool click --repeat 2 --delay 80 1
  sleep 0.2
}

# e2e_drag X1 Y1 X2 Y2 [STEPS]: press, move in STEPS steps, release.
e2e_drag() {
  local x1="$1" y1="$2" x2="$3" y2="$4" steps="${5:-4}" i
  e2e_move "$x1" "$y1"
  xdotool mousedown 1
  sleep 0.08
  for ((i = 1; i <= steps; i++)); do
    xdotool mousemove $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
    sleep 0.05
  done
  xdotool mouseup 1
  sleep 0.1
}

e2e_type() { xdotool type --delay 25 "$1"; }
e2e_key() { xdotool key --delay 40 "$@"; }

# Replaces the text of the edit box at X Y: click into it, select all of it
# with Home and Shift+End, type.
e2e_type_into() {
  e2e_click "$1" "$2"
  e2e_key Home shift+End
  e2e_type "$3"
}

# ---- Windows ------------------------------------------------------------------

# Prints the X window id of the visible top-level window whose title matches
# the extended regular expression TITLE, waiting up to TIMEOUT seconds.
# (xdotool's own --sync polls only twice a second.)
e2e_wait_window() {
  local title="$1" timeout="${2:-20}" id deadline
  deadline=$((SECONDS + timeout))
  while :; do
    id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)" || true
    [ -n "$id" ] && break
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "no window titled $title appeared within $timeout s"
    sleep 0.1
  done
  printf '%s\n' "$id"
}

# Waits until no visible window's title matches TITLE.
e2e_wait_gone() {
  local title="$1" timeout="${2:-20}" deadline
  deadline=$((SECONDS + timeout))
  while xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "the window titled $title is still open after $timeout s"
    sleep 0.1
  done
}

# e2e_geometry ID: sets GX GY GW GH to the window's outer rectangle.
e2e_geometry() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  GX="$X" GY="$Y" GW="$WIDTH" GH="$HEIGHT"
}

# e2e_dialog_unit ID TEMPLATE_W TEMPLATE_H X Y [EXTRA_Y_PX]: sets DX DY to
# the screen point of dialog-unit point (X, Y) in the dialog ID, whose
# template client area is TEMPLATE_W x TEMPLATE_H dialog units; the base
# units are measured from the dialog's client area on the screen (less
# EXTRA_Y_PX that the program adds to the height), so the suite follows the
# dialog font Wine really uses.
e2e_dialog_unit() {
  local id="$1" tw="$2" th="$3" x="$4" y="$5" extra="${6:-0}" cw ch
  e2e_geometry "$id"
  cw=$((GW - 2 * E2E_DLGFRAME))
  ch=$((GH - 2 * E2E_DLGFRAME - E2E_CAPTION - extra))
  # MapDialogRect: pixels = units * base / 4 (x) or / 8 (y), rounded.
  DX=$((GX + E2E_DLGFRAME + (x * cw * 2 + tw) / (2 * tw)))
  DY=$((GY + E2E_DLGFRAME + E2E_CAPTION + (y * ch * 2 + th) / (2 * th)))
}

# ---- Programs under Wine ------------------------------------------------------

# e2e_start_program LOG DIR PROGRAM [ARGS]: starts a Windows program in DIR
# under Wine in the background; E2E_PID is the wine process, which ends
# with the program and returns its exit code.
e2e_start_program() {
  local log="$1" dir="$2"
  shift 2
  (cd "$dir" && exec wine "$@") </dev/null >"$log" 2>&1 &
  E2E_PID=$!
}

# e2e_wait_exit PID TIMEOUT: waits for the program to end; sets E2E_STATUS.
e2e_wait_exit() {
  local pid="$1" timeout="$2" deadline
  deadline=$((SECONDS + timeout))
  while kill -0 "$pid" 2>/dev/null; do
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "the program did not end within $timeout s"
    sleep 0.1
  done
  E2E_STATUS=0
  wait "$pid" || E2E_STATUS=$?
}

# ---- Reading a design -----------------------------------------------------------

# e2e_read_design FILE.mwd: the design as quorvin-gen --json describes it,
# flattened into E2E_WORK/design.txt (path=value lines, see json_flat.cmake).
e2e_read_design() {
  local json="$E2E_WORK/design.json"
  "${E2E_GENERATOR[@]}" --json -o "$json" "$1" || e2e_fail "quorvin-gen --json could not read $1"
  cmake -DJSON="$json" -DOUT="$E2E_WORK/design.txt" -P "$E2E_HERE/json_flat.cmake" ||
    e2e_fail "the description of $1 is not JSON"
}

# The value at PATH of the design last read.
e2e_value() {
  awk -v key="$1" 'index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1; exit }
                   END { if (!found) printf "<missing>" }' "$E2E_WORK/design.txt"
}

# e2e_expect_values WHAT PATH=VALUE...: fails naming every path whose value
# differs.
e2e_expect_values() {
  local what="$1" item path want got wrong=""
  shift
  for item in "$@"; do
    path="${item%%=*}"
    want="${item#*=}"
    got="$(e2e_value "$path")"
    [ "$got" = "$want" ] || wrong+=" $path is '$got' not '$want';"
  done
  [ -z "$wrong" ] || e2e_fail "$what:$wrong"
}
