#!/usr/bin/env bash
# The end-to-end suite: the user's whole road through the designer, driven
# only with real input (xdotool: pointer moves, presses, drags, keys, typed
# text) on quorvin.exe under Wine in an Xvfb of its own, and checked only by
# what a user sees or reads: screenshots, the saved project file (through
# quorvin-gen --json) and the generated source. At the end the generated
# source is compiled with mingw-w64 and run, and its window is compared
# with the design surface; so is the Unicode output of the same design, run
# in an English locale (ANSI code page 1252).
#
#   run.sh --run-dir DIR --generator QUORVIN_GEN --artifacts DIR
#          [--session DIR] [--cxx COMPILER] [--probe E2E_PROBE.exe]
#          [--guide-images DIR]
#
#   --run-dir       the folder with quorvin.exe, code.txt, setting.ini and
#                   the tool bitmaps (build/win/run)
#   --generator     quorvin-gen built for this machine, or quorvin-gen.exe
#                   (then run under Wine)
#   --artifacts     where the screenshots of every step go (emptied first)
#   --session       a Wine session prepared by scripts/wine-session.sh (the
#                   ctest fixture); without one a private prefix is built
#   --cxx           the mingw-w64 C++ compiler (x86_64-w64-mingw32-g++)
#   --probe         e2e_probe.exe, which tells where the keyboard focus is
#                   (default: beside quorvin.exe's build, tests/e2e/)
#   --guide-images  after a successful run, write the guide's pictures here
#
# Exit status 0 when every step passed; otherwise 1, with the failed step
# named on standard error and its screenshots left in the artefacts folder.
set -euo pipefail
E2E_HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$E2E_HERE/../../scripts/harness.sh"
source "$E2E_HERE/lib.sh"
E2E_START=$SECONDS
# A command that fails unexpectedly also names its step.
set -E
trap 'e2e_fail "unexpected failure (status $?) of: $BASH_COMMAND (run.sh line $LINENO)"' ERR

run_dir="" generator="" artifacts="" session="" guide_images="" probe=""
cxx="x86_64-w64-mingw32-g++"
while [ $# -gt 0 ]; do
  case "$1" in
    --run-dir) run_dir="$2" ;;
    --generator) generator="$2" ;;
    --artifacts) artifacts="$2" ;;
    --session) session="$2" ;;
    --cxx) cxx="$2" ;;
    --probe) probe="$2" ;;
    --guide-images) guide_images="$2" ;;
    *) qv_die "unknown argument $1 (see the head of run.sh)" ;;
  esac
  shift 2 || qv_die "$1 needs a value"
done
[ -n "$run_dir" ] && [ -n "$generator" ] && [ -n "$artifacts" ] ||
  qv_die "usage: run.sh --run-dir DIR --generator QUORVIN_GEN --artifacts DIR [--session DIR] [--cxx COMPILER] [--probe E2E_PROBE.exe] [--guide-images DIR]"
run_dir="$(realpath "$run_dir")"
[ -f "$run_dir/quorvin.exe" ] || qv_die "no quorvin.exe in $run_dir"
[ -n "$probe" ] || probe="$run_dir/../tests/e2e/e2e_probe.exe"
[ -f "$probe" ] || qv_die "no focus probe $probe"
probe="$(realpath "$probe")"
command -v "$cxx" >/dev/null || qv_die "no C++ compiler $cxx"

E2E_ARTIFACTS="$(realpath -m "$artifacts")"
rm -rf "$E2E_ARTIFACTS"
mkdir -p "$E2E_ARTIFACTS"

# The work folder: the Wine prefix, the folder the designer runs in (a copy
# of the run folder, so that saved files never land in the build), logs.
# Inside the session's runs/ folder its clean-up also covers runs that were
# killed.
if [ -n "$session" ]; then
  session="$(realpath -m "$session")"
  mkdir -p "$session/runs"
  E2E_WORK="$(mktemp -d "$session/runs/e2e-XXXXXX")"
else
  E2E_WORK="$(mktemp -d "${TMPDIR:-/tmp}/quorvin-e2e-XXXXXX")"
fi
qv_on_exit rm -rf "$E2E_WORK"

case "$generator" in
  *.exe) E2E_GENERATOR=(wine "$(realpath "$generator")") ;;
  *) E2E_GENERATOR=("$(realpath "$generator")") ;;
esac

# ---- Display and Wine -------------------------------------------------------

# Managed=N on a plain Xvfb: Wine draws frames and captions itself, and X
# screen coordinates are Windows screen coordinates. (A Wine virtual desktop
# would draw them too, but it always returns exit code 0 and the registry
# desktop mode lost input in some runs.)
qv_start_xvfb 1024x768x24
if [ -n "$session" ] && [ -f "$session/template/user.reg" ] && [ -d "$session/locale/ja_JP.UTF-8" ]; then
  template="$session/template"
  export QV_LOCALE_DIR="$session/locale"
else
  e2e_log "no prepared Wine session: building a private prefix"
  export QV_LOCALE_DIR="$E2E_WORK/locale"
  qv_make_locale "$QV_LOCALE_DIR"
  template="$E2E_WORK/template"
  qv_make_template "$template"
fi
qv_wine_env "$E2E_WORK"
qv_copy_prefix "$template" "$WINEPREFIX" || qv_die "could not copy the Wine prefix"
# The server first, so that no later wine call keeps a pipe open.
wineserver -p
qv_on_exit bash -c 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null'
wine wineboot >/dev/null 2>&1 </dev/null
e2e_start_probe "$probe"

app="$E2E_WORK/app"
mkdir -p "$app"
cp "$run_dir"/quorvin.exe "$run_dir"/code.txt "$run_dir"/setting.ini "$run_dir"/*.bmp "$app/"

# ---- What the suite relies on ---------------------------------------------------

# Wine's classic metrics: sizing frame, dialog frame, caption and menu bar in
# pixels. The first step checks them on the screen.
E2E_FRAME=4
E2E_DLGFRAME=3
E2E_CAPTION=19
E2E_MENU=19

# Colours: the main window's grey background brush, the palette's light
# grey one, and the colour of SS_BLACKRECT (size handles, point markers),
# which Wine draws with its window-frame colour.
GREY=808080
LIGHT=C0C0C0
BLACK=6A6A6A

# The design, in main-window client coordinates: the designed window typed
# into the fields, and its controls in surface client coordinates.
DESIGN_X=200 DESIGN_Y=40 DESIGN_W=440 DESIGN_H=340
TITLE="E2E Sample"
CLASS_NAME="E2ESample"

# Screen positions that follow from the main window's place (set by
# place_main) and the design's.
place_main() {
  local id="$1"
  e2e_geometry "$id"
  E2E_MAIN_X="$GX" E2E_MAIN_Y="$GY" E2E_MAIN_W="$GW" E2E_MAIN_H="$GH"
  MX=$((GX + E2E_FRAME))
  MY=$((GY + E2E_FRAME + E2E_CAPTION + E2E_MENU))
  # The palette: owned pop-up at the main window's corner + (10, 50), a
  # dialog frame and a caption around its client area.
  PX=$((GX + 10 + E2E_DLGFRAME))
  PY=$((GY + 50 + E2E_DLGFRAME + E2E_CAPTION))
  # The surface's client area: inside the typed rectangle, and once the
  # outline is made, at its first vertex (the typed rectangle's corner).
  if [ "$OUTLINED" = 1 ]; then
    SX=$((MX + DESIGN_X)) SY=$((MY + DESIGN_Y))
  else
    SX=$((MX + DESIGN_X + E2E_FRAME)) SY=$((MY + DESIGN_Y + E2E_FRAME + E2E_CAPTION))
  fi
}
OUTLINED=0
# Screen point of a point in main-window client, palette client or surface
# client coordinates: sets X Y.
main_at() { X=$((MX + $1)) Y=$((MY + $2)); }
palette_at() { X=$((PX + $1)) Y=$((PY + $2)); }
surface_at() { X=$((SX + $1)) Y=$((SY + $2)); }

# The palette's tool cells (client x and y of each 26 x 26 cell) and its
# property fields (client y of each field's middle; they start at x 18).
declare -A CELL=(
  [select]="1 1" [button]="27 1" [edit]="53 1" [listbox]="1 27" [checkbox]="27 27"
  [radio]="53 27" [static]="1 53" [groupbox]="27 53" [addpoint]="53 53")
declare -A FIELD=([caption]=118 [id]=131 [w]=144 [h]=157 [x]=170 [y]=183)
declare -A FIELD_ID=([caption]=9500 [id]=9600 [w]=9000 [h]=9100 [x]=9200 [y]=9300)

# The palette must be in front of the main window before it is used: a
# palette hidden behind its owner cannot be reached by a user either.
expect_palette_visible() {
  palette_at 40 0
  local top="$X,$Y"
  palette_at 0 100
  e2e_expect 20 "the tool palette is hidden behind the main window" "$top=$LIGHT" "$X,$Y=$LIGHT"
}

click_cell() {
  expect_palette_visible
  read -r cx cy <<<"${CELL[$1]}"
  palette_at $((cx + 13)) $((cy + 13))
  e2e_click "$X" "$Y"
}

# type_field FIELD TEXT [SHOWN]: replaces the text of the property field,
# waiting for the focus before typing and for the text (SHOWN when the field
# changes it, as the ID field makes it upper case) before going on.
type_field() {
  expect_palette_visible
  palette_at 49 "${FIELD[$1]}"
  e2e_click "$X" "$Y"
  e2e_wait_focus 20 "the $1 field took no focus when clicked" Edit "${FIELD_ID[$1]}"
  e2e_replace_text 20 "typing into the $1 field" "$2" "${3:-$2}"
}

# Opens the File menu and chooses its Nth command with the keyboard
# (separators are skipped): 1 New, 2 Open, 3 Save, 4 Save over (上書き保存),
# 5 Code output, 6 Exit.
file_menu() {
  local i keys=()
  e2e_click $((MX + 20)) $((MY - E2E_MENU / 2))
  e2e_wait_menu 20 "the File menu did not open when clicked"
  for ((i = 0; i < $1; i++)); do keys+=(Down); done
  e2e_key "${keys[@]}" Return
}

# The file dialogs' file-name box (an edit box, or a combo box around one).
FILE_NAME_BOX=$((0x47c))

# Types a file name into the open or save dialog titled TITLE and confirms,
# once the dialog's file-name box has the focus and then holds the name.
answer_file_dialog() {
  local title="$1" name="$2"
  e2e_wait_dialog "$title"
  e2e_wait_focus 30 "the dialog $title is not ready for a file name" Edit "$FILE_NAME_BOX"
  e2e_shot dialog >/dev/null
  e2e_replace_text 20 "typing the file name into $title" "$name"
  e2e_key Return
  e2e_wait_gone "^$title\$" 30
}

# Drags the size of the main window from 400 x 400 to 760 x 580 by its
# lower right corner, so that the design has room.
enlarge_main() {
  local id="$1"
  e2e_drag $((E2E_MAIN_X + E2E_MAIN_W - 2)) $((E2E_MAIN_Y + E2E_MAIN_H - 2)) \
    $((E2E_MAIN_X + 760 - 2)) $((E2E_MAIN_Y + 580 - 2)) 6
  local deadline=$((SECONDS + 20))
  while :; do
    place_main "$id"
    [ "$E2E_MAIN_W" = 760 ] && [ "$E2E_MAIN_H" = 580 ] && break
    [ "$SECONDS" -ge "$deadline" ] && e2e_fail "the main window is ${E2E_MAIN_W}x$E2E_MAIN_H after dragging its corner, not 760x580"
    sleep 0.1
  done
}

start_designer() {
  e2e_start_program "$E2E_WORK/quorvin-$1.log" "$app" quorvin.exe
  DESIGNER_PID=$E2E_PID
  MAIN_ID="$(e2e_wait_window '^Quorvin$' 30)"
  place_main "$MAIN_ID"
}

# ---- The road -------------------------------------------------------------------

e2e_step start "Start the designer"
start_designer first
[ "$E2E_MAIN_W" = 400 ] && [ "$E2E_MAIN_H" = 400 ] ||
  e2e_fail "the main window is ${E2E_MAIN_W}x$E2E_MAIN_H, not 400x400"
# The client area starts where the classic metrics put it; the palette
# stands in front of it.
e2e_expect 20 "the main window's client area is not where Wine's classic frame, caption and menu put it" \
  "$MX,$((MY + 200))=$GREY" "$((MX - 1)),$((MY + 200))=!$GREY" "$((MX + 200)),$((MY - 1))=!$GREY" \
  "$((MX + 200)),$MY=$GREY"
expect_palette_visible
e2e_shot_main

e2e_step resize "Enlarge the main window by dragging its corner"
enlarge_main "$MAIN_ID"
e2e_shot_main

e2e_step new "New: a title and a class name typed into the New dialog"
file_menu 1
e2e_wait_dialog 新規作成
e2e_wait_focus 30 "the New dialog is not ready for the title" Edit 1035
e2e_replace_text 20 "typing the title" "$TITLE"
e2e_key Tab
e2e_wait_focus 20 "Tab did not move to the class name" Edit 1033
e2e_replace_text 20 "typing the class name" "$CLASS_NAME"
e2e_shot typed "$(e2e_main_geometry)" >/dev/null
e2e_key Return
e2e_wait_gone '^新規作成$'
# A 200 x 200 surface in the middle of the main window's client area.
main_at $(((E2E_MAIN_W - 2 * E2E_FRAME) / 2)) $(((E2E_MAIN_H - 2 * E2E_FRAME - E2E_CAPTION - E2E_MENU) / 2))
e2e_expect 20 "no design surface in the middle of the main window" "$X,$Y=!$GREY"
e2e_snap
FACE="$(e2e_pixels "$E2E_SNAP" "$X,$Y" | tr -d ' ')"
[ "$FACE" != "$GREY" ] || e2e_fail "the surface has the main window's colour"
e2e_shot_main

e2e_step window-fields "The designed window's size and place typed into W, H, x and y"
type_field w "$DESIGN_W"
type_field h "$DESIGN_H"
type_field x "$DESIGN_X"
type_field y "$DESIGN_Y"
# The surface's client area fills the typed rectangle less its frame and
# caption; the main window's grey shows just outside its frame.
e2e_expect 20 "the surface does not have the typed rectangle" \
  "$SX,$SY=$FACE" "$((SX + DESIGN_W - 2 * E2E_FRAME - 1)),$((SY + DESIGN_H - 2 * E2E_FRAME - E2E_CAPTION - 1))=$FACE" \
  "$((MX + DESIGN_X - 1)),$((MY + DESIGN_Y + 100))=$GREY" \
  "$((MX + DESIGN_X + DESIGN_W)),$((MY + DESIGN_Y + 100))=$GREY" \
  "$((MX + DESIGN_X + 100)),$((MY + DESIGN_Y + DESIGN_H))=$GREY"
e2e_shot_main

# Places a control: TOOL cell (for the edit cell, VARIANT is chosen in the
# edit-variant dialog), then a drag on the surface from (X1, Y1) to
# (X2, Y2) in surface client coordinates.
place() {
  local tool="$1" variant="$2" x1="$3" y1="$4" x2="$5" y2="$6" before dialog radio
  click_cell "$tool"
  if [ "$tool" = edit ]; then
    e2e_wait_dialog EDIT
    dialog="$E2E_DIALOG"
    # The variant's radio button (its control id, its template place) and
    # OK. A clicked radio button takes the focus: the click has arrived.
    case "$variant" in
      NORMAL) radio=1005 && e2e_dialog_unit "$dialog" 149 167 12 13 ;;
      MULTILINE) radio=1004 && e2e_dialog_unit "$dialog" 149 167 51 34 ;;
      VSCROLL) radio=1006 && e2e_dialog_unit "$dialog" 149 167 11 63 ;;
      HSCROLL) radio=1007 && e2e_dialog_unit "$dialog" 149 167 56 96 ;;
      VHSCROLL) radio=1008 && e2e_dialog_unit "$dialog" 149 167 11 135 ;;
    esac
    e2e_click "$DX" "$DY"
    e2e_wait_focus 20 "the $variant radio button was not chosen" Button "$radio"
    [ "$variant" = VHSCROLL ] && e2e_shot "edit-variant-$variant" >/dev/null
    e2e_dialog_unit "$dialog" 149 167 128 133
    e2e_click "$DX" "$DY"
    e2e_wait_gone '^EDIT$'
  fi
  before="$E2E_WORK/before-place.png"
  import -window root "$before"
  surface_at "$x1" "$y1"
  local from_x="$X" from_y="$Y"
  surface_at "$x2" "$y2"
  e2e_drag "$from_x" "$from_y" "$X" "$Y" 4 SubWindow
  e2e_expect_change 20 "no ${variant:-$tool} control appeared where it was dragged" "$before" \
    "$((x2 - x1))x$((y2 - y1))+$from_x+$from_y"
}

e2e_step place "One control of every kind dragged onto the surface, the edit variants chosen in their dialog"
place button "" 20 20 120 50
place checkbox "" 140 20 260 40
place radio "" 150 270 270 290
place static "" 20 70 100 90
place edit NORMAL 140 70 260 92
place listbox "" 280 60 400 140
place edit MULTILINE 20 110 120 160
place edit VSCROLL 140 110 260 160
place edit HSCROLL 20 180 120 230
place edit VHSCROLL 140 180 260 250
place groupbox "" 280 160 400 250
e2e_shot_main

e2e_step move "A control moved by dragging"
import -window root "$E2E_WORK/before-move.png"
surface_at 200 280
from_x="$X" from_y="$Y"
surface_at 330 30
e2e_drag "$from_x" "$from_y" "$X" "$Y" 8 SubWindow
# The radio button left the bottom of the surface for the top right.
surface_at 150 270
e2e_expect_change 20 "the dragged control did not leave its place" "$E2E_WORK/before-move.png" "120x20+$X+$Y"
surface_at 282 22
e2e_expect_change 20 "the dragged control did not arrive" "$E2E_WORK/before-move.png" "116x16+$X+$Y"
surface_at 160 275
e2e_expect 20 "the place the control left is not empty" "$X,$Y=$FACE"
e2e_shot_main

e2e_step size "A control sized with its handles: click the corner, move, click again"
# Selecting the static text shows the four handles at its corners.
surface_at 60 80
e2e_click "$X" "$Y"
# Each handle is centred on a corner; its outer quarter is never covered by
# the control.
surface_at 17 67; tl="$X,$Y"
surface_at 103 93; br="$X,$Y"
surface_at 103 67; tr="$X,$Y"
e2e_expect 20 "no size handles around the selected control" "$tl=$BLACK" "$br=$BLACK" "$tr=$BLACK"
e2e_shot_main handles
surface_at 103 93
e2e_click "$X" "$Y"
surface_at 110 92; e2e_move "$X" "$Y"
surface_at 120 92; e2e_move "$X" "$Y"
# The bottom right handle follows the pointer.
e2e_expect 20 "the picked-up handle does not follow the pointer" "$((X + 3)),$((Y + 3))=$BLACK"
e2e_click "$X" "$Y"
e2e_expect 20 "the handle did not stay at the dropped corner" "$((X + 3)),$((Y + 3))=$BLACK"
e2e_shot_main

e2e_step fields "Caption, ID name and width typed into the fields, the caption in Japanese"
surface_at 70 35
e2e_click "$X" "$Y"
# The fields show the selected button before anything is typed into them.
e2e_wait_answer 20 "the fields do not show the clicked button" "item ToolWindow ${FIELD_ID[caption]}" Button
import -window root "$E2E_WORK/before-fields.png"
# The Japanese caption is pasted; the release of Ctrl+V applies it.
type_field caption "表示"
type_field id "id_show" ID_SHOW
type_field w 110
# The button is wider: its right edge moved 10 pixels.
surface_at 100 20
e2e_expect_change 20 "the button's caption and width did not change" "$E2E_WORK/before-fields.png" "40x30+$X+$Y"
e2e_shot_main

e2e_step style "A style changed in the style dialog: BS_LEFTTEXT for the check box"
surface_at 200 30
e2e_click "$X" "$Y"
e2e_wait_answer 20 "the fields do not show the clicked check box" "item ToolWindow ${FIELD_ID[caption]}" CheckBox
import -window root "$E2E_WORK/before-style.png"
expect_palette_visible
palette_at 40 90
e2e_click "$X" "$Y"
e2e_wait_dialog SettingStyle
style_dialog="$E2E_DIALOG"
# The per-kind boxes stand in three columns of 140 pixels from y 60, 19
# pixels apart; BS_LEFTTEXT is row 11 of the button table: column 2, line 3.
e2e_geometry "$style_dialog"
e2e_click $((GX + E2E_DLGFRAME + 281 + 8)) $((GY + E2E_DLGFRAME + E2E_CAPTION + 60 + 19 * 3 + 7))
# A clicked check box takes the focus: the click has arrived.
e2e_wait_focus 20 "the BS_LEFTTEXT box was not clicked" Button any
[ "$FOCUS_TEXT" = BS_LEFTTEXT ] || e2e_fail "the click landed on $(e2e_focus_described), not on BS_LEFTTEXT"
e2e_shot dialog >/dev/null
# OK, 50 pixels lower for a button.
e2e_dialog_unit "$style_dialog" 253 205 169 191 50
e2e_click "$DX" $((DY + 50))
e2e_wait_gone '^SettingStyle$'
surface_at 140 20
e2e_expect_change 20 "the check box did not change its look" "$E2E_WORK/before-style.png" "120x20+$X+$Y"
e2e_shot_main

e2e_step font "The font changed in the font chooser: Tahoma, bold, 11 points"
import -window root "$E2E_WORK/before-font.png"
expect_palette_visible
palette_at 41 211
e2e_click "$X" "$Y"
e2e_wait_dialog フォントの指定
# The face name box (a combo box, cmb1) has the focus; Tab goes to the
# style box (cmb2; down twice: from regular past italic to bold), then to
# the size box (cmb3).
e2e_wait_focus 20 "the font chooser is not ready for a face name" Edit $((0x470))
e2e_replace_text 20 "typing the face name" "Tahoma"
e2e_key Tab
e2e_wait_focus 20 "Tab did not move to the font style" Edit $((0x471))
e2e_press_changing 20 "the first step down the styles" Down
e2e_press_changing 20 "the second step down the styles" Down
e2e_key Tab
e2e_wait_focus 20 "Tab did not move to the font size" Edit $((0x472))
e2e_replace_text 20 "typing the font size" "11"
e2e_key Tab
e2e_wait_focus_leaves 20 "Tab did not leave the font size" Edit $((0x472))
e2e_shot dialog >/dev/null
e2e_key Return
e2e_wait_gone '^フォントの指定$'
surface_at 140 70
e2e_expect_change 20 "the controls' font did not change" "$E2E_WORK/before-font.png" "120x22+$X+$Y"
e2e_shot_main

# The polygon, in main-window client coordinates: New's first point adds the
# surface's top corners and the clicked point, two more clicks follow; the
# fourth point is then dragged.
P3="640 320" P4="420 360" P5="200 320" P4_MOVED="440 370"
e2e_step polygon "Three polygon points added with the AddPoint cell, one dragged"
main_at 220 360
e2e_expect 20 "the surface does not cover the lower left corner" "$X,$Y=$FACE"
click_cell addpoint
# A point is added where the release is: each click waits for its marker
# (the first click makes three) before the pointer moves on.
marker=302
for point in "$P3" "$P4" "$P5"; do
  read -r px py <<<"$point"
  main_at "$px" "$py"
  e2e_click "$X" "$Y"
  e2e_wait_answer 20 "no point was added by the click at $px,$py" "item Quorvin $marker" ""
  marker=$((marker + 1))
done
# Five markers centred on the vertices; the lower left corner of the old
# rectangle is cut away. The surface, a sibling below the markers without
# WS_CLIPSIBLINGS, paints over their inner parts: each marker is checked
# where it juts out of the outline.
markers=()
for point in "$DESIGN_X $DESIGN_Y -7 -7" "$((DESIGN_X + DESIGN_W)) $DESIGN_Y 7 -7" "$P3 7 0" \
  "$P4 0 7" "$P5 -7 0"; do
  read -r px py ox oy <<<"$point"
  main_at $((px + ox)) $((py + oy))
  markers+=("$X,$Y=$BLACK")
done
main_at 220 360
e2e_expect 20 "the outline of five points is not shown" "${markers[@]}" "$X,$Y=$GREY"
e2e_shot_main points
main_at 470 356
outside_then="$X,$Y"
e2e_expect 20 "the point below the fourth edge is not outside the outline" "$outside_then=$GREY"
click_cell select
read -r px py <<<"$P4"
main_at "$px" "$py"
from_x="$X" from_y="$Y"
read -r px py <<<"$P4_MOVED"
main_at "$px" "$py"
e2e_drag "$from_x" "$from_y" "$X" "$Y" 5 Static
e2e_expect 20 "the dragged marker did not reshape the outline" "$X,$((Y + 7))=$BLACK" "$outside_then=$FACE"
e2e_shot_main
OUTLINED=1
place_main "$MAIN_ID"

e2e_step save "Save: a file name typed into the save dialog"
file_menu 3
answer_file_dialog "名前を付けて保存" "e2e-design"
e2e_wait_file 30 "$app/e2e-design.mwd"
cp "$app/e2e-design.mwd" "$E2E_ARTIFACTS/"
e2e_read_design "$app/e2e-design.mwd"
# The window's rectangle follows from the outline: the leftmost vertex a
# frame inside its left edge, the topmost a frame and a caption below its
# top edge, 10 pixels past the rightmost and the lowest.
read -r p4x p4y <<<"$P4_MOVED"
e2e_expect_values "the saved design differs from what was done" \
  "title=$TITLE" "className=$CLASS_NAME" \
  "x=$((DESIGN_X - E2E_FRAME))" "y=$((DESIGN_Y - E2E_CAPTION - E2E_FRAME))" \
  "width=$((E2E_FRAME + DESIGN_W + 10))" "height=$((E2E_FRAME + E2E_CAPTION + p4y - DESIGN_Y + 10))" \
  "font.faceName=Tahoma" "font.height=-15" "font.weight=700" \
  "outline.regionModeName=Polygon" "outline.pointCount=5" \
  "outline.markerPoints.0.x=$((DESIGN_X - 10))" "outline.markerPoints.0.y=$((DESIGN_Y - 10))" \
  "outline.markerPoints.1.x=$((DESIGN_X + DESIGN_W - 10))" "outline.markerPoints.1.y=$((DESIGN_Y - 10))" \
  "outline.markerPoints.2.x=630" "outline.markerPoints.2.y=310" \
  "outline.markerPoints.3.x=$((p4x - 10))" "outline.markerPoints.3.y=$((p4y - 10))" \
  "outline.markerPoints.4.x=190" "outline.markerPoints.4.y=310" \
  "objects.length=11"
# Every control: kind, rectangle, caption, ID name; the edited ones with
# what was typed, moved, sized and checked.
expected_objects=(
  # kind      x   y   w   h  caption      idName
  "BUTTON    20  20 110  30 表示         ID_SHOW"
  "BUTTON   140  20 120  20 CheckBox     ID_CHECKBOX"
  "BUTTON   280  20 120  20 RadioButton  ID_RADIOBUTTON"
  "STATIC    20  70 100  22 STATIC       ID_STATIC"
  "EDIT     140  70 120  22 EDIT         ID_EDIT"
  "LISTBOX  280  60 120  80 -            ID_LISTBOX"
  "EDIT_M    20 110 100  50 EDIT_M       ID_EDIT_M"
  "EDIT_MV  140 110 120  50 EDIT_MV      ID_EDIT_MV"
  "EDIT_MH   20 180 100  50 EDIT_MH      ID_EDIT_MH"
  "EDIT_MVH 140 180 120  70 EDIT_MVH     ID_EDIT_MVH"
  "BUTTON   280 160 120  90 GroupBox     ID_GROUPBOX"
)
for i in "${!expected_objects[@]}"; do
  read -r kind x y w h caption id_name <<<"${expected_objects[i]}"
  [ "$caption" = - ] && caption=""
  e2e_expect_values "control $i of the saved design" \
    "objects.$i.kindName=$kind" "objects.$i.x=$x" "objects.$i.y=$y" "objects.$i.width=$w" \
    "objects.$i.height=$h" "objects.$i.caption=$caption" "objects.$i.idName=$id_name"
done
e2e_expect_values "the checked style of the check box" "objects.1.styleHex=0x50000023"
e2e_shot_main

# Nothing selected and no markers: a press on the surface's background
# hides the size handles (and shows the markers), a press on the main
# window's background hides the markers. What stays is the design as the
# generated program shall show it.
show_design_only() {
  surface_at 300 280
  e2e_click "$X" "$Y"
  main_at 700 480
  e2e_click "$X" "$Y"
  main_at $((DESIGN_X + 5)) $((DESIGN_Y + 5))
  e2e_expect 20 "the point markers are still shown" "$X,$Y=$FACE"
  main_at $((DESIGN_X - 7)) $((DESIGN_Y - 7))
  e2e_expect 20 "the point markers are still shown" "$X,$Y=$GREY"
}
show_design_only
import -window root "$E2E_WORK/before-close.png"

e2e_step close "Close the main window with its close box and answer the question with Yes"
e2e_click $((E2E_MAIN_X + E2E_MAIN_W - E2E_FRAME - 11)) $((E2E_MAIN_Y + E2E_FRAME + E2E_CAPTION / 2))
e2e_wait_dialog 終了確認
e2e_shot question >/dev/null
e2e_key Return
e2e_wait_exit "$DESIGNER_PID" 60
[ "$E2E_STATUS" = 0 ] || e2e_fail "the designer ended with exit code $E2E_STATUS"
e2e_wait_gone '^Quorvin$' 20

e2e_step open "Start again and open the design with the open dialog"
start_designer second
enlarge_main "$MAIN_ID"
file_menu 2
answer_file_dialog "ファイルを開く" "e2e-design.mwd"
# The five markers are shown for the opened outline.
main_at $((DESIGN_X - 7)) $((DESIGN_Y - 7))
e2e_expect 20 "the opened design shows no point markers" "$X,$Y=$BLACK"
e2e_shot_main
# Without markers the design looks as it did before the close: surface,
# controls, outline.
main_at 700 480
e2e_click "$X" "$Y"
outline_area="$((DESIGN_W + 30))x$((p4y - DESIGN_Y + 60))+$((MX + DESIGN_X - 15))+$((MY + DESIGN_Y - 30))"
deadline=$((SECONDS + 30))
while :; do
  e2e_snap
  differing="$(e2e_count_differing "$E2E_WORK/before-close.png" "$E2E_SNAP" "$outline_area")"
  [ "${differing%%.*}" -le 50 ] && break
  if [ "$SECONDS" -ge "$deadline" ]; then
    e2e_count_differing "$E2E_WORK/before-close.png" "$E2E_SNAP" "$outline_area" \
      "$E2E_ARTIFACTS/$E2E_SLUG-difference.png" >/dev/null
    e2e_fail "the opened design differs from the saved one in $differing pixels (see $E2E_SLUG-difference.png)"
  fi
  sleep 0.2
done

e2e_step code-output "Code output: a file name typed into the save dialog"
file_menu 5
answer_file_dialog "名前を付けて保存" "e2e-window"
e2e_wait_file 30 "$app/e2e-window.cpp"
cp "$app/e2e-window.cpp" "$E2E_ARTIFACTS/"
# The designer writes what quorvin-gen writes for the saved design, byte
# for byte, with the statements of what was done.
(cd "$app" && "${E2E_GENERATOR[@]}" -t code.txt -s setting.ini -o "$E2E_WORK/expected.cpp" e2e-design.mwd) ||
  e2e_fail "quorvin-gen could not generate the saved design"
cmp -s "$E2E_WORK/expected.cpp" "$app/e2e-window.cpp" ||
  e2e_fail "the designer's code output differs from quorvin-gen's for the saved design"
# "表示" in code page 932: its first character's second byte is a backslash.
for text in '"E2E Sample"' '"E2ESample"' '#define ID_SHOW' "$(printf '"\x95\x5c\x8e\xa6"')" 'BS_LEFTTEXT' \
  '"Tahoma"' 'CreatePolygonRgn' 'ES_MULTILINE' 'WS_HSCROLL' 'WS_VSCROLL' '"LISTBOX"' 'BS_GROUPBOX'; do
  grep -qF -- "$text" "$app/e2e-window.cpp" || e2e_fail "the generated source has no $text"
done

e2e_step designer-capture "The design surface without markers or handles, then Escape"
show_design_only
main_at "$DESIGN_X" "$DESIGN_Y"
# The client area of the designed window: its saved size less frame and
# caption.
client_w=$(($(e2e_value width) - 2 * E2E_FRAME))
client_h=$(($(e2e_value height) - 2 * E2E_FRAME - E2E_CAPTION))
designer_client="$E2E_ARTIFACTS/designer-client.png"
import -window root -crop "${client_w}x$client_h+$X+$Y" +repage "$designer_client"
e2e_shot_main
e2e_key Escape
e2e_wait_exit "$DESIGNER_PID" 60
[ "$E2E_STATUS" = 0 ] || e2e_fail "the designer ended with exit code $E2E_STATUS after Escape"

e2e_step compile "The generated source compiled with mingw-w64"
"$cxx" -static -mwindows -finput-charset=CP932 -fexec-charset=CP932 \
  -o "$E2E_WORK/e2e-window.exe" "$app/e2e-window.cpp" >"$E2E_WORK/compile.log" 2>&1 ||
  { cat "$E2E_WORK/compile.log" >&2; e2e_fail "the generated source does not compile"; }

# compare_with_design NAME PROGRAM [ENV-ARGUMENT]...: starts PROGRAM (in the
# work folder) under Wine, the environment changed by the arguments as env(1)
# takes them, and checks its window against the design: where it stands,
# its client area inside the outline against the design surface, that it is
# cut to its outline, and that Alt+F4 ends it with exit code 0. Its pictures
# are NAME-client.png and, on a mismatch, NAME-difference.png.
compare_with_design() {
  local name="$1" program="$2" polygon="" mask cue="" focused fx fy fw fh
  local generated_client previous current deadline differing inside corner generated_pid
  shift 2
  (cd "$E2E_WORK" && exec env "$@" wine "$program") </dev/null >"$E2E_WORK/$program.log" 2>&1 &
  generated_pid=$!
  generated_id="$(e2e_wait_window "^$TITLE\$" 30)"
  e2e_geometry "$generated_id"
  [ "$GX,$GY,$GW,$GH" = "$(e2e_value x),$(e2e_value y),$(e2e_value width),$(e2e_value height)" ] ||
    e2e_fail "the generated window is at $GX,$GY ${GW}x$GH, not where the design puts it"
  # The outline's vertices in client coordinates, for a mask of the polygon
  # less two pixels along its edges (the two rasterisations may differ there).
  for i in 0 1 2 3 4; do
    polygon+="$(($(e2e_value "outline.regionPoints.$i.x") - E2E_FRAME)),$(($(e2e_value "outline.regionPoints.$i.y") - E2E_FRAME - E2E_CAPTION)) "
  done
  mask="$E2E_WORK/mask.png"
  # Like a dialog, the generated window gives the keyboard focus to its first
  # tab stop, and Wine always draws the focus cue (a frame and a dotted
  # rectangle along the control's edges) that the design surface does not
  # show: a band along that control's edges is left out; its caption is still
  # compared.
  e2e_wait_dialog "$TITLE"
  e2e_focus
  if [ "$FOCUS_ID" -ge 100 ] && [ $((FOCUS_ID % 100)) = 0 ]; then
    focused=$((FOCUS_ID / 100 - 1))
    fx=$(e2e_value "objects.$focused.x") fy=$(e2e_value "objects.$focused.y")
    fw=$(e2e_value "objects.$focused.width") fh=$(e2e_value "objects.$focused.height")
    cue="rectangle $fx,$fy $((fx + fw - 1)),$((fy + fh - 1))"
  fi
  convert -size "${client_w}x$client_h" xc:black -fill white -draw "polygon $polygon" \
    -morphology Erode Square:2 ${cue:+-fill none -stroke black -strokewidth 10 -draw "$cue"} "$mask"
  generated_client="$E2E_ARTIFACTS/$name-client.png"
  # The window draws itself once shown: wait until two pictures agree.
  previous=""
  deadline=$((SECONDS + 30))
  while :; do
    import -window "$generated_id" -crop "${client_w}x$client_h+$E2E_FRAME+$((E2E_FRAME + E2E_CAPTION))" +repage \
      "$generated_client"
    current="$(md5sum <"$generated_client")"
    [ "$current" = "$previous" ] && break
    [ "$SECONDS" -ge "$deadline" ] && break
    previous="$current"
    sleep 0.3
  done
  e2e_shot window >/dev/null
  convert "$designer_client" "$mask" -compose Multiply -composite "$E2E_WORK/designer-masked.png"
  convert "$generated_client" "$mask" -compose Multiply -composite "$E2E_WORK/generated-masked.png"
  differing="$(e2e_differing_pixels "$E2E_WORK/designer-masked.png" "$E2E_WORK/generated-masked.png" 10 \
    "$E2E_WORK/difference.png")"
  inside="$(convert "$mask" -format '%[fx:round(mean*w*h)]' info:)"
  e2e_log "$program: $differing of $inside pixels inside the outline differ from the design surface"
  # Both are drawn by the same Wine with the same fonts: apart from the
  # outline's edges they agree to the pixel. A few pixels of slack; one
  # wrong letter of a caption is already more.
  if [ -z "$differing" ] || [ "$differing" -gt 10 ]; then
    cp "$E2E_WORK/difference.png" "$E2E_ARTIFACTS/$name-difference.png" 2>/dev/null || true
    e2e_fail "the client area of $program differs from the design surface in ${differing:-?} pixels (designer-client.png, $name-client.png, $name-difference.png)"
  fi
  # Outside the outline the generated window shows nothing of itself.
  e2e_snap
  read -r corner <<<"$(e2e_pixels "$E2E_SNAP" "$((GX + E2E_FRAME + 20)),$((GY + GH - 12))")"
  [ "$corner" != "$FACE" ] || e2e_fail "the generated window is not cut to its outline"
  # Alt+F4 goes to the window with the keyboard focus: the generated one.
  e2e_key alt+F4
  e2e_wait_exit "$generated_pid" 60
  [ "$E2E_STATUS" = 0 ] || e2e_fail "$program ended with exit code $E2E_STATUS"
}

e2e_step generated "The generated window beside the design"
compare_with_design generated e2e-window.exe

# The Unicode output of the same design, for programs that run on any
# Windows: generated by quorvin-gen, compiled, and run in an English locale
# (ANSI code page 1252, where the 8-bit output would garble every Japanese
# text), its window must still be the designed one.
e2e_step unicode "The Unicode output under code page 1252 beside the design"
(cd "$app" && "${E2E_GENERATOR[@]}" --unicode -t "$run_dir/code_unicode.txt" -s setting.ini \
  -o "$E2E_WORK/e2e-window-unicode.cpp" e2e-design.mwd) ||
  e2e_fail "quorvin-gen could not write the Unicode output of the saved design"
cp "$E2E_WORK/e2e-window-unicode.cpp" "$E2E_ARTIFACTS/"
"$cxx" -static -mwindows -o "$E2E_WORK/e2e-window-unicode.exe" "$E2E_WORK/e2e-window-unicode.cpp" \
  >"$E2E_WORK/compile-unicode.log" 2>&1 ||
  { cat "$E2E_WORK/compile-unicode.log" >&2; e2e_fail "the Unicode output does not compile"; }
english=(-u LOCPATH -u LC_ALL -u LANGUAGE LANG=C)
# What Wine makes of that environment: a program that prints its ANSI code
# page.
printf '%s\n' '#include <windows.h>' '#include <stdio.h>' \
  'int main(void) { printf("%u\n", GetACP()); return 0; }' >"$E2E_WORK/acp.cpp"
"$cxx" -static -o "$E2E_WORK/acp.exe" "$E2E_WORK/acp.cpp" || e2e_fail "the code page probe does not compile"
code_page="$(cd "$E2E_WORK" && env "${english[@]}" wine acp.exe </dev/null 2>/dev/null | tr -d '\r')"
[ "$code_page" = 1252 ] || e2e_fail "the English locale gives the ANSI code page '$code_page', not 1252"
compare_with_design unicode e2e-window-unicode.exe "${english[@]}"

# ---- Several controls at once, and two designers --------------------------------

# ctrl_click X Y: a click with Ctrl held, which adds a control to the
# selection.
ctrl_click() {
  xdotool keydown ctrl
  e2e_click "$1" "$2"
  xdotool keyup ctrl
}

# new_design TITLE CLASS: New with its dialog, then the window's size and
# place typed into the fields (DESIGN_X, DESIGN_Y, DESIGN_W, DESIGN_H).
new_design() {
  file_menu 1
  e2e_wait_dialog 新規作成
  e2e_wait_focus 30 "the New dialog is not ready for the title" Edit 1035
  e2e_replace_text 20 "typing the title" "$1"
  e2e_key Tab
  e2e_wait_focus 20 "Tab did not move to the class name" Edit 1033
  e2e_replace_text 20 "typing the class name" "$2"
  e2e_key Return
  e2e_wait_gone '^新規作成$'
  OUTLINED=0
  place_main "$MAIN_ID"
  type_field w "$DESIGN_W"
  type_field h "$DESIGN_H"
  type_field x "$DESIGN_X"
  type_field y "$DESIGN_Y"
}

# before_shot NAME: the screen now, for a later e2e_expect_change.
before_shot() {
  BEFORE="$E2E_WORK/before-$1.png"
  import -window root "$BEFORE"
}

# expect_changed WHAT X Y W H: waits until the surface's rectangle differs
# from the screen BEFORE.
expect_changed() {
  surface_at "$2" "$3"
  e2e_expect_change 20 "$1" "$BEFORE" "$4x$5+$X+$Y"
}

# The designs of these steps stand right of where the 配置 menu drops down,
# so that its picture shows the selection beside it.
DESIGN_X=340 DESIGN_W=400 DESIGN_H=300
e2e_step several "Three controls chosen with the rubber band, lined up from the 配置 menu, nudged, duplicated, saved"
start_designer third
enlarge_main "$MAIN_ID"
new_design "E2E Several" E2ESeveral
place button "" 20 20 100 50
place checkbox "" 40 70 160 90
place static "" 30 120 110 142
click_cell select
# From the surface's empty corner across all three: the last one, the
# static text, becomes the primary control.
before_shot band
surface_at 5 5
from_x="$X" from_y="$Y"
surface_at 60 130
e2e_drag "$from_x" "$from_y" "$X" "$Y" 6 SubWindow
expect_changed "the rubber band did not select the controls" 152 62 16 16
e2e_shot_main band
# 配置 is the third menu: File opened with the pointer, two menus to the
# right, its first command (左揃え) highlighted.
before_shot align
e2e_click $((MX + 20)) $((MY - E2E_MENU / 2))
e2e_wait_menu 20 "the File menu did not open when clicked"
e2e_key Right Right
sleep 0.5
e2e_shot_main layout-menu
e2e_key Return
# Every left edge goes to the static text's, x 30.
expect_changed "the lefts were not lined up" 18 20 10 80
before_shot nudge
e2e_key Right Right Down
expect_changed "the arrow keys did not move the selection" 28 18 8 130
before_shot duplicate
e2e_key ctrl+d
expect_changed "Ctrl+D added no controls" 110 80 60 20
e2e_shot_main duplicated
file_menu 3
answer_file_dialog "名前を付けて保存" "e2e-several"
e2e_wait_file 30 "$app/e2e-several.mwd"
cp "$app/e2e-several.mwd" "$E2E_ARTIFACTS/"
e2e_read_design "$app/e2e-several.mwd"
e2e_expect_values "the saved design of several controls" "title=E2E Several" "objects.length=6"
several_objects=(
  # x  y   w   h  caption   idName        styleHex
  "32 21  80  30 Button    ID_BUTTON     0x50002300"
  "32 71 120  20 CheckBox  ID_CHECKBOX   0x50000003"
  "32 121 80  22 STATIC    ID_STATIC     0x50000100"
  "40 29  80  30 Button    ID_BUTTON2    0x50002300"
  "40 79 120  20 CheckBox  ID_CHECKBOX2  0x50000003"
  "40 129 80  22 STATIC    ID_STATIC2    0x50000100"
)
for i in "${!several_objects[@]}"; do
  read -r x y w h caption id_name style <<<"${several_objects[i]}"
  kind=BUTTON
  [ "$caption" = STATIC ] && kind=STATIC
  e2e_expect_values "control $i of the saved design of several controls" \
    "objects.$i.kindName=$kind" "objects.$i.x=$x" "objects.$i.y=$y" "objects.$i.width=$w" \
    "objects.$i.height=$h" "objects.$i.caption=$caption" "objects.$i.idName=$id_name" \
    "objects.$i.styleHex=$style"
done
several_button_style="$(e2e_value objects.0.styleHex)"
several_checkbox_style="$(e2e_value objects.1.styleHex)"

e2e_step two-designers "Two controls copied in one designer, pasted with Ctrl+V at the pointer in a second one running beside it"
FIRST_ID="$MAIN_ID" FIRST_PID="$DESIGNER_PID"
# The button and the check box: a click, a Ctrl+click, Ctrl+C.
surface_at 70 35
e2e_click "$X" "$Y"
surface_at 140 80
ctrl_click "$X" "$Y"
e2e_key ctrl+c
e2e_wait_answer 20 "Ctrl+C put no controls on the clipboard" "clipboard-has Quorvin.Controls" yes
# The second designer opens over the first, which keeps running.
start_designer fourth
enlarge_main "$MAIN_ID"
new_design "E2E Paste" E2EPaste
# A button of its own takes the name ID_BUTTON first.
place button "" 20 20 100 50
click_cell select
# A click where the controls shall go gives the surface the keyboard.
surface_at 200 100
e2e_click "$X" "$Y"
before_shot paste
e2e_key ctrl+v
expect_changed "Ctrl+V pasted nothing at the pointer" 200 100 120 70
e2e_shot_main pasted
file_menu 3
answer_file_dialog "名前を付けて保存" "e2e-pasted"
e2e_wait_file 30 "$app/e2e-pasted.mwd"
cp "$app/e2e-pasted.mwd" "$E2E_ARTIFACTS/"
e2e_read_design "$app/e2e-pasted.mwd"
# Kind, size, caption and style as copied; the pair's top-left at the
# pointer; the button's taken name made unique, the check box's kept.
e2e_expect_values "the design the controls were pasted into" "title=E2E Paste" "objects.length=3" \
  "objects.1.kindName=BUTTON" "objects.1.x=200" "objects.1.y=100" "objects.1.width=80" \
  "objects.1.height=30" "objects.1.caption=Button" "objects.1.idName=ID_BUTTON2" \
  "objects.1.styleHex=$several_button_style" \
  "objects.2.kindName=BUTTON" "objects.2.x=200" "objects.2.y=150" "objects.2.width=120" \
  "objects.2.height=20" "objects.2.caption=CheckBox" "objects.2.idName=ID_CHECKBOX" \
  "objects.2.styleHex=$several_checkbox_style"
# Both designers close with Escape, nothing unsaved: the second, then the
# first once it has the keyboard again.
e2e_key Escape
e2e_wait_exit "$DESIGNER_PID" 60
[ "$E2E_STATUS" = 0 ] || e2e_fail "the second designer ended with exit code $E2E_STATUS"
MAIN_ID="$FIRST_ID"
place_main "$MAIN_ID"
main_at 700 480
e2e_click "$X" "$Y"
e2e_key Escape
e2e_wait_exit "$FIRST_PID" 60
[ "$E2E_STATUS" = 0 ] || e2e_fail "the first designer ended with exit code $E2E_STATUS"

if [ -n "$guide_images" ]; then
  "$E2E_HERE/guide_images.sh" "$E2E_ARTIFACTS" "$guide_images"
fi
e2e_log "all $E2E_STEP_NO steps passed in $((SECONDS - E2E_START)) s; screenshots in $E2E_ARTIFACTS"
