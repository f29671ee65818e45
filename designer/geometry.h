#pragma once
// A rectangle in pixels as the model stores one: top-left corner and size.
// Points are RegionPoint (two signed 32-bit numbers, the platform's POINT).

#include <cstdint>

#include "app/model.h"

namespace quorvin {

struct PixelRect {
  std::int32_t x = 0;  // left edge
  std::int32_t y = 0;  // top edge
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The rectangle stored in a placed control's record.
inline PixelRect rectOf(const DesignObject& object) {
  return {object.x, object.y, object.width, object.height};
}
inline void setRect(DesignObject& object, const PixelRect& rect) {
  object.x = rect.x;
  object.y = rect.y;
  object.width = rect.width;
  object.height = rect.height;
}

// a - b and a + b with two's-complement wrap-around instead of undefined
// behaviour; coordinates are never near the limits in practice, but the
// numbers come from files and fields that the user controls.
inline std::int32_t wrappingSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) -
                                   static_cast<std::uint32_t>(b));
}
inline std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) +
                                   static_cast<std::uint32_t>(b));
}

}  // namespace quorvin
