// TIRLA: the console font: its file found with fontconfig, its size from the work area.
#pragma once
#include <cstdint>
#include <string>

#include "platform/display.h"

namespace platform {

// Path of the font file for the face `face_utf8` at `weight` (100..900); the default console
// font (DejaVu Sans Mono Bold) when the face is not installed; empty when neither is found.
std::string FindFontFile(const std::string& face_utf8, int weight);

// Path of the default console font, empty when it is not installed.
std::string DefaultFontFile();

// Font size suiting a work area: width / 1024 x 13 and height / 734 x 28, rounded to the
// nearest whole number, halves to even.
int32_t DerivedFontWidth(int work_width);
int32_t DerivedFontHeight(int work_height);

// `request` with each size asked as FontRequest::kFromWorkArea derived from a work area of
// `work_width` x `work_height` pixels; an unknown area (0 or less) counts as 1024 x 738.
FontRequest SizedForWorkArea(FontRequest request, int work_width, int work_height);

}  // namespace platform
