// TIRLA: the console window: a text screen of character cells with colours, cursor and scrolling.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <streambuf>
#include <string_view>

#include "console/screen_buffer.h"
#include "platform/report.h"
#include "platform/video.h"

namespace console {

// Screen size in cells.
struct ScreenDimensions {
  int32_t Columns = 80;  // nothing changes it
  int32_t Rows = 25;     // the driver sets 3 for command-line mode
};

// The screen size: as asked for until the window exists, then the window's.
ScreenDimensions ScreenSize();
// Asks for a screen size; effective only before the window exists (sizes are kept within
// 1..1000 cells when it is made).
void SetScreenSize(ScreenDimensions size);
// The text region; set when the window is created.
const Region& TextRegion();
// Attribute of written characters: background colour in the high nibble, foreground in the low.
uint8_t TextAttribute();
void SetTextAttribute(uint8_t attribute);

// Resets every console, keyboard, Braille, tone and configuration state to its start-up value
// (tests); the chosen backend stays.
void StartConsole();
// Chooses the backend: the program does (driver/tirla_main.cpp), tests pick
// platform::MemoryVideoDriver(). Until then there is none: nothing shows and no key comes. Call
// before the window exists.
void UseVideoDriver(const platform::VideoDriver& driver);
// The backend in use.
const platform::VideoDriver& VideoDriver();

// Creates the window if it does not exist yet. Without a display: a message on standard error
// and the program ends with code 1.
void OpenConsole();
// Whether the window exists.
bool ConsoleOpen();

// Writes bytes at the cursor: 7 beeps, 8 rubs out to the left, 10 new line, 13 column 1,
// 32..255 printed (wrapping at the right edge), everything else ignored.
void ConsoleWrite(std::string_view text);
void ConsoleWrite(const char* text, uint16_t count);
void ConsoleWriteChar(unsigned char ch);
// Blanks the region with TextAttribute and puts the cursor at (1, 1).
void ClearScreen();
// Blanks from the cursor to the right edge of its row.
void ClearToLineEnd();
// Moves the cursor to the 1-based (column, row), clamped into the region.
void MoveCursor(int32_t column, int32_t row);
// The 1-based cursor position (column may be one past the last column).
int32_t CursorColumn();
int32_t CursorRow();
// Sets the background nibble of TextAttribute, unless the colours are fixed.
void SetBackground(uint8_t colour);
// Character and attribute of the 1-based cell (column, row); a blank and 0 outside.
uint8_t ScreenChar(int32_t column, int32_t row);
uint8_t ScreenAttribute(int32_t column, int32_t row);
// Sets the window title (cp1252, at most 79 bytes kept).
void SetWindowTitle(std::string_view title);
// The title kept for the window.
std::string_view WindowTitle();
// Drains the key queue, destroys the window and ends the program with `code` through the
// backend's exit (the test backend throws platform::ProcessExit instead).
[[noreturn]] void CloseConsole(int code = 0);
// Ends the program with `code` after the exit handling (a window left open is titled
// "Programa terminado" and stops reacting).
[[noreturn]] void EndProgram(int code);

// Serves one window event as the window procedure does (used by the message pumps). Posted
// messages (the wave output's 957 among them) go to the handlers set in platform/messages.h.
void DispatchWindowEvent(const platform::VideoEvent& event);

// Reports for a program with a console window: written to standard error and, once the window
// exists, on the console; a question waits there for a typed line.
platform::ReportSink ConsoleReportSink();

// Standard streams over the console: output buffered in 128 bytes, flushed into ConsoleWrite
// after every write followed by KeyWaiting, line end written as CR LF; input read a line at a
// time with ReadConsoleLine.
std::streambuf* ConsoleOutputBuffer();
std::streambuf* ConsoleInputBuffer();
// Points std::cout and std::cin at the console (the program's main calls it once).
void BindStandardStreams();

}  // namespace console
