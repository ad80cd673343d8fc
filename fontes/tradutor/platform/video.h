// TIRLA: a window system as the console sees it: one table per capability.
#pragma once
#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/host.h"
#include "platform/magnifier.h"
#include "platform/tone.h"

namespace platform {

// The tables one backend provides. Each backend is a folder of its own (platform/sdl,
// platform/terminal, platform/memory), and the program chooses one. A null table means the
// backend lacks that capability: the console then does without (nothing shows, no magnifier,
// no clipboard, silence), except for the host, where null means the real process.
struct VideoDriver {
  const char* name = "";                 // "sdl", "terminal", "memory"
  const Display* display = nullptr;      // cells, caret and events
  const Magnifier* magnifier = nullptr;  // the right-button magnifier
  const Clipboard* clipboard = nullptr;  // the clipboard
  const Tone* tone = nullptr;            // tones and the warning beep
  const Host* host = nullptr;            // program end and sleeping
};

}  // namespace platform
