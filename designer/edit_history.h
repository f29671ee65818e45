#pragma once
// Undo and redo of the design, and whether it has unsaved changes.
//
// The history keeps the design as it stood after the last recorded change
// (the baseline). Every change of the design goes through one call, commit:
// when the design now differs from the baseline, the baseline becomes an
// undo step and the design the new baseline; a new step clears the redo
// steps. Commits of one group (a visit to a property field, one drag of the
// surface's frame) make one step together. Undo and redo hand back the
// design to show; the shell makes the windows match it.
//
// Portable. A step is a whole copy of the design's records (about 100 bytes
// a control), so 100 steps of a 2,000-control design take some 20 MB.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "app/model.h"

namespace quorvin {

// The design as undo restores it: the project and its controls, with the
// selection that went with it. Window and font handles are kept as they
// were (the shell reuses windows that still exist, matched by handle) but
// never compared.
struct DesignSnapshot {
  Project project;
  std::vector<DesignObject> objects;  // entries 0..objectCount-1 only
  std::int32_t selectedObject = -1;
};

// The design as it stands now (objects beyond objectCount left out).
DesignSnapshot snapshotOf(const Project& project, const std::vector<DesignObject>& objects,
                          std::int32_t selectedObject);

// True when the two designs would be saved alike: everything but handles,
// the active point, the selection and the variable names (which belong to
// setting.ini, not to the design).
bool sameDesign(const DesignSnapshot& a, const DesignSnapshot& b);

class EditHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 100;
  explicit EditHistory(std::size_t limit = kDefaultLimit) : limit_(limit) {}

  // A design was made new or opened: no steps, `current` is the baseline
  // and counts as saved.
  void reset(DesignSnapshot current);
  // No design: no steps, nothing unsaved.
  void clear();

  // The one path of every change. `group` 0 is a change of its own; commits
  // with the same non-zero group right after each other make one step.
  // True when a step was recorded or extended.
  bool commit(DesignSnapshot current, std::uint64_t group = 0);

  // The same as commit(snapshotOf(project, objects, selectedObject), group)
  // for a change that the caller knows touched only the project's own
  // record and the controls at `touched`, without adding or removing one.
  // Only those are compared and copied, so a key typed into a field costs
  // one control, not the whole design, while it extends its step. A change
  // of the count of controls is taken whole.
  bool commitTouched(const Project& project, const std::vector<DesignObject>& objects,
                     std::int32_t selectedObject, std::uint64_t group,
                     std::span<const std::int32_t> touched);

  // The selection changed: the baseline remembers it, so that undoing the
  // next change brings back what was selected when it began.
  void noteSelection(std::int32_t selectedObject);

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::size_t undoCount() const { return undo_.size(); }
  std::size_t redoCount() const { return redo_.size(); }

  // The design one step back (or forward), which becomes the baseline; the
  // baseline before goes to the other side. Nothing when there is no step.
  // The caller commits pending changes first.
  std::optional<DesignSnapshot> undo();
  std::optional<DesignSnapshot> redo();

  // True while the baseline differs from what was last opened or saved.
  bool changed() const { return active_ && baselineId_ != savedId_; }
  // The baseline is what is on disk now.
  void markSaved() { savedId_ = baselineId_; }
  // Nothing on disk is this design (one brought back from a recovery file).
  void markUnsaved() { savedId_ = 0; }
  // The design as last committed.
  const DesignSnapshot& baseline() const { return baseline_; }

 private:
  struct Step {
    DesignSnapshot design;
    std::uint64_t id = 0;
  };

  // True when a commit of `group` extends the last step instead of making
  // one.
  bool extendsStep(std::uint64_t group) const;
  // A commit that changed the design: unless it extends the last step,
  // `previous` (the baseline before it) becomes an undo step; the redo
  // steps go. The caller then makes the baseline the design.
  void beginStep(std::uint64_t group, DesignSnapshot previous);

  std::size_t limit_;
  bool active_ = false;
  DesignSnapshot baseline_;
  std::uint64_t baselineId_ = 0;
  std::uint64_t savedId_ = 0;
  std::uint64_t nextId_ = 1;
  std::uint64_t lastGroup_ = 0;
  std::deque<Step> undo_;
  std::deque<Step> redo_;
};

// The history of the one design being edited (empty while none is open).
extern EditHistory editHistory;

}  // namespace quorvin
