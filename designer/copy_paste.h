#pragma once
// What copy puts on the clipboard and what paste makes of it: the copied
// controls as a design file holds them (Quorvin's own clipboard format, so
// that two designers can pass controls to each other), and the creation
// statements as code output writes them, for pasting into source. Portable.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"
#include "designer/arrange.h"

namespace quorvin {

// How far a pasted control lands from the one copied: one grid step right
// and down, so that it never hides the original.
inline constexpr std::int32_t kPasteOffset = kDefaultGridStep;

// The bytes of Quorvin's clipboard format for `copied`: a design file of
// `project`'s font holding just those controls (no outline).
std::string copiedControlsData(const Project& project, std::span<const DesignObject> copied);

// The controls a paste of `data` adds after `placed`: every property kept,
// each moved by (dx, dy), each ID name made unique among `placed` and the
// controls pasted before it (ID_OK, ID_OK2, ...; an empty name stays
// empty); window and procedure 0. Empty when `data` is not Quorvin's.
std::vector<DesignObject> pastedControls(std::string_view data,
                                         std::span<const DesignObject> placed, std::int32_t dx,
                                         std::int32_t dy);

// Where a paste puts the controls it adds. With the mouse pointer over the
// design surface when the paste was asked for from the keyboard, the
// controls' bounding box gets its top-left corner at the pointer (on the
// nearest grid point when snapping is on), as a user pasting "here"
// expects; otherwise they land `offset` right and down from where they were
// copied.
struct PastePlace {
  std::optional<RegionPoint> cursor;  // surface client coordinates
  std::int32_t snapStep = 0;          // the grid step when snapping is on, else 0
  std::int32_t offset = kPasteOffset;
};

// The controls a paste of `data` adds after `placed`, put where `place`
// says; names made unique as above. Empty when `data` is not Quorvin's.
std::vector<DesignObject> pastedControls(std::string_view data,
                                         std::span<const DesignObject> placed,
                                         const PastePlace& place);

// The creation statements of `copied` as code output writes them for a
// design that holds just these controls (CP932 text, lines ending in LF).
std::string copiedControlsStatements(const Project& project,
                                     std::span<const DesignObject> copied);

}  // namespace quorvin
