#pragma once
// The floor of the GUI benchmarks: what the platform itself must do to show
// a design, with none of the designer's own work. Every step of the
// designer is printed beside it, measured in the same run, so that a figure
// says how far the designer is from what the platform allows.

#include <filesystem>
#include <vector>

namespace quorvin {

// Shows the design in `file` as plainly as the platform can, once: in a
// top-level host (made on the first call and kept, as the designer's main
// window is) one window of the design's size, in it one child per control
// (the control's class, style, extended style, caption and the design's
// font), in the host the point markers, the design's region on the window,
// then one painting of everything. Destroys what it made afterwards.
// Returns the milliseconds from the first creation to the end of the
// painting, or a negative number when the design cannot be read.
// With `resizeSamplesMs`, the design shown is then given `resizeRepetitions`
// resizes of its middle control (4 pixels wider, back again), each painted,
// and their milliseconds are added there: the floor of a key release that
// resizes a control.
double showDesignAtTheFloorMs(const std::filesystem::path& file,
                              std::vector<double>* resizeSamplesMs = nullptr,
                              int resizeRepetitions = 0);

}  // namespace quorvin
