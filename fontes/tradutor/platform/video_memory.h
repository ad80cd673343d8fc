// TIRLA: the in-memory window backend for tests: scripted events in, cells and sound out.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/video.h"

namespace platform {

// What was drawn into one cell.
struct MemoryCell {
  unsigned char ch = ' ';
  Rgb fore{};
  Rgb back{};
};

// Everything the test backend records. Reset by ResetMemoryVideo.
struct MemoryVideoState {
  bool video_fails = false;              // StartVideo reports no display
  std::string video_error = "sem tela";  // reason given when it fails
  bool font_fails = false;               // LoadFont finds no font
  int work_width = 1024, work_height = 738;  // GetWorkArea
  CellMetrics metrics{};                 // metrics LoadFont reports
  FontRequest font{};                    // last font asked for
  bool can_scroll_pixels = false;        // CanScrollPixels answer
  bool window = false;                   // a window exists
  bool shown = false, maximized = false;
  int columns = 0, rows = 0;             // window size in cells
  int max_width = 0, max_height = 0;     // maximum window size in pixels
  std::string title;                     // window title (cp1252)
  std::vector<MemoryCell> cells;         // columns x rows, row-major
  int draw_calls = 0;                    // DrawRun calls
  int pixel_scrolls = 0;                 // ScrollPixelsUp calls
  bool caret = false;                    // caret shown
  int caret_x = 0, caret_y = 0;
  bool snapshot = false;                 // a magnifier snapshot exists
  std::vector<std::vector<int>> magnified;  // DrawSnapshot calls: x, y, width, height
  std::vector<VideoEvent> events;        // pending scripted events, oldest first
  std::function<void()> on_wait;         // called when WaitEvent finds nothing to return
  bool clipboard_fails = false;          // Set/GetClipboard fail
  bool clipboard_has_text = false;
  std::string clipboard;                 // clipboard text (cp1252)
  struct Sound {
    std::string image;                   // the WAV image played (empty: a stop)
    bool loop;
  };
  std::vector<Sound> sounds;             // PlaySound calls, in order
  int beeps = 0;                         // Beep calls
  long slept_ms = 0;                     // total Sleep time asked for (nothing sleeps)
  int exit_code = -1;                    // code given to Exit, -1 before
};

// The test backend's table and its state.
const VideoDriver& MemoryVideoDriver();
MemoryVideoState& MemoryVideo();
void ResetMemoryVideo();

// The character drawn at cell (column, row), or 0 outside the window.
unsigned char MemoryCellChar(int column, int row);
// The text of one drawn row.
std::string MemoryRowText(int row);

// Scripting helpers: append events to MemoryVideo().events.
void PushKeyDown(int vk, unsigned modifiers = 0);
void PushKeyUp(int vk, unsigned modifiers = 0);
void PushChar(unsigned char ch, unsigned modifiers = 0);
// Down, char (when the key has one) and up for every byte of cp1252 text, as typing does.
void PushTyped(std::string_view text);
void PushEvent(const VideoEvent& event);

// Thrown by WaitEvent when the script has run out and no message is posted, so a test that
// would wait for ever fails instead.
struct ScriptExhausted {};

}  // namespace platform
