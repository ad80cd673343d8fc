// TIRLA: font sizes from the work area.
#include "platform/font_size.h"

#include <cmath>

namespace platform {
namespace {

constexpr int kFallbackWorkWidth = 1024;  // work area taken when the display cannot tell
constexpr int kFallbackWorkHeight = 738;

}  // namespace

int32_t DerivedFontWidth(int work_width) {
  return static_cast<int32_t>(std::nearbyint(work_width / 1024.0 * 13.0));
}

int32_t DerivedFontHeight(int work_height) {
  return static_cast<int32_t>(std::nearbyint(work_height / 734.0 * 28.0));
}

FontRequest SizedForWorkArea(FontRequest request, int work_width, int work_height) {
  if (work_width <= 0 || work_height <= 0) {
    work_width = kFallbackWorkWidth;
    work_height = kFallbackWorkHeight;
  }
  if (request.width == FontRequest::kFromWorkArea) request.width = DerivedFontWidth(work_width);
  if (request.height == FontRequest::kFromWorkArea)
    request.height = DerivedFontHeight(work_height);
  return request;
}

}  // namespace platform
