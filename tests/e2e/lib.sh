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
  local left=100000 top=100000 right=-1 bottom=-1 x y inside=()
  for item in "$@"; do
    points+=("${item%%=*}")
    wanted+=("${item#*=}")
    x="${item%%,*}" y="${item#*,}" y="${y%%=*}"
    ((x < left)) && left=$x
    ((y < top)) && top=$y
    ((x > right)) && right=$x
    ((y > bottom)) && bottom=$y
  done
  # Only the rectangle around the points is grabbed on every look.
  for item in "${points[@]}"; do
    inside+=("$((${item%%,*} - left)),$((${item#*,} - top))")
  done
  while :; do
    import -window root -crop "$((right - left + 1))x$((bottom - top + 1))+$left+$top" +repage \
      "$E2E_WORK/points.png" 2>/dev/null
    read -r -a got <<<"$(e2e_pixels "$E2E_WORK/points.png" "${inside[@]}")"
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
# Only GEOMETRY is grabbed on every look, which keeps a look cheap on a busy
# machine.
e2e_expect_change() {
  local timeout="$1" what="$2" before="$3" geometry="$4" minimum="${5:-20}"
  local deadline=$((SECONDS + timeout)) count
  convert "$before" -crop "$geometry" +repage "$E2E_WORK/crop-a.png"
  while :; do
    import -window root -crop "$geometry" +repage "$E2E_WORK/crop-b.png" 2>/dev/null
    count="$(e2e_differing_pixels "$E2E_WORK/crop-a.png" "$E2E_WORK/crop-b.png" 5)"
    [ -n "$count" ] && [ "$count" -ge "$minimum" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "$what: only ${count:-?} pixels of $geometry changed"
    sleep 0.1
  done
}

# ---- Real input ---------------------------------------------------------------

# Several moves in one xdotool call arrive as one WM_MOUSEMOVE; the short
# pause after each move paces the pointer as a hand does, so that Wine
# delivers every move on its own.
e2e_move() { xdotool mousemove "$1" "$2"; sleep 0.05; }

# The program reads the pointer's place when it handles a press or a
# release, not from the X event; a busy program handles them late. The
# pointer stays until the press has visibly been handled: e2e_press HOLDER
# waits until a window of class HOLDER holds the mouse (a push button, an
# edit box, the surface during a placement or a move, a point marker
# during its drag hold it from the press to the release). Presses whose
# place does not matter, or whose effect the caller waits for, need none.
e2e_press() {
  xdotool mousedown 1
  [ -z "${1:-}" ] || e2e_wait_answer 30 "the press was not handled by a $1" capture "$1"
}
e2e_release() { xdotool mouseup 1; sleep 0.05; }

# e2e_click X Y [HOLDER]
e2e_click() {
  e2e_move "$1" "$2"
  e2e_press "${3:-}"
  e2e_release
}

# e2e_drag X1 Y1 X2 Y2 [STEPS] [HOLDER]: press (waiting for HOLDER, see
# e2e_press), move in STEPS steps, release.
e2e_drag() {
  local x1="$1" y1="$2" x2="$3" y2="$4" steps="${5:-4}" i
  e2e_move "$x1" "$y1"
  e2e_press "${6:-}"
  for ((i = 1; i <= steps; i++)); do
    e2e_move $((x1 + (x2 - x1) * i / steps)) $((y1 + (y2 - y1) * i / steps))
  done
  e2e_release
}

e2e_type() { xdotool type --delay 25 "$1"; }
e2e_key() { xdotool key --delay 40 "$@"; }

# e2e_paste TEXT: puts TEXT on the X clipboard and, once Windows programs
# see it there, pastes it with Ctrl+V, as a user pastes what an input
# method or another program gave them. Typing Japanese through xdotool
# needs a key mapped for a moment to each character, which Wine did not
# turn into characters reliably; a paste always arrives whole. Wine missed
# the X clipboard's new owner now and then: as a user copies again when a
# paste brought nothing, the text is put there again until Wine has it.
e2e_paste() {
  local text="$1" attempt deadline
  for attempt in 1 2 3 4 5; do
    printf '%s' "$text" | xclip -selection clipboard -i 2>/dev/null ||
      e2e_fail "could not put \"$text\" on the clipboard"
    deadline=$((SECONDS + 5))
    while [ "$SECONDS" -lt "$deadline" ]; do
      e2e_ask clipboard
      if [ "$PROBE_ANSWER" = "$text" ]; then
        e2e_key ctrl+v
        return 0
      fi
      sleep 0.1
    done
    e2e_log "Wine's clipboard does not hold \"$text\" after $attempt attempts to put it there"
  done
  e2e_fail "the text put on the X clipboard did not reach Wine's"
}

# ---- The keyboard focus -------------------------------------------------------
# X does not know which edit box of a window takes the next key: the probe,
# a small Windows program running beside the designer, reads it from the
# Wine session (GetGUIThreadInfo of the foreground thread) and answers one
# line per question.

# e2e_start_probe PROBE.exe: starts the probe; it ends with the Wine server.
e2e_start_probe() {
  coproc E2E_PROBE { exec wine "$1" 2>/dev/null; }
  e2e_focus
}

# e2e_ask QUESTION: sets PROBE_ANSWER to the probe's answer.
e2e_ask() {
  PROBE_ANSWER=""
  { printf '%s\n' "$1" >&"${E2E_PROBE[1]}"; } 2>/dev/null || e2e_fail "the focus probe has ended"
  IFS= read -r -t 30 PROBE_ANSWER <&"${E2E_PROBE[0]}" || e2e_fail "the focus probe did not answer"
  PROBE_ANSWER="${PROBE_ANSWER%$'\r'}"
}

# e2e_until TIMEOUT COMMAND [ARGS...]: runs COMMAND every tenth of a second
# until it succeeds; status 1 when TIMEOUT seconds pass first. The callers
# fail with a message that says what did not happen.
e2e_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}

# The conditions the waits below poll. Each asks the probe afresh.
e2e_answer_is() { e2e_ask "$1"; [ "$PROBE_ANSWER" = "$2" ]; }
e2e_focus_now_is() { e2e_focus; e2e_focus_is "$@"; }
e2e_focus_now_is_not() { e2e_focus; ! e2e_focus_is "$@"; }
e2e_focus_text_is() { e2e_focus; [ "$FOCUS_TEXT" = "$1" ]; }
e2e_focus_text_is_not() { e2e_focus; [ "$FOCUS_TEXT" != "$1" ]; }
e2e_focus_in_window() { e2e_focus; [[ "$FOCUS_ROOT" =~ ^$1$ ]]; }
e2e_focus_all_selected() { e2e_focus; [ "$FOCUS_SEL_START" = 0 ] && [ "$FOCUS_SEL_END" = "$FOCUS_LENGTH" ]; }
e2e_in_menu() { e2e_focus; (((16#${FOCUS_FLAGS:-0} & 4) != 0)); }

# e2e_wait_answer TIMEOUT WHAT QUESTION ANSWER: waits until the probe
# answers QUESTION with ANSWER.
e2e_wait_answer() {
  e2e_until "$1" e2e_answer_is "$3" "$4" ||
    e2e_fail "$2: \"$3\" is answered \"$PROBE_ANSWER\", not \"$4\", after $1 s"
}

# e2e_focus: sets FOCUS_FLAGS (hexadecimal, menu mode 4), FOCUS_CLASS,
# FOCUS_ID, FOCUS_PARENT (control ids), FOCUS_SEL_START, FOCUS_SEL_END and
# FOCUS_LENGTH (UTF-16 units; -1 outside edit boxes), FOCUS_ROOT (the title
# of the window it is in) and FOCUS_TEXT.
e2e_focus() {
  local line
  FOCUS_FLAGS=0 FOCUS_CLASS="" FOCUS_ID=0 FOCUS_PARENT=0 FOCUS_SEL_START=-1 FOCUS_SEL_END=-1
  FOCUS_LENGTH=0 FOCUS_ROOT="" FOCUS_TEXT=""
  e2e_ask focus
  line="$PROBE_ANSWER"
  [ "$line" = none ] && return 0
  # Tabs are white space to read, which would merge empty fields.
  line="${line//$'\t'/$'\x1f'}"
  IFS=$'\x1f' read -r FOCUS_FLAGS FOCUS_CLASS FOCUS_ID FOCUS_PARENT FOCUS_SEL_START FOCUS_SEL_END \
    FOCUS_LENGTH FOCUS_ROOT FOCUS_TEXT <<<"$line"
}

# The focus as a reader of a failure wants it.
e2e_focus_described() {
  printf '%s %s (parent %s) of "%s", text "%s"' "${FOCUS_CLASS:-nothing}" "$FOCUS_ID" \
    "$FOCUS_PARENT" "$FOCUS_ROOT" "$FOCUS_TEXT"
}

# e2e_focus_is CLASS ID: whether the focus (as last read) is in a window of
# CLASS (any case) whose control id, or whose parent's (the edit box inside
# a combo box), is ID; "any" matches every class or id.
e2e_focus_is() {
  { [ "$1" = any ] || [ "${FOCUS_CLASS,,}" = "${1,,}" ]; } &&
    { [ "$2" = any ] || [ "$FOCUS_ID" = "$2" ] || [ "$FOCUS_PARENT" = "$2" ]; }
}

# e2e_wait_focus TIMEOUT WHAT CLASS ID: waits until the keyboard focus is
# where e2e_focus_is CLASS ID says.
e2e_wait_focus() {
  e2e_until "$1" e2e_focus_now_is "$3" "$4" ||
    e2e_fail "$2: the keyboard focus is in $(e2e_focus_described), not in $3 $4 after $1 s"
}

# e2e_wait_focus_leaves TIMEOUT WHAT CLASS ID: waits until the keyboard
# focus is no longer where e2e_focus_is CLASS ID says.
e2e_wait_focus_leaves() {
  e2e_until "$1" e2e_focus_now_is_not "$3" "$4" ||
    e2e_fail "$2: the keyboard focus is still in $(e2e_focus_described) after $1 s"
}

# e2e_wait_dialog TITLE [TIMEOUT]: waits until the window titled TITLE (a
# regular expression, anchored) is shown and has the keyboard focus, so that
# it takes the next key and click; sets E2E_DIALOG to its X window id.
e2e_wait_dialog() {
  local title="$1" timeout="${2:-30}"
  E2E_DIALOG="$(e2e_wait_window "^$title\$" "$timeout")"
  e2e_until "$timeout" e2e_focus_in_window "$title" ||
    e2e_fail "the window $title is shown but has no keyboard focus after $timeout s (it is in $(e2e_focus_described))"
}

# e2e_wait_text TIMEOUT WHAT TEXT: waits until the focused window holds TEXT.
e2e_wait_text() {
  e2e_until "$1" e2e_focus_text_is "$3" ||
    e2e_fail "$2: the focused $(e2e_focus_described) does not hold \"$3\" after $1 s"
}

# e2e_wait_menu TIMEOUT WHAT: waits until the foreground thread is in a menu.
e2e_wait_menu() {
  e2e_until "$1" e2e_in_menu || e2e_fail "$2: no menu is open after $1 s"
}

# e2e_replace_text TIMEOUT WHAT TEXT [SHOWN]: in the focused edit box (the
# caller waited for it), selects everything with Home and Shift+End, waits
# until it is selected, types TEXT (pastes it, when it is more than
# printable ASCII) and waits until the box holds exactly TEXT (or SHOWN,
# where the box changes what is typed).
e2e_replace_text() {
  local timeout="$1" what="$2" text="$3" shown="${4:-$3}"
  e2e_key Home shift+End
  e2e_until "$timeout" e2e_focus_all_selected ||
    e2e_fail "$what: Home and Shift+End did not select the whole of $(e2e_focus_described) (selection $FOCUS_SEL_START-$FOCUS_SEL_END)"
  if [ -z "$(printf '%s' "$text" | LC_ALL=C tr -d '\040-\176')" ]; then
    e2e_type "$text"
  else
    e2e_paste "$text"
  fi
  e2e_wait_text "$timeout" "$what" "$shown"
}

# e2e_press_changing TIMEOUT WHAT KEY: presses KEY and waits until the
# focused window's text changes (a step through a list or a combo box).
e2e_press_changing() {
  local before
  e2e_focus
  before="$FOCUS_TEXT"
  e2e_key "$3"
  e2e_until "$1" e2e_focus_text_is_not "$before" ||
    e2e_fail "$2: $3 did not change \"$before\" in $(e2e_focus_described)"
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

# e2e_wait_file TIMEOUT FILE: waits until FILE exists and its size has
# stopped changing (two looks a fifth of a second apart agree).
e2e_wait_file() {
  local timeout="$1" file="$2" deadline size previous=""
  deadline=$((SECONDS + timeout))
  while :; do
    size="$(stat -c %s "$file" 2>/dev/null || true)"
    [ -n "$size" ] && [ "$size" = "$previous" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] &&
      e2e_fail "no $(basename "$file") was written${size:+ completely} within $timeout s"
    previous="$size"
    sleep 0.2
  done
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
