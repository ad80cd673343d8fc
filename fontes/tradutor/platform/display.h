// TIRLA: the console's display as a table of cell operations: a window of character cells,
// its caret, and the events it reports.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keys.h"

namespace platform {

// One red-green-blue colour.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The 16 colours of a PC text console, by colour number: black, blue, green, cyan, red,
// magenta, brown, light grey, then their bright forms, yellow for bright brown, white last.
// A display with colours of its own (a terminal) takes a run's colours back to these numbers.
inline constexpr std::array<Rgb, 16> kConsolePalette = {{
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},
    {255, 0, 0},     {142, 0, 142},   {68, 34, 34},    {192, 192, 192},
    {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
}};

// The font the console asks for. A display whose cells are not drawn in pixels ignores it.
struct FontRequest {
  static constexpr int kFromWorkArea = -1;  // a size the display derives from its work area
  std::string face;   // face name, cp1252; an unknown face falls back to the default font
  int width = 0;      // average character width in pixels; 0: from the height
  int height = 0;     // character height in pixels; 0: the display's default
  int weight = 700;   // 400 normal, 700 bold
};

// What a display reports.
enum class EventKind {
  kNone,
  kKeyDown,         // key: vk, modifiers
  kKeyUp,           // key: vk, modifiers
  kChar,            // character: ch (cp1252), modifiers
  kRightDown,       // right mouse button pressed at pointer x, y
  kMouseMove,       // pointer moved to x, y
  kRightUp,         // right mouse button released at x, y
  kPaint,           // cells [column, column2) x [row, row2) must be drawn again
  kPaintAll,        // every cell must be drawn again
  kFocusGained,     // the window received the keyboard focus
  kFocusLost,       // the window lost the keyboard focus
  kClose,           // the user asked to close the window
  kQuit,            // the application was told to quit
};

struct VideoEvent {
  EventKind kind = EventKind::kNone;
  int vk = 0;                  // virtual key (kKeyDown, kKeyUp)
  unsigned char ch = 0;        // character (kChar)
  unsigned modifiers = 0;      // Modifier bits
  int x = 0, y = 0;            // pointer in pixels (mouse events: only the magnifier reads them)
  int column = 0, row = 0;     // first cell to paint (kPaint)
  int column2 = 0, row2 = 0;   // past the last cell to paint (kPaint)
};

// A window of character cells, driven by the console from the main thread. Cells are 0-based
// (column, row) of the whole window; text is cp1252. Any entry may be left null: the console
// then does the harmless thing noted, so a backend fills only what it has.
struct Display {
  // Brings the display up; false, with a readable reason (UTF-8) in `error`, when there is
  // none. Null: always up.
  bool (*Start)(std::string* error) = nullptr;
  // Whether Start succeeded (no window needed). Null: up.
  bool (*IsUp)() = nullptr;
  // Chooses the font of the window to come; false when it cannot be loaded and a built-in
  // fallback draws instead. Null: true.
  bool (*SetFont)(const FontRequest& font) = nullptr;
  // Creates the hidden window of `columns` x `rows` cells; false with a reason when it cannot
  // be made. Null: true.
  bool (*CreateWindow)(std::string_view title_cp1252, int columns, int rows,
                       std::string* error) = nullptr;
  // Destroys the window; harmless without one.
  void (*DestroyWindow)() = nullptr;
  // Shows the window, maximized or at its own size.
  void (*ShowWindow)(bool maximize) = nullptr;
  // Sets the window title.
  void (*SetTitle)(std::string_view title_cp1252) = nullptr;
  // Draws `text` from cell (column, row) rightwards: each cell `back`, its character `fore`.
  void (*DrawRun)(int column, int row, std::string_view text, Rgb fore, Rgb back) = nullptr;
  // Blanks cells [column, column2) x [row, row2) in `colour`.
  void (*FillCells)(int column, int row, int column2, int row2, Rgb colour) = nullptr;
  // Whether a smooth scroll is possible now (pixels: the window is active and its bottom edge
  // is well above the bottom of the screen). Null: false, and the console redraws instead.
  bool (*CanScrollSmoothly)() = nullptr;
  // Moves rows 1 .. rows-1 (columns 0 .. columns-1) up by one row; the last row keeps its
  // content until it is drawn.
  void (*ScrollRowsUp)(int columns, int rows) = nullptr;
  // Makes what was drawn visible.
  void (*Present)() = nullptr;
  // Shows the caret under cell (column, row); showing it again moves it.
  void (*ShowCaret)(int column, int row) = nullptr;
  void (*HideCaret)() = nullptr;
  // Takes the next pending event without waiting; false when there is none. Null: none.
  bool (*PollEvent)(VideoEvent* event) = nullptr;
  // Blocks until an event or a posted message (platform/messages.h) is waiting, or
  // `timeout_ms` passes (negative: no limit). Null: waits for posted messages only.
  void (*WaitEvent)(int timeout_ms) = nullptr;
  // Whether key releases are reported (the Braille chord keyboard needs them). Null: they are.
  bool (*ReportsKeyUps)() = nullptr;
};

}  // namespace platform
