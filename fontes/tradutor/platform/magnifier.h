// TIRLA: the right-button magnifier of a pixel display: a still picture of the window, a part
// of it stretched over the whole window.
#pragma once
#include <algorithm>

namespace platform {

struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The part of a `width` x `height` picture that, stretched `factor` times over the whole
// picture, keeps the pointer (x, y) where it is. A factor below 1 counts as 1; the pointer is
// kept within 0..65535.
inline PixelRect MagnifiedPart(int x, int y, int factor, int width, int height) {
  x = std::clamp(x, 0, 0xFFFF);
  y = std::clamp(y, 0, 0xFFFF);
  const int f = std::max(factor, 1);
  return {std::max(0, x - x / f), std::max(0, y - y / f), width / f, height / f};
}

// Optional: a display without pixels leaves the console's table pointer null.
struct Magnifier {
  // Keeps a still copy of the window's picture.
  void (*Snapshot)() = nullptr;
  // Draws the MagnifiedPart of the copy for pointer pixel (x, y) over the whole window.
  void (*Show)(int x, int y, int factor) = nullptr;
  // Drops the copy; the console then draws every cell again.
  void (*Drop)() = nullptr;
};

}  // namespace platform
