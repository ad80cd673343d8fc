// TIRLA: the one-line field editor with spoken echo: typed characters, moves, deletions,
// selection, clipboard, word moves and a few speech commands from inside the field.
#pragma once
#include <cstdint>
#include <string>

namespace frontend {

// The longest field; longer requests are cut to it.
inline constexpr int kLongestField = 2048;
// The longest line ReadLine takes.
inline constexpr int kLongestLine = 255;

// Start state: no last cursor position (0).
void StartEditor();

// Edits `text` in a field drawn at the 1-based (column, row) of the console, `width` columns
// wide, holding at most `maxLength` characters. A read-only field (`editable` false) moves,
// speaks and copies but does not change. Returns the key code that ended editing (a
// character, or the extended code); the text comes back without trailing blanks.
uint8_t EditLine(std::string& text, int column, int row, bool editable, int width, int maxLength);

// EditLine as wide as the window's right edge allows from `column`.
uint8_t EditLineHere(std::string& text, int column, int row, bool editable, int maxLength);

// The driver's line reader: a field of 255 characters at the console cursor; Escape gives an
// empty line and blanks what was typed. The console cursor ends on the next row.
void ReadLine(std::string& text);

// Where the cursor stood in the field when EditLine last returned (1-based).
int LastCursorPosition();

}  // namespace frontend
