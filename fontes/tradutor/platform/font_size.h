// TIRLA: the console font's size from the work area, the same for every display that asks.
#pragma once
#include <cstdint>

#include "platform/display.h"

namespace platform {

// Font size suiting a work area: width / 1024 x 13 and height / 734 x 28, rounded to the
// nearest whole number, halves to even.
int32_t DerivedFontWidth(int work_width);
int32_t DerivedFontHeight(int work_height);

// `request` with each size asked as FontRequest::kFromWorkArea derived from a work area of
// `work_width` x `work_height` pixels; an unknown area (0 or less) counts as 1024 x 738.
FontRequest SizedForWorkArea(FontRequest request, int work_width, int work_height);

}  // namespace platform
