#include "designer/design_changes.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/model.h"
#include "common/scoped_flag.h"
#include "app/model_win32.h"
#include "common/win32/text.h"
#include "designer/edit_history.h"
#include "designer/editing_state.h"
#include "designer/fields.h"
#include "designer/palette.h"
#include "designer/polygon.h"
#include "designer/project_font.h"
#include "designer/surface.h"
#include "designer/surface_aids.h"

namespace quorvin {

namespace {

bool restoring = false;
std::uint64_t lastGroup = 0;
std::function<void()> stateListener;

void tellListener() {
  if (stateListener) stateListener();
}

DesignSnapshot currentDesign() { return snapshotOf(project, objects, selectedObject); }

bool sameRect(const DesignObject& a, const DesignObject& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool samePoints(const Project& a, const Project& b) {
  if (a.regionMode != b.regionMode || a.pointCount != b.pointCount) return false;
  for (std::int32_t i = 0; i < a.pointCount; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (at >= a.markerPoints.size() || at >= b.markerPoints.size() ||
        !(a.markerPoints[at] == b.markerPoints[at]))
      return false;
  }
  return true;
}

// The controls become the recorded ones. A window that still exists is
// kept and only what differs is changed (text, place, id); a window whose
// kind or style differs is made again; recorded controls whose window is
// gone are made anew; windows that the record does not hold go. So a step
// of one control costs one control, whatever the design's size.
void restoreControls(const std::vector<DesignObject>& recorded) {
  const auto count = static_cast<std::size_t>(std::clamp<std::int32_t>(
      project.objectCount, 0, static_cast<std::int32_t>(objects.size())));
  std::unordered_map<WindowHandle, std::size_t> live;
  live.reserve(count);
  for (std::size_t i = 0; i < count; ++i)
    if (objects[i].window != 0) live.emplace(objects[i].window, i);

  std::vector<DesignObject> next = recorded;
  std::vector<bool> kept(count, false);
  std::vector<std::size_t> remake;
  // The windows kept must stack in the recorded order (it is the generated
  // code's creation order); only a change of their order costs a restack.
  bool orderChanged = false;
  std::size_t lastKept = 0;
  // Where each window stands among the controls' windows: a kept one where
  // its entry was (the windows stand in the list's order), one made again
  // below them all, in the order they are made.
  std::vector<std::size_t> stackedAt(next.size());
  const auto madeAgain = [&](std::size_t i) {
    remake.push_back(i);
    stackedAt[i] = count + i;
  };
  for (std::size_t i = 0; i < next.size(); ++i) {
    DesignObject& entry = next[i];
    const auto found = live.find(entry.window);
    if (found == live.end() || kept[found->second]) {
      entry.window = 0;
      entry.savedProc = 0;
      madeAgain(i);
      continue;
    }
    kept[found->second] = true;
    stackedAt[i] = found->second;
    if (lastKept > found->second) orderChanged = true;
    lastKept = found->second;
    const DesignObject& current = objects[found->second];
    entry.savedProc = current.savedProc;
    if (current.kind != entry.kind || current.style != entry.style) {
      madeAgain(i);
      continue;
    }
    const HWND control = asHwnd(entry.window);
    if (found->second != i)
      SetWindowLongPtrW(control, GWLP_ID, kControlIdBase + static_cast<LONG_PTR>(i));
    if (current.caption != entry.caption) setWindowTextCp932(control, entry.caption);
    if (!sameRect(current, entry))
      MoveWindow(control, entry.x, entry.y, entry.width, entry.height, TRUE);
  }
  // Gone from the record: destroyed while their entries still name them,
  // so that their own procedure finds the one to put back.
  for (std::size_t i = 0; i < count; ++i)
    if (!kept[i] && objects[i].window != 0) DestroyWindow(asHwnd(objects[i].window));
  // Windows made again are destroyed by recreateObjectControl from their
  // new entry, which still names them.
  const std::size_t capacity = std::max(objects.size(), next.size());
  next.resize(capacity);
  objects = std::move(next);
  project.objectCount = static_cast<std::int32_t>(recorded.size());
  for (const std::size_t i : remake) recreateObjectControl(static_cast<int>(i));
  // A control made again is created below all others: it goes to its place.
  if (orderChanged || !remake.empty()) restackControls(stackedAt);
}

// The designed window's own records: title, class, rectangle, font, outline.
void restoreWindow(const Project& recorded) {
  const HWND surface = surfaceWindow();
  const bool titleChanged = project.title != recorded.title;
  const bool fontChanged = !(project.font == recorded.font);
  const bool outlineChanged = !samePoints(project, recorded);
  project.title = recorded.title;
  project.className = recorded.className;
  project.x = recorded.x;
  project.y = recorded.y;
  project.width = recorded.width;
  project.height = recorded.height;
  project.font = recorded.font;
  if (titleChanged) setWindowTextCp932(surface, project.title);
  if (fontChanged) applyProjectFont();
  if (outlineChanged) {
    destroyPointMarkers();
    project.activePoint = -1;
    project.regionMode = recorded.regionMode;
    project.pointCount = recorded.pointCount;
    project.markerPoints = recorded.markerPoints;
    project.regionPoints = recorded.regionPoints;
    SetWindowRgn(surface, nullptr, TRUE);
  }
  MoveWindow(surface, project.x, project.y, project.width, project.height, TRUE);
  // The markers and the cut rebuild themselves from the points.
  if (outlineChanged && project.regionMode == RegionMode::Polygon) createOpenedProjectMarkers();
}

void restoreDesign(const DesignSnapshot& recorded) {
  const ScopedFlag guard(restoring);
  const HWND surface = surfaceWindow();
  if (surface == nullptr) return;
  if (GetCapture() != nullptr) ReleaseCapture();
  // Several controls selected stay selected through undo and redo of what
  // was done to them, as long as the step leads the same one and keeps them.
  const std::vector<std::int32_t> wasSelected = selectedControls();
  selectTool(ToolCode::Select);
  resetEditing(true);
  hideSizeHandles();
  restoreControls(recorded.objects);
  restoreWindow(recorded.project);
  const std::int32_t selected = recorded.selectedObject;
  if (selected >= 0 && selected < project.objectCount) {
    if (project.pointCount > 0) {
      hidePointMarkers();
      project.activePoint = -1;
    }
    const bool keepsSeveral =
        wasSelected.size() > 1 &&
        std::find(wasSelected.begin(), wasSelected.end(), selected) != wasSelected.end() &&
        std::all_of(wasSelected.begin(), wasSelected.end(),
                    [](std::int32_t i) { return i >= 0 && i < project.objectCount; });
    if (keepsSeveral) {
      selectControls(wasSelected, selected);
      refillFields();
      showSelectionHandles();
    } else {
      showControlFields(selected);
      placeSizeHandles(objects[static_cast<std::size_t>(selected)]);
    }
  } else if (project.activePoint >= 0) {
    showPointFields(project.activePoint);
  } else {
    showWindowFields();
  }
  refreshTabOrderNumbers();
  // Nothing more is invalidated: the controls that changed repaint
  // themselves, and a destroyed one's place is repainted by the system.
  // Repainting the whole surface would cost a second with 2,000 controls.
}

// What follows a commit that recorded or extended a step.
void stepRecorded() {
  refreshTabOrderNumbers();
  tellListener();
}

}  // namespace

void designChanged(std::uint64_t group) {
  if (restoring || project.surface == 0) return;
  if (editHistory.commit(currentDesign(), group)) stepRecorded();
}

void designChanged(std::uint64_t group, std::span<const std::int32_t> touched) {
  if (restoring || project.surface == 0) return;
  if (editHistory.commitTouched(project, objects, selectedObject, group, touched))
    stepRecorded();
}

std::uint64_t newChangeGroup() { return ++lastGroup; }

void startDesignHistory() {
  editHistory.reset(currentDesign());
  tellListener();
}

void endDesignHistory() {
  editHistory.clear();
  tellListener();
}

bool undoDesign() {
  if (project.surface == 0) return false;
  designChanged();
  const std::optional<DesignSnapshot> design = editHistory.undo();
  if (!design) return false;
  restoreDesign(*design);
  tellListener();
  return true;
}

bool redoDesign() {
  if (project.surface == 0) return false;
  designChanged();
  const std::optional<DesignSnapshot> design = editHistory.redo();
  if (!design) return false;
  restoreDesign(*design);
  tellListener();
  return true;
}

bool restoringDesign() { return restoring; }

void markDesignUnsaved() {
  editHistory.markUnsaved();
  tellListener();
}

void setDesignStateListener(std::function<void()> listener) {
  stateListener = std::move(listener);
}

}  // namespace quorvin
