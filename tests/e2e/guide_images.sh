#!/usr/bin/env bash
# Makes the pictures of docs/guide.md from the screenshots of a successful
# end-to-end run: crops of the chosen steps, reduced to 64 colours (the
# screens are flat Windows classic colours, so nothing visible is lost and
# each file stays at a few kilobytes).
#
#   guide_images.sh ARTIFACTS_DIR DEST_DIR
#
# run.sh calls it with --guide-images DEST_DIR; by hand, after
# scripts/test.sh: tests/e2e/guide_images.sh build/win/artifacts/e2e docs/images/guide
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: guide_images.sh ARTIFACTS_DIR DEST_DIR" >&2; exit 2; }
from="$1" to="$2"
mkdir -p "$to"

# screenshot of the step : crop (WxH+X+Y of the screen) : picture of the guide
pictures=(
  "03-new-typed.png:420x200+0+0:new.png"
  "04-window-fields.png:760x580+0+0:window-fields.png"
  "05-place-edit-variant-VHSCROLL.png:420x360+0+0:edit-variant.png"
  "05-place.png:760x580+0+0:placed.png"
  "07-size-handles.png:760x580+0+0:handles.png"
  "08-fields.png:760x580+0+0:fields.png"
  "09-style-dialog.png:460x430+0+0:style.png"
  "10-font-dialog.png:760x580+0+0:font.png"
  "11-polygon-points.png:760x580+0+0:polygon.png"
  "12-save-dialog.png:760x580+0+0:save.png"
  "13-close-question.png:760x580+0+0:close.png"
  "18-generated-window.png:480x390+186+7:generated.png"
  "20-several-band.png:760x400+0+0:several.png"
  "20-several-layout-menu.png:760x400+0+0:layout-menu.png"
  "21-two-designers-pasted.png:760x400+0+0:pasted.png"
)
for entry in "${pictures[@]}"; do
  IFS=: read -r source crop name <<<"$entry"
  [ -f "$from/$source" ] || { echo "guide_images.sh: no $from/$source" >&2; exit 1; }
  convert "$from/$source" -crop "$crop" +repage +dither -colors 64 "PNG8:$to/$name"
done
# The design surface and the generated window's client area side by side.
convert "$from/designer-client.png" \( -size 12x1 xc:white \) "$from/generated-client.png" \
  -background white +append +repage +dither -colors 64 \
  "PNG8:$to/side-by-side.png"
echo "guide pictures written to $to" >&2
