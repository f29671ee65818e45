#pragma once
// One RAII owner for every platform handle (fonts, regions, device contexts,
// bitmaps...). Portable: the traits say what "none" is and how a handle is
// released, so the template is tested natively with fake traits.
//
// Traits requirements:
//   using Type = ...;                 // the handle type
//   static Type invalid() noexcept;   // the "no handle" value
//   static void release(Type) noexcept;
// Stateful traits (a DC needs its window) are held by value.

#include <utility>

namespace quorvin {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() noexcept : handle_(Traits::invalid()) {}
  explicit UniqueHandle(Type handle, Traits traits = Traits()) noexcept
      : handle_(handle), traits_(std::move(traits)) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(other.release()), traits_(std::move(other.traits_)) {}
  // Releases the handle held so far, then takes over the other's.
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      traits_ = std::move(other.traits_);
      handle_ = other.release();
    }
    return *this;
  }

  Type get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::invalid(); }

  // Gives up ownership without releasing.
  Type release() noexcept { return std::exchange(handle_, Traits::invalid()); }

  // Releases the held handle (if any) and takes `handle`.
  void reset(Type handle = Traits::invalid()) noexcept {
    const Type old = std::exchange(handle_, handle);
    if (old != Traits::invalid()) traits_.release(old);
  }

 private:
  Type handle_;
  [[no_unique_address]] Traits traits_;
};

}  // namespace quorvin
