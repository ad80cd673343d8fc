// TIRLA: the console font's file, found with fontconfig.
#pragma once
#include <string>

namespace platform {

// Path of the font file for the face `face_utf8` at `weight` (100..900); the default console
// font (DejaVu Sans Mono Bold) when the face is not installed; empty when neither is found.
std::string FindFontFile(const std::string& face_utf8, int weight);

// Path of the default console font, empty when it is not installed.
std::string DefaultFontFile();

}  // namespace platform
