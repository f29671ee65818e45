#pragma once
// quorvin-gen's memory for one run: the program's C++ allocations served in
// order from one region that the system backs with 2 MB pages.
//
// On the virtual machine measured, every fresh 4 kB page costs a process 5 to
// 19 microseconds at its first touch, even after it was populated in advance
// (the host backs it only then). The 10,000-control design's controls, ids
// and buffers take about 2 MB: 500 such pages, a third of the whole run. A
// 2 MB page is backed in one step. quorvin-gen runs a few milliseconds and
// frees almost everything at its end, so the region is simply handed out
// from the front; what is freed is taken back only when it was the last
// thing handed out (a temporary), the rest at exit. Allocations that do not
// fit come from the C library's heap.
//
// Only quorvin-gen's own executable on Linux links this (not its tests, not
// a sanitizer build, whose allocator must see every allocation). It is for a
// single thread: quorvin-gen starts none.

#include <cstddef>

namespace quorvin {

// Reserves the region, `bytes` rounded up to whole 2 MB pages, for the
// allocations from now on. Once per process; allocations that do not fit
// (or all of them, when the system refuses the region) come from the C
// library's heap as before. Pages are taken from the system only as they
// are first touched; where 2 MB pages are off they come 4 kB at a time.
void reserveRunArena(std::size_t bytes);

}  // namespace quorvin
