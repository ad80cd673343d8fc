// TIRLA: the in-memory backend for tests: scripted events in; cells, sound, clipboard and
// program end recorded.
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
  bool video_fails = false;              // Start reports no display
  std::string video_error = "sem tela";  // reason given when it fails
  bool up = false;                       // Start succeeded
  bool font_fails = false;               // SetFont finds no font
  int work_width = 1024, work_height = 738;  // work area the font sizes are derived from
  FontRequest font{};                    // last font asked for, sizes derived
  bool can_scroll_smoothly = false;      // CanScrollSmoothly answer
  bool window = false;                   // a window exists
  bool shown = false, maximized = false;
  int columns = 0, rows = 0;             // window size in cells
  std::string title;                     // window title (cp1252)
  std::vector<MemoryCell> cells;         // columns x rows, row-major
  int draw_calls = 0;                    // DrawRun calls
  int smooth_scrolls = 0;                // ScrollRowsUp calls
  bool caret = false;                    // caret shown
  int caret_column = 0, caret_row = 0;   // the cell it was last shown under
  bool snapshot = false;                 // a magnifier snapshot exists
  std::vector<std::vector<int>> magnified;  // magnifier Show calls: x, y, factor
  std::vector<VideoEvent> events;        // pending scripted events, oldest first
  std::function<void()> on_wait;         // called when WaitEvent finds nothing to return
  bool clipboard_fails = false;          // the clipboard cannot be reached
  bool clipboard_has_text = false;
  std::string clipboard;                 // clipboard text (cp1252)
  struct Sound {
    std::string image;                   // the WAV image played (empty: a stop)
    bool loop;
  };
  std::vector<Sound> sounds;             // tones played, in order
  int beeps = 0;                         // warning beeps
  long slept_ms = 0;                     // total sleep asked for (nothing sleeps)
  int exit_code = -1;                    // code given to Exit, -1 before
};

// The test backend's tables (every capability), its display table alone, and its state.
const VideoDriver& MemoryVideoDriver();
const Display& MemoryDisplay();
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
