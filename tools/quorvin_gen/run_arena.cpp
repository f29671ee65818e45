#include "tools/quorvin_gen/run_arena.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace quorvin {

namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;
constexpr std::size_t kAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

// The region and how far it is handed out. Zero until reserveRunArena: the
// allocations made while the program starts go to the C library.
struct Arena {
  char* begin = nullptr;
  char* next = nullptr;  // the first byte not handed out
  char* end = nullptr;
  char* last = nullptr;  // the block handed out last, while it is in use

  bool owns(const void* p) const {
    const auto* c = static_cast<const char*>(p);
    return c >= begin && c < end;
  }
};
constinit Arena arena;

std::size_t roundUp(std::size_t value, std::size_t unit) { return (value + unit - 1) & ~(unit - 1); }

void* allocate(std::size_t size) {
  if (size == 0) size = 1;
  const auto room = static_cast<std::size_t>(arena.end - arena.next);
  // Compared before rounding: a size near the largest cannot wrap around.
  if (size <= room && roundUp(size, kAlignment) <= room) {
    arena.last = arena.next;
    arena.next += roundUp(size, kAlignment);
    return arena.last;
  }
  return std::malloc(size);
}

void release(void* p) {
  if (!arena.owns(p)) {
    std::free(p);
    return;
  }
  if (p == arena.last) {
    arena.next = arena.last;
    arena.last = nullptr;
  }
}

}  // namespace

void reserveRunArena(std::size_t bytes) {
  if (arena.begin != nullptr || bytes == 0) return;
  bytes = roundUp(bytes, kLargePage);
  // One large page more, so that the region can start on a large page's
  // boundary; the pages in front of it are never touched.
  void* mapping = mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapping == MAP_FAILED) return;
  auto* begin = reinterpret_cast<char*>(roundUp(reinterpret_cast<std::uintptr_t>(mapping), kLargePage));
  // A refusal (large pages off) leaves 4 kB pages: slower, not wrong.
  madvise(begin, bytes, MADV_HUGEPAGE);
  arena.begin = begin;
  arena.next = begin;
  arena.end = begin + bytes;
}

}  // namespace quorvin

// The replaceable allocation functions. The C++ library's array, nothrow and
// sized forms all come here; the aligned forms keep the library's own, which
// never hand out or take back a pointer of the region.
void* operator new(std::size_t size) {
  if (void* p = quorvin::allocate(size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept { quorvin::release(p); }

void operator delete(void* p, std::size_t) noexcept { quorvin::release(p); }
