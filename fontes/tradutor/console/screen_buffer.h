// TIRLA: the console's text screen as a plain buffer: characters and attributes, the text
// region, the cursor, and what writing does to them. It draws nothing; it tells whoever shows
// it which cells changed.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace console {

// The usable part of the screen, 0-based inclusive cell indexes.
struct Region {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// What a change tells the side that shows the buffer, as it happens. Null: nobody listens.
struct ScreenNotices {
  // Cells [from, to) of screen row `row` changed.
  void (*RowChanged)(int row, int from, int to) = nullptr;
  // The region moved up one row and its bottom row was blanked.
  void (*Scrolled)() = nullptr;
  // Any cell of the region may have changed.
  void (*AllChanged)() = nullptr;
  // Byte 7 was written.
  void (*Bell)() = nullptr;
};

struct ScreenBuffer {
  int columns = 0;                 // screen size in cells
  int rows = 0;
  Region region;                   // the text region (the whole screen)
  int32_t cursor_column = 0;       // 0-based, relative to the region; may equal its width
  int32_t cursor_row = 0;          // 0-based, relative to the region
  std::vector<uint8_t> chars;      // columns x rows characters, row-major
  std::vector<uint8_t> attrs;      // columns x rows attributes, row-major
  ScreenNotices notices;           // told of every change
};

// A screen of `columns` x `rows` blanks of `attribute`, the region the whole screen, the
// cursor at its top left.
ScreenBuffer MakeScreenBuffer(int columns, int rows, uint8_t attribute, ScreenNotices notices);

int RegionWidth(const ScreenBuffer& screen);
int RegionHeight(const ScreenBuffer& screen);

// Writes bytes at the cursor in `attribute`: 7 rings the bell, 8 rubs out to the left, 10
// goes to column 1 of the next row, 13 to column 1, 32..255 are put down (a character past
// the right edge starts the next row); other bytes are dropped. Going below the region
// scrolls it.
void WriteBytes(ScreenBuffer& screen, std::string_view text, uint8_t attribute);
// Blanks the region in `attribute` and puts the cursor at its top left.
void ClearRegion(ScreenBuffer& screen, uint8_t attribute);
// Blanks from the cursor to the right edge of its row in `attribute`.
void ClearToRowEnd(ScreenBuffer& screen, uint8_t attribute);
// Puts the cursor at the 1-based region cell (column, row), clamped into the region.
void PlaceCursor(ScreenBuffer& screen, int32_t column, int32_t row);
// Character and attribute of the 1-based region cell (column, row); a blank and 0 outside.
uint8_t CellChar(const ScreenBuffer& screen, int32_t column, int32_t row);
uint8_t CellAttribute(const ScreenBuffer& screen, int32_t column, int32_t row);

}  // namespace console
