#include "designer/edit_history.h"

#include <algorithm>
#include <utility>

namespace quorvin {

EditHistory editHistory;

DesignSnapshot snapshotOf(const Project& project, const std::vector<DesignObject>& objects,
                          std::int32_t selectedObject) {
  DesignSnapshot snapshot;
  snapshot.project = project;
  const auto count = static_cast<std::size_t>(
      std::clamp<std::int32_t>(project.objectCount, 0, static_cast<std::int32_t>(objects.size())));
  snapshot.objects.assign(objects.begin(), objects.begin() + static_cast<std::ptrdiff_t>(count));
  snapshot.selectedObject = selectedObject;
  return snapshot;
}

namespace {

bool sameObject(const DesignObject& a, const DesignObject& b) {
  return a.kind == b.kind && a.width == b.width && a.height == b.height && a.x == b.x &&
         a.y == b.y && a.style == b.style && a.caption == b.caption && a.idName == b.idName;
}

bool samePoints(const Project& a, const Project& b) {
  if (a.pointCount != b.pointCount) return false;
  const auto count = static_cast<std::size_t>(std::max(a.pointCount, 0));
  const auto equalPrefix = [count](const std::vector<RegionPoint>& x,
                                   const std::vector<RegionPoint>& y) {
    if (x.size() < count || y.size() < count) return x.size() == y.size() && x == y;
    return std::equal(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count), y.begin());
  };
  return equalPrefix(a.markerPoints, b.markerPoints) &&
         equalPrefix(a.regionPoints, b.regionPoints);
}

// The project's own record: everything but its controls.
bool sameProjectRecord(const Project& p, const Project& q) {
  return p.title == q.title && p.className == q.className && p.width == q.width &&
         p.height == q.height && p.x == q.x && p.y == q.y && p.objectCount == q.objectCount &&
         p.font == q.font && p.regionMode == q.regionMode && samePoints(p, q);
}

}  // namespace

bool sameDesign(const DesignSnapshot& a, const DesignSnapshot& b) {
  if (!sameProjectRecord(a.project, b.project) || a.objects.size() != b.objects.size())
    return false;
  for (std::size_t i = 0; i < a.objects.size(); ++i)
    if (!sameObject(a.objects[i], b.objects[i])) return false;
  return true;
}

void EditHistory::reset(DesignSnapshot current) {
  clear();
  active_ = true;
  baseline_ = std::move(current);
  baselineId_ = savedId_ = nextId_++;
}

void EditHistory::clear() {
  undo_.clear();
  redo_.clear();
  baseline_ = {};
  active_ = false;
  baselineId_ = savedId_ = 0;
  lastGroup_ = 0;
}

bool EditHistory::commit(DesignSnapshot current, std::uint64_t group) {
  if (!active_) return false;
  if (sameDesign(current, baseline_)) {
    baseline_.selectedObject = current.selectedObject;
    return false;
  }
  beginStep(group, std::move(baseline_));
  baseline_ = std::move(current);
  return true;
}

bool EditHistory::commitTouched(const Project& project, const std::vector<DesignObject>& objects,
                                std::int32_t selectedObject, std::uint64_t group,
                                std::span<const std::int32_t> touched) {
  if (!active_) return false;
  const auto count = static_cast<std::size_t>(
      std::clamp<std::int32_t>(project.objectCount, 0, static_cast<std::int32_t>(objects.size())));
  const auto inRange = [count](std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < count;
  };
  if (count != baseline_.objects.size() || !std::all_of(touched.begin(), touched.end(), inRange))
    return commit(snapshotOf(project, objects, selectedObject), group);
  const auto differs = [&](std::int32_t index) {
    const auto at = static_cast<std::size_t>(index);
    return !sameObject(objects[at], baseline_.objects[at]);
  };
  if (sameProjectRecord(project, baseline_.project) &&
      std::none_of(touched.begin(), touched.end(), differs)) {
    baseline_.selectedObject = selectedObject;
    return false;
  }
  // A new step keeps a whole copy of the design as it was; a step that is
  // extended needs none.
  beginStep(group, extendsStep(group) ? DesignSnapshot{} : baseline_);
  baseline_.project = project;
  for (const std::int32_t index : touched)
    baseline_.objects[static_cast<std::size_t>(index)] = objects[static_cast<std::size_t>(index)];
  baseline_.selectedObject = selectedObject;
  return true;
}

bool EditHistory::extendsStep(std::uint64_t group) const {
  return group != 0 && group == lastGroup_ && !undo_.empty();
}

void EditHistory::beginStep(std::uint64_t group, DesignSnapshot previous) {
  if (!extendsStep(group)) {
    undo_.push_back({std::move(previous), baselineId_});
    if (undo_.size() > limit_) undo_.pop_front();
  }
  redo_.clear();
  baselineId_ = nextId_++;
  lastGroup_ = group;
}

void EditHistory::noteSelection(std::int32_t selectedObject) {
  baseline_.selectedObject = selectedObject;
}

std::optional<DesignSnapshot> EditHistory::undo() {
  if (undo_.empty()) return std::nullopt;
  redo_.push_back({std::move(baseline_), baselineId_});
  baseline_ = std::move(undo_.back().design);
  baselineId_ = undo_.back().id;
  undo_.pop_back();
  lastGroup_ = 0;
  return baseline_;
}

std::optional<DesignSnapshot> EditHistory::redo() {
  if (redo_.empty()) return std::nullopt;
  undo_.push_back({std::move(baseline_), baselineId_});
  baseline_ = std::move(redo_.back().design);
  baselineId_ = redo_.back().id;
  redo_.pop_back();
  lastGroup_ = 0;
  return baseline_;
}

}  // namespace quorvin
