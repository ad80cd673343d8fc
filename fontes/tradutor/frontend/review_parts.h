// TIRLA: what the screen review's files share: the review position, the screen's cells, and
// the reading, searching and moving operations its key table calls.
#pragma once
#include <cstdint>
#include <string>

namespace frontend::review {

// Row 1..Rows() and column 1..Columns() + 1 (the column after the row's last).
struct Position {
  int column = 1;
  int row = 1;
};

struct ReviewState {
  std::string searchText;  // kept between review sessions
};
ReviewState& State();

// The screen's size and cells; outside it a blank of attribute 0.
int Columns();
int Rows();
unsigned char CharAt(int column, int row);
uint8_t AttributeAt(int column, int row);

bool IsLetter(unsigned char c);  // A..Z after upper-casing
// The column after the last non-blank character of the row (1 for a blank row).
int EndOfRow(int row);
// The field around the position: cells of its attribute that are not separators.
void FieldBounds(const Position& p, int* first, int* last);

// Speaks the word at the position and moves past it (F1 and reading without an engine).
void SpeakWordAt(Position& p);
// Reads rows first..last from firstColumn of the first to lastColumn of the last; a key
// stops it. With `restore` the position is put back afterwards.
void ReadRegion(Position& p, int firstRow, int firstColumn, int lastRow, int lastColumn,
                bool restore);
// The two-letter reading commands; `first` is the first letter, already read.
void ReadingCommand(Position& p, unsigned char first);

// Search, go to row and column, copy of the screen (review_search.cpp).
void Search(Position& p);
void SearchAgain(Position& p);
void GoTo(Position& p);
void CopyScreen();

}  // namespace frontend::review
