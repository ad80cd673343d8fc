// TIRLA: the screen buffer's change notices, which the window relies on to draw what changed.
#include "console/screen_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string said;  // the notices, in order

void RowChanged(int row, int from, int to) {
  said.append("r").append(std::to_string(row)).append(":").append(std::to_string(from));
  said.append("-").append(std::to_string(to)).append(" ");
}
void Scrolled() { said += "s "; }
void AllChanged() { said += "a "; }
void Bell() { said += "b "; }

constexpr console::ScreenNotices kNotices = {
    .RowChanged = RowChanged, .Scrolled = Scrolled, .AllChanged = AllChanged, .Bell = Bell};

TEST(ScreenBufferTest, WritesTellWhatChanged) {
  struct Case {
    int column, row;       // cursor before the write, 0-based
    std::string text;
    std::string notices;
    std::string bottom;    // the bottom row afterwards
  };
  const Case cases[] = {
      {0, 0, "abc", "r0:0-3 ", "          "},
      {5, 0, "ab\rX", "r0:0-7 ", "          "},  // a carriage return redraws from column 0
      {0, 0, "abc\nde", "r0:0-3 r1:0-2 ", "          "},
      {0, 0, "0123456789A", "r0:0-10 r1:0-1 ", "          "},  // the 11th character wraps
      {0, 2, "x\ny", "r2:0-1 s r2:0-1 ", "y         "},       // the bottom row scrolls
      {3, 0, "\b\b", "r0:1-3 ", "          "},
      {0, 0, "\b\t\x01", "", "          "},
      {0, 0, "\a", "b ", "          "},
  };
  for (const Case& c : cases) {
    console::ScreenBuffer screen = console::MakeScreenBuffer(10, 3, 0x07, kNotices);
    screen.cursor_column = c.column;
    screen.cursor_row = c.row;
    said.clear();
    console::WriteBytes(screen, c.text, 0x1F);
    EXPECT_EQ(said, c.notices) << c.text;
    std::string bottom;
    for (int col = 1; col <= 10; ++col)
      bottom += static_cast<char>(console::CellChar(screen, col, 3));
    EXPECT_EQ(bottom, c.bottom) << c.text;
  }
}

TEST(ScreenBufferTest, ClearingTellsWhatChanged) {
  console::ScreenBuffer screen = console::MakeScreenBuffer(10, 3, 0x07, kNotices);
  console::PlaceCursor(screen, 5, 2);
  said.clear();
  console::ClearToRowEnd(screen, 0x1F);
  console::ClearRegion(screen, 0x1F);
  EXPECT_EQ(said, "r1:4-10 a ");
  EXPECT_EQ(console::CellAttribute(screen, 1, 1), 0x1F);
  EXPECT_EQ(console::CellChar(screen, 11, 1), ' ');  // outside: a blank
}

}  // namespace
