// TIRLA: the SDL2 backend, for the program that chooses it and the tests that look at it.
#pragma once
#include "platform/video.h"

namespace platform {

// The SDL2 backend: an SDL window drawn with SDL2_ttf glyphs, its magnifier, the SDL
// clipboard, tones on the sound device (platform/audio), and the real process.
const VideoDriver& SdlVideoDriver();

// Colour of pixel (x, y) of the SDL window as last shown; false without a window (tests).
bool SdlWindowPixel(int x, int y, Rgb* colour);

}  // namespace platform
