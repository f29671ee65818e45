#pragma once
// The floor of the GUI benchmarks: what the platform itself must do to show
// a design, with none of the designer's own work. Every step of the
// designer is printed beside it, measured in the same run, so that a figure
// says how far the designer is from what the platform allows.

#include <filesystem>
#include <vector>

namespace quorvin {

// The platform's share of single steps, each done `repetitions` times on
// the design shown, each painted before its time is taken (milliseconds,
// one sample per repetition). A step the design cannot show (markers
// without an outline, say) gets no samples.
struct StepFloors {
  int repetitions = 0;
  // The middle control 4 pixels wider, then back again: a key release in
  // the W field, without its size handles.
  std::vector<double> resizeMs;
  // The same, with the two squares at its right corners following it: what
  // a key release must move while the control is selected.
  std::vector<double> resizeWithHandlesMs;
  // Four 10-pixel squares moved from the corners of one control to those of
  // its neighbour, and back: the handles a press on a control shows.
  std::vector<double> pressMs;
  // Every point marker brought to the top of the host's children and
  // shown, one call each, after all were hidden.
  std::vector<double> markersShownMs;
  // Every point marker hidden without a repaint each, then their squares
  // repainted at once.
  std::vector<double> markersHiddenMs;
  // Two hundred controls (half the design, if smaller) from the first
  // quarter on, each moved so that its left edge lines up with the last of
  // them: what aligning their left edges must move.
  std::vector<double> alignMs;
  // The same controls spaced evenly across, as the designer spaces them.
  std::vector<double> spaceMs;
  // A window at the bottom of the stacking, cut to the squares at the
  // corners of the same controls, hidden: what removing the hollow handles
  // of a selection must repaint.
  std::vector<double> squaresHiddenMs;
  // Copies of the same controls made 8 pixels further, with the font: what
  // pasting them must make.
  std::vector<double> pasteMs;
  // The first control destroyed and every later control given the id of
  // its new place (base + index): a Delete. Runs last, on fewer controls
  // each time.
  std::vector<double> deleteMs;
};

// Shows the design in `file` as plainly as the platform can, once: in a
// top-level host (made on the first call and kept, as the designer's main
// window is) one window of the design's size, in it one child per control
// (the control's class, style, extended style, caption and the design's
// font), in the host the point markers, the design's region on the window,
// then one painting of everything. With `steps`, then times each of its
// steps on the design shown. Destroys what it made afterwards.
// Returns the milliseconds from the first creation to the end of the
// painting, or a negative number when the design cannot be read.
double showDesignAtTheFloorMs(const std::filesystem::path& file, StepFloors* steps = nullptr);

}  // namespace quorvin
