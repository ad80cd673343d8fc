// TIRLA: the screen review loop and its key table.
#include "frontend/review.h"

#include <span>
#include <string>

#include "console/braille_output.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "frontend/review_parts.h"
#include "frontend/sound.h"
#include "frontend/speech.h"

namespace frontend {
namespace review {
namespace {

// An impossible move or an unknown key.
void Refuse() {
  Beep();
  Click();
  Beep();
}

void ReadRow(Position& p) { ReadRegion(p, p.row, 1, p.row, Columns(), true); }

void NextRow(Position& p, uint8_t) {
  ++p.row;
  p.column = 1;
  Click();
}

void ReadCurrentRow(Position& p, uint8_t) { ReadRow(p); }

void NextField(Position& p, uint8_t) {
  int first, last;
  FieldBounds(p, &first, &last);
  p.column = last + 2;
  if (p.column > Columns())
    p.column = EndOfRow(p.row);
  else
    Click();
}

void PreviousField(Position& p, uint8_t) {
  int first, last;
  FieldBounds(p, &first, &last);
  p.column = first - 2;
  Click();
}

// At column 1 the clamp beeps a second time.
void CharacterLeft(Position& p, uint8_t) {
  if (p.column <= 1)
    Beep();
  else
    SpeakCharSound(CharAt(p.column - 1, p.row));
  --p.column;
}

void CharacterRight(Position& p, uint8_t) {
  if (p.column > Columns())
    Beep();
  else
    SpeakCharSound(CharAt(p.column, p.row));
  ++p.column;
}

// A routing key of the braille display: the review cursor to the cell under it, which is said.
void RouteTo(Position& p, uint8_t) {
  p.column = console::BrailleRoutedPosition() + 1;
  if (p.column >= 1 && p.column <= Columns()) SpeakCharSound(CharAt(p.column, p.row));
}

void RowStart(Position& p, uint8_t) { p.column = 1; }
void RowEnd(Position& p, uint8_t) { p.column = EndOfRow(p.row); }

// Past the top or the bottom the clamp beeps.
void RowUp(Position& p, uint8_t) {
  --p.row;
  p.column = 1;
  if (p.row >= 1) ReadRow(p);
}

void RowDown(Position& p, uint8_t) {
  ++p.row;
  p.column = 1;
  Click();
  if (p.row <= Rows()) ReadRow(p);
}

void FirstRow(Position& p, uint8_t) {
  p = {.column = 1, .row = 1};
  ReadRow(p);
}

void LastRow(Position& p, uint8_t) {
  p = {.column = 1, .row = Rows()};
  ReadRow(p);
}

void WordLeft(Position& p, uint8_t) {
  int c = p.column - 1;
  while (c >= 1 && CharAt(c, p.row) == ' ') --c;
  while (c >= 1 && CharAt(c, p.row) != ' ') --c;
  if (c < 1) {
    p.column = 1;
    Beep();
    return;
  }
  p.column = c + 1;
  Click();
}

void WordRight(Position& p, uint8_t) {
  int c = p.column;
  while (c <= Columns() && CharAt(c, p.row) != ' ') ++c;
  while (c <= Columns() && CharAt(c, p.row) == ' ') ++c;
  if (c > Columns()) {
    p.column = EndOfRow(p.row);
    Beep();
    return;
  }
  p.column = c;
  Click();
}

// The first letter of the screen from the top, or the last from the bottom, and its row.
void FirstLetter(Position& p, uint8_t) {
  for (int row = 1; row <= Rows(); ++row)
    for (int column = 1; column <= Columns(); ++column)
      if (IsLetter(CharAt(column, row))) {
        p = {.column = column, .row = row};
        ReadRegion(p, row, 1, row, Columns(), true);
        return;
      }
  Beep();
}

void LastLetter(Position& p, uint8_t) {
  for (int row = Rows(); row >= 1; --row)
    for (int column = Columns(); column >= 1; --column)
      if (IsLetter(CharAt(column, row))) {
        p = {.column = column, .row = row};
        ReadRegion(p, row, 1, row, Columns(), true);
        return;
      }
  Beep();
}

void SpeakWord(Position& p, uint8_t) {
  if (EngineActive() && console::KeyWaiting()) return;
  SpeakWordAt(p);
  if (p.column > Columns() - 1) {
    Click();
    p.column = EndOfRow(p.row);
  }
}

void ReadField(Position& p, uint8_t) {
  int first, last;
  FieldBounds(p, &first, &last);
  ReadRegion(p, p.row, first, p.row, last, true);
}

void SearchKey(Position& p, uint8_t) { Search(p); }
void SearchAgainKey(Position& p, uint8_t) { SearchAgain(p); }
void GoToKey(Position& p, uint8_t) { GoTo(p); }
void CopyKey(Position&, uint8_t) { CopyScreen(); }

void SpeakPosition(Position& p, uint8_t) {
  SpeakText(std::to_string(p.row) + " " + std::to_string(p.column));
}

// Where the user is and the main keys of review, for a user who lost their way.
void WhereAmI(Position& p, uint8_t) {
  SpeakText("Revis\xE3o de tela, linha " + std::to_string(p.row) + ", coluna " +
            std::to_string(p.column) +
            ". Setas movem, espa\xE7o l\xEA a linha, F5 procura, escape sai. "
            "Control F2 repete esta ajuda.");
}

void Reading(Position& p, uint8_t code) { ReadingCommand(p, code); }
void Unknown(Position&, uint8_t) { Refuse(); }
void Leave(Position&, uint8_t) {}

// Keys: `extended` rows match the code after a 0; codes first..last run the action. The last
// row takes every other key.
struct KeyRow {
  bool extended;
  uint8_t first;
  uint8_t last;
  void (*action)(Position& p, uint8_t code);
};

constexpr KeyRow kReviewKeys[] = {
    // extended  first  last  action
    {false,      27,    27,   Leave},           // Escape
    {false,      13,    13,   NextRow},         // Enter
    {false,      32,    32,   ReadCurrentRow},  // Space
    {false,      9,     9,    NextField},       // Tab
    {true,       15,    15,   PreviousField},   // Shift+Tab
    {false,      8,     8,    CharacterLeft},   // Backspace
    {true,       75,    75,   CharacterLeft},   // Left
    {true,       77,    77,   CharacterRight},  // Right
    {true,       71,    71,   RowStart},        // Home
    {true,       79,    79,   RowEnd},          // End
    {true,       72,    72,   RowUp},           // Up
    {true,       80,    80,   RowDown},         // Down
    {true,       73,    73,   FirstRow},        // PageUp
    {true,       81,    81,   LastRow},         // PageDown
    {true,       115,   115,  WordLeft},        // Ctrl+Left
    {true,       116,   116,  WordRight},       // Ctrl+Right
    {true,       132,   132,  FirstLetter},     // Ctrl+PageUp
    {true,       118,   118,  LastLetter},      // Ctrl+PageDown
    {true,       59,    59,   SpeakWord},       // F1
    {true,       94,    94,   ReadField},       // Ctrl+F1
    {true,       63,    63,   SearchKey},       // F5
    {true,       98,    98,   SearchAgainKey},  // Ctrl+F5
    {true,       64,    64,   GoToKey},         // F6
    {true,       95,    95,   WhereAmI},        // Ctrl+F2
    {true,       console::kBrailleRouteCode, console::kBrailleRouteCode, RouteTo},  // routing key
    {false,      11,    12,   SpeakPosition},   // Ctrl+K, Ctrl+L
    {false,      3,     3,    CopyKey},         // Ctrl+C
    {false,      'A',   'Z',  Reading},         // two-letter reading commands
    {false,      'a',   'z',  Reading},         // two-letter reading commands
    {false,      0,     255,  Unknown},         // any other key
};

const KeyRow& Find(bool extended, uint8_t code) {
  for (const KeyRow& row : std::span<const KeyRow>(kReviewKeys).first(std::size(kReviewKeys) - 1))
    if (row.extended == extended && code >= row.first && code <= row.last) return row;
  return kReviewKeys[std::size(kReviewKeys) - 1];
}

// Every move off the screen comes back to its edge with a beep.
void Clamp(Position& p) {
  auto clamp = [](int& value, int low, int high, int above) {
    if (value >= low && value <= high) return;
    value = value < low ? low : above;
    Beep();
  };
  clamp(p.column, 1, Columns() + 1, Columns());
  clamp(p.row, 1, Rows(), Rows());
}

}  // namespace

ReviewState& State() {
  static ReviewState state;
  return state;
}

}  // namespace review

void StartReview() { review::State() = review::ReviewState{}; }

void ReviewScreen() {
  using review::Position;
  Beep();
  const Position saved{.column = console::CursorColumn(), .row = console::CursorRow()};
  Position p = saved;
  console::FollowCursorInBraille();  // the display shows the row under the review cursor
  for (;;) {
    console::MoveCursor(p.column, p.row);
    uint8_t code = console::ReadKeyCode();
    const bool extended = code == 0;
    if (extended) code = console::ReadKeyCode();
    const auto action = review::Find(extended, code).action;
    if (action == review::Leave) break;
    action(p, code);
    review::Clamp(p);
  }
  // What review still reads stops, and the two beeps are heard even when keys were typed
  // ahead: they are how the user knows review is over.
  StopSpeaking();
  UnbrokenBeeps(2);
  console::MoveCursor(saved.column, saved.row);
}

}  // namespace frontend
