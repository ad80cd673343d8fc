// TIRLA: what the SDL backend's files share: its one state struct. Pixels live here only.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <deque>

#include "platform/clipboard.h"
#include "platform/display.h"

namespace platform::sdl {

// Pixel size of one character cell of the console font.
struct CellMetrics {
  int width = 8;      // average character width
  int height = 16;    // font height plus external leading
  int ascent = 12;    // font ascent (the caret sits on it)
  int overhang = 0;   // added to every horizontal text position
};

struct SdlState {
  bool up = false;                       // video subsystem initialised
  bool shutdown_registered = false;      // ShutDown is an exit handler (once per process)
  Uint32 wake_event = 0;                 // event type pushed by posted messages
  SDL_Window* window = nullptr;          // the console window
  SDL_Surface* canvas = nullptr;         // what the console drew, client size
  SDL_Surface* snapshot = nullptr;       // the magnifier's copy of the canvas
  TTF_Font* font = nullptr;              // the console font, null when none loaded
  CellMetrics cell;                      // cell size
  int glyph_dx = 0, glyph_dy = 0;        // glyph offset inside a cell
  std::array<SDL_Surface*, 256> glyphs{};  // white glyph of each cp1252 byte, made lazily
  std::array<bool, 256> glyph_tried{};   // the glyph was asked for once
  bool caret = false;                    // caret shown
  SDL_Rect caret_rect{};
  std::deque<VideoEvent> pending;        // events made from one SDL event, not yet taken
  Uint16 key_mod = 0;                    // modifier state of the last key event
  bool dirty = false;                    // the canvas or caret changed since the last showing
};

// Never destroyed: the exit handlers still use it while the process ends.
SdlState& State();

// Events (video_sdl_events.cpp).
void StartWakeEvents();   // posted messages wake SDL_WaitEvent from now on
void StopWakeEvents();    // they no longer do
bool PollEvent(VideoEvent* event);
void WaitEvent(int timeout_ms);

// Drawing (video_sdl.cpp).
void Present();           // shows the canvas and the caret when either changed

// The SDL clipboard (clipboard_sdl.cpp; the video subsystem must be up).
const Clipboard& SdlClipboard();

}  // namespace platform::sdl
