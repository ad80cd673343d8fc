// TIRLA: a window system as the console sees it: one table per capability.
#pragma once
#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/host.h"
#include "platform/magnifier.h"
#include "platform/tone.h"

namespace platform {

// The tables one backend provides. A null table means the backend lacks that capability: the
// console then does without (nothing shows, no magnifier, no clipboard, silence), except for
// the host, where null means the real process.
struct VideoDriver {
  const char* name = "";                 // "sdl", "terminal", "memory"
  const Display* display = nullptr;      // cells, caret and events
  const Magnifier* magnifier = nullptr;  // the right-button magnifier
  const Clipboard* clipboard = nullptr;  // the clipboard
  const Tone* tone = nullptr;            // tones and the warning beep
  const Host* host = nullptr;            // program end and sleeping
};

// The SDL2 backend: an SDL window drawn with SDL2_ttf glyphs, its magnifier, the SDL
// clipboard, tones on an SDL audio device, and the real process.
const VideoDriver& SdlVideoDriver();

// The terminal backend: the console's cells drawn with ncurses in the controlling terminal
// (/dev/tty), its keys read from it (the kitty keyboard protocol where the terminal has it),
// the clipboard through the terminal's clipboard sequence and a clipboard of its own, tones on
// the SDL audio device (the terminal bell without one), and the real process. The terminal is
// restored at exit and on the signals that end the program.
const VideoDriver& TerminalVideoDriver();

// Colour of pixel (x, y) of the SDL window as last shown; false without a window (tests).
bool SdlWindowPixel(int x, int y, Rgb* colour);

}  // namespace platform
