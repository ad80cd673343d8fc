// TIRLA: a refreshable braille display as the console sees it: one row of cells to write with
// a cursor, and the display's own keys. A table like the window's, filled by one backend
// (platform/brlapi through BRLTTY, platform/memory for tests).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What a key of the display asks for.
enum class BrailleKeyKind {
  kNone,
  kLineUp,     // the row above
  kLineDown,   // the row below
  kPanLeft,    // the part of a long line to the left
  kPanRight,   // the part to the right
  kRoute,      // a routing key: argument is the cell, 0-based
  kDots,       // the display's braille keyboard: argument is the dots (dot 1 = bit 0 .. dot 8 = 7)
  kCharacter,  // a character the display typed (cp1252 in argument), or 8, 9, 13, 27
};

struct BrailleKey {
  BrailleKeyKind kind = BrailleKeyKind::kNone;
  int argument = 0;
};

// Posted (any thread) when the display has keys waiting; the console's handler reads them.
inline constexpr int kBrailleKeysMessage = 3104;

struct BrailleDisplay {
  // Connects and takes the display; false, with a reason (UTF-8), when there is none. A
  // display that is reached for the terminal the program runs in (`own_terminal`) is taken
  // for that terminal; otherwise it is taken wherever the user is (a window).
  bool (*Open)(bool own_terminal, std::string* error) = nullptr;
  // Gives the display back; harmless when it is not open.
  void (*Close)() = nullptr;
  // The number of cells in a row, 0 when not open.
  int (*Width)() = nullptr;
  // Shows `utf8` (at most Width characters, the rest blank) with the cursor under character
  // `cursor` (0-based; negative: no cursor). False when the display went away.
  bool (*Write)(std::string_view utf8, int cursor) = nullptr;
  // Shows cells made by the program (one byte of dots per cell, dot 1 = bit 0; at most Width,
  // the rest blank) with the cursor under cell `cursor`. False when the display went away.
  bool (*WriteDots)(std::string_view dots, int cursor) = nullptr;
  // Takes the next key without waiting; false when none is waiting. After false, the backend
  // posts kBrailleKeysMessage again when keys come. Sets `lost` when the display went away.
  bool (*ReadKey)(BrailleKey* key, bool* lost) = nullptr;
};

// A line made into cells by a braille table: contracted braille, where one cell may stand for
// several characters and one character for several cells.
struct BrailleCells {
  std::string dots;                 // one byte per cell
  std::vector<int> character;       // per cell, the 0-based character it comes from
  std::vector<int> first_cell;      // per character, its first cell
};

struct BrailleTranslator {
  // Makes `text` (cp1252) into cells with the table named `table`; false, with a reason
  // (UTF-8), when the table cannot be found or used.
  bool (*Translate)(std::string_view table, std::string_view text, BrailleCells* cells,
                    std::string* error) = nullptr;
};

}  // namespace platform
