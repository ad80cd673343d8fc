// TIRLA: what screen review reads: cells, words, fields, regions of rows, and the two-letter
// reading commands.
#include <string>

#include "console/console.h"
#include "console/keyboard.h"
#include "frontend/review_parts.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "platform/byteset.h"

namespace frontend::review {
namespace {

constexpr size_t kMostRepeated = 3;  // a run of one symbol is voiced as three at most

// Digits, letters and the accented letters of Portuguese (and ñ), both cases.
constexpr platform::ByteSet kWordCharacters =
    platform::ByteSet("\xE0\xE1\xE2\xE3\xE7\xE9\xEA\xED\xF1\xF3\xF4\xF5\xFA"
                      "\xC0\xC1\xC2\xC3\xC7\xC9\xCA\xCD\xD1\xD3\xD4\xD5\xDA")
        .AddRange('0', '9').AddRange('A', 'Z').AddRange('a', 'z');
// Words made only of these are read letter by letter.
constexpr platform::ByteSet kConsonants =
    platform::ByteSet("BCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz");
// Field separators: punctuation that parts fields, and the box-drawing codes.
constexpr platform::ByteSet kSeparators = platform::ByteSet("!:?|").AddRange(176, 223);

bool InField(int column, int row, uint8_t attribute) {
  return column >= 1 && column <= Columns() && AttributeAt(column, row) == attribute &&
         !kSeparators.Has(CharAt(column, row));
}

std::string RowText(int row, int first, int last) {
  std::string text;
  for (int column = first; column <= last; ++column) text += static_cast<char>(CharAt(column, row));
  return text;
}

// The two-letter commands: where reading starts and ends, over which region.
struct ReadingRow {
  char where;   // I up to the position, T all, F from the position
  char region;  // T the screen, L the row, C the field
  void (*read)(Position& p);
};

int FieldFirst(const Position& p) {
  int first, last;
  FieldBounds(p, &first, &last);
  return first;
}

int FieldLast(const Position& p) {
  int first, last;
  FieldBounds(p, &first, &last);
  return last;
}

constexpr ReadingRow kReadings[] = {
    {'I', 'T', [](Position& p) { ReadRegion(p, 1, 1, p.row, p.column - 1, false); }},
    {'I', 'L', [](Position& p) { ReadRegion(p, p.row, 1, p.row, p.column - 1, true); }},
    {'I', 'C', [](Position& p) { ReadRegion(p, p.row, FieldFirst(p), p.row, p.column, true); }},
    {'T', 'T', [](Position& p) { ReadRegion(p, 1, 1, Rows(), Columns(), false); }},
    {'T', 'L', [](Position& p) { ReadRegion(p, p.row, 1, p.row, Columns(), true); }},
    {'T', 'C', [](Position& p) { ReadRegion(p, p.row, FieldFirst(p), p.row, FieldLast(p), true); }},
    {'F', 'T', [](Position& p) { ReadRegion(p, p.row, p.column, Rows(), Columns(), false); }},
    {'F', 'L', [](Position& p) { ReadRegion(p, p.row, p.column, p.row, Columns(), true); }},
    {'F', 'C', [](Position& p) { ReadRegion(p, p.row, p.column, p.row, FieldLast(p), true); }},
};

char Upper(unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); }

}  // namespace

int Columns() { return console::ScreenSize().Columns; }
int Rows() { return console::ScreenSize().Rows; }

unsigned char CharAt(int column, int row) {
  if (column < 1 || column > Columns() || row < 1 || row > Rows()) return ' ';
  return console::ScreenChar(column, row);
}

uint8_t AttributeAt(int column, int row) {
  if (column < 1 || column > Columns() || row < 1 || row > Rows()) return 0;
  return console::ScreenAttribute(column, row);
}

bool IsLetter(unsigned char c) { return Upper(c) >= 'A' && Upper(c) <= 'Z'; }

int EndOfRow(int row) {
  for (int column = Columns(); column >= 1; --column)
    if (CharAt(column, row) != ' ') return column + 1;
  return 1;
}

void FieldBounds(const Position& p, int* first, int* last) {
  const uint8_t attribute = AttributeAt(p.column, p.row);
  *first = p.column;
  while (InField(*first - 1, p.row, attribute)) --*first;
  *last = p.column;
  while (InField(*last + 1, p.row, attribute)) ++*last;
}

void SpeakWordAt(Position& p) {
  while (p.column <= Columns() && CharAt(p.column, p.row) == ' ') ++p.column;
  if (p.column > Columns()) return;
  std::string taken;
  do {
    taken += static_cast<char>(CharAt(p.column, p.row));
    console::MoveCursor(p.column, p.row);
    ++p.column;
  } while (p.column <= Columns() && kWordCharacters.Has(CharAt(p.column, p.row)));
  if (taken.size() == 1) {
    // A run of one symbol (a line of dashes) is voiced as three at most and skipped whole.
    while (p.column <= Columns() && CharAt(p.column, p.row) == taken[0]) {
      if (taken.size() < kMostRepeated) taken += taken[0];
      ++p.column;
    }
    SpeakText(taken);
    return;
  }
  bool consonantsOnly = true;
  for (const char c : taken) consonantsOnly = consonantsOnly && kConsonants.Has(c);
  if (consonantsOnly)
    SpellText(taken);
  else
    SpeakText(taken);
}

void ReadRegion(Position& p, int firstRow, int firstColumn, int lastRow, int lastColumn,
                bool restore) {
  if (firstRow == lastRow && lastColumn < firstColumn) {
    Beep();
    return;
  }
  const Position saved = p;
  for (int row = firstRow; row <= lastRow; ++row) {
    const int from = row == firstRow ? firstColumn : 1;
    const int to = row == lastRow ? lastColumn : Columns();
    p = {.column = from, .row = row};
    if (EngineActive()) {
      SpeakText(RowText(row, from, to));
    } else {
      for (;;) {
        while (p.column <= to && CharAt(p.column, p.row) == ' ') ++p.column;
        if (p.column > to || console::KeyWaiting()) break;
        SpeakWordAt(p);
      }
    }
    if (console::KeyWaiting()) break;
    p.column = 1;
    Click();
  }
  IsSpeaking();  // silences what still plays when a key is waiting
  if (lastColumn >= Columns()) p.column = EndOfRow(p.row);
  if (restore) p = saved;
}

void ReadingCommand(Position& p, unsigned char first) {
  const uint8_t second = console::ReadKeyCode();
  if (second == 0) console::ReadKeyCode();  // an extended key is no letter
  const char where = Upper(first) == 'L' ? 'T' : Upper(first);
  for (const ReadingRow& row : kReadings)
    if (row.where == where && row.region == Upper(second)) {
      row.read(p);
      return;
    }
  Beep();
  Click();
  Beep();
}

}  // namespace frontend::review
