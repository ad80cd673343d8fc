// TIRLA: the window, event, clipboard and sound backend behind the console, as one driver table.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Virtual-key numbers of the keyboard code (the Windows numbering the console's tables use).
namespace vk {
inline constexpr int kCancel = 0x03;     // Ctrl+Break
inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;       // Alt
inline constexpr int kPause = 0x13;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;      // Page Up
inline constexpr int kNext = 0x22;       // Page Down
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int k0 = 0x30;          // digits '0'..'9' are 0x30..0x39
inline constexpr int kA = 0x41;          // letters 'A'..'Z' are 0x41..0x5A
inline constexpr int kF1 = 0x70;         // F1..F12 are 0x70..0x7B
inline constexpr int kF10 = 0x79;
inline constexpr int kF11 = 0x7A;
inline constexpr int kF12 = 0x7B;
}  // namespace vk

// Modifier keys held when an event happened.
enum Modifier : unsigned {
  kModShift = 1,
  kModCtrl = 2,
  kModAlt = 4,
};

// One red-green-blue colour.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pixel size of one character cell of the console font.
struct CellMetrics {
  int width = 8;      // average character width
  int height = 16;    // font height plus external leading
  int ascent = 12;    // font ascent (the caret sits on it)
  int overhang = 0;   // added to every horizontal text position
};

// The font the console asks for (face name, size in pixels, weight 100..900).
struct FontRequest {
  std::string face;   // face name, cp1252; an unknown face falls back to the default font
  int width = 0;      // average character width in pixels, 0: from the height
  int height = 0;     // character height in pixels, 0: backend default
  int weight = 700;   // 400 normal, 700 bold
};

// What the window backend reports.
enum class EventKind {
  kNone,
  kKeyDown,         // key: vk, modifiers
  kKeyUp,           // key: vk, modifiers
  kChar,            // character: ch (cp1252), modifiers
  kRightDown,       // right mouse button pressed at x, y (pixels)
  kMouseMove,       // pointer moved to x, y
  kRightUp,         // right mouse button released at x, y
  kPaint,           // pixels x, y .. x2, y2 (exclusive) must be drawn again
  kFocusGained,     // the window received the keyboard focus
  kFocusLost,       // the window lost the keyboard focus
  kClose,           // the user asked to close the window
  kQuit,            // the application was told to quit
};

struct VideoEvent {
  EventKind kind = EventKind::kNone;
  int vk = 0;                // virtual key (kKeyDown, kKeyUp)
  unsigned char ch = 0;      // character (kChar)
  unsigned modifiers = 0;    // Modifier bits
  int x = 0, y = 0;          // pointer or paint rectangle corner
  int x2 = 0, y2 = 0;        // paint rectangle far corner (exclusive)
};

// The window and its services. Each backend fills every entry; the console calls them only
// from the main thread. Cell coordinates are screen cells, 0-based.
struct VideoDriver {
  const char* name;  // "sdl", "memory"

  // Brings up the display. False, with a readable reason in `error`, when there is none.
  bool (*StartVideo)(std::string* error);
  // Whether StartVideo succeeded and the display is up (no window needed).
  bool (*VideoUp)();
  // Pixel size of the usable part of the display (screen less panels); false when unknown.
  bool (*GetWorkArea)(int* width, int* height);
  // Loads the console font; fills the cell metrics. False when no font could be loaded: the
  // backend then draws with a built-in fallback and still fills usable metrics.
  bool (*LoadFont)(const FontRequest& request, CellMetrics* metrics);
  // Creates the (hidden) window with a client area of `columns` x `rows` cells and the given
  // maximum size in pixels. False with a reason when it cannot be made.
  bool (*CreateWindow)(std::string_view title_cp1252, int columns, int rows, int max_width,
                       int max_height, std::string* error);
  // Destroys the window; harmless without one.
  void (*DestroyWindow)();
  // Shows the window, maximized or at its own size.
  void (*ShowWindow)(bool maximize);
  // Sets the window title (cp1252).
  void (*SetTitle)(std::string_view title_cp1252);
  // Draws characters (cp1252) from cell (column, row) rightwards, each cell filled with `back`
  // and its glyph in `fore`.
  void (*DrawRun)(int column, int row, std::string_view text, Rgb fore, Rgb back);
  // Moves the pixels of rows 1 .. rows-1 up by one row (columns 0 .. columns-1).
  void (*ScrollPixelsUp)(int columns, int rows);
  // Fills cells [column, column2) x [row, row2) with one colour.
  void (*FillCells)(int column, int row, int column2, int row2, Rgb colour);
  // Whether a pixel scroll is allowed now: the window is active and its bottom edge is more
  // than 32 pixels above the bottom of the display.
  bool (*CanScrollPixels)();
  // Makes what was drawn visible.
  void (*Present)();
  // Caret of `width` x `height` pixels at pixel (x, y); ShowCaret again moves it.
  void (*ShowCaret)(int x, int y, int width, int height);
  void (*HideCaret)();
  // Keeps a copy of the window's picture for the magnifier.
  void (*SnapshotWindow)();
  // Draws the part (x, y, width, height) of the snapshot stretched over the whole window.
  void (*DrawSnapshot)(int x, int y, int width, int height);
  // Drops the snapshot.
  void (*DropSnapshot)();
  // Takes the next pending window event without waiting; false when there is none.
  bool (*PollEvent)(VideoEvent* event);
  // Blocks until a window event or a posted message (platform/messages.h) is waiting, or
  // `timeout_ms` passes (negative: no limit).
  void (*WaitEvent)(int timeout_ms);
  // Sleeps for `ms` milliseconds.
  void (*Sleep)(int ms);
  // Puts cp1252 text on the clipboard; false when the clipboard cannot be opened.
  bool (*SetClipboard)(std::string_view text_cp1252);
  // Reads the clipboard as cp1252. False when it cannot be opened; `has_text` tells whether it
  // held text at all.
  bool (*GetClipboard)(std::string* text_cp1252, bool* has_text);
  // Plays an in-memory WAV image asynchronously (looping if `loop`); the image is copied.
  // An empty image stops what is playing.
  void (*PlaySound)(std::string_view wav_image, bool loop);
  // The short warning sound.
  void (*Beep)();
  // Ends the process with `code`. Does not return (the test backend throws ProcessExit).
  void (*Exit)(int code);
};

// Thrown by the test backend's Exit instead of ending the process.
struct ProcessExit {
  int code;
};

// The SDL2 backend (window, SDL2_ttf text, SDL clipboard and audio).
const VideoDriver& SdlVideoDriver();

// Colour of pixel (x, y) of the SDL window as last shown; false without a window (tests).
bool SdlWindowPixel(int x, int y, Rgb* colour);

}  // namespace platform
