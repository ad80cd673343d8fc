// TIRLA: screen review, key script by key script: where the review cursor stands before the
// closing Escape and what was heard between the entry beep and the two closing ones.
#include <string>
#include <vector>

#include "console/braille_output.h"
#include "frontend_fixture.h"

namespace {

using Sounds = std::vector<std::string>;

class ReviewTest : public frontend_test::FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    PutAt(1, 1, "12 ===== pqr");
    PutAt(1, 3, "pqrs", 0x1F);  // three fields by colour
    PutAt(7, 3, "12", 0x2F);
    PutAt(1, 4, "ab:cd");  // and two by a separator
    PutAt(3, 6, "dia");
    PutAt(1, rows_, "xyz");
    Played();
  }

  struct Case {
    int column, row;  // the console cursor at entry
    const char* keys;  // ends with Escape
    int endColumn, endRow;
    Sounds played;
  };

  void Check(const Case& c) {
    SCOPED_TRACE(c.keys);
    console::MoveCursor(c.column, c.row);
    Keys(c.keys);
    frontend::ReviewScreen();
    ASSERT_FALSE(snapshots_.empty());
    EXPECT_EQ(snapshots_.back().column, c.endColumn);
    EXPECT_EQ(snapshots_.back().cursorRow, c.endRow);
    Sounds played = Played();
    ASSERT_GE(played.size(), 3u);
    EXPECT_EQ(played.front(), "beep");
    EXPECT_EQ(Sounds(played.end() - 2, played.end()), (Sounds{"beep", "beep"}));
    EXPECT_EQ(Sounds(played.begin() + 1, played.end() - 2), c.played);
    // The console cursor is back where it was.
    EXPECT_EQ(console::CursorColumn(), c.column);
    EXPECT_EQ(console::CursorRow(), c.row);
  }
};

// The display shows the review cursor's row; its routing key moves the cursor there.
TEST_F(ReviewTest, BrailleDisplayRowAndRoutingKey) {
  platform::ResetMemoryBraille();
  console::UseBrailleDisplay(&platform::MemoryBrailleDisplay());
  console::MoveCursor(1, 1);
  console::FollowCursorInBraille();  // the display is taken, so that its keys are heard
  Check({1, 1, "{Route10}{Esc}", 11, 1, {"113"}});
  EXPECT_EQ(platform::MemoryBraille().text, "12 ===== pqr");
  console::UseBrailleDisplay(nullptr);
}

TEST_F(ReviewTest, Keys) {
  const Sounds row1 = {"doze", "61", "61", "61", "112", "113", "114", "click"};
  Sounds row1AndClick = row1;
  row1AndClick.insert(row1AndClick.begin(), "click");
  const Case cases[] = {
      {1, 1, "{Enter}{Esc}", 1, 2, {"click"}},
      {5, 1, " {Esc}", 5, 1, row1},  // the row read, the position kept
      {5, 2, "tl{Esc}", 5, 2, {"click"}},
      {5, 2, "TL{Esc}", 5, 2, {"click"}},
      {1, 1, "{Right}{Right}{Left}{Back}{Esc}", 1, 1, {"49", "50", "50", "49"}},
      {1, 1, "{Left}{Esc}", 1, 1, {"beep", "beep"}},
      {1, 1, "{Up}{Esc}", 1, 1, {"beep"}},
      {1, 1, "{Down}{Esc}", 1, 2, {"click", "click"}},
      {1, 24, "{Down}{Down}{Esc}", 1, 25, {"click", "120", "121", "122", "click", "click", "beep"}},
      {1, 1, "{End}{Esc}", 13, 1, {}},
      {9, 1, "{Home}{Esc}", 1, 1, {}},
      {5, 10, "{PgUp}{Esc}", 1, 1, row1},
      {1, 1, "{C-Right}{C-Right}{C-Right}{Esc}", 13, 1, {"click", "click", "beep"}},
      {10, 1, "{C-Left}{C-Left}{Esc}", 1, 1, {"click", "beep"}},
      {1, 10, "{C-PgUp}{Esc}", 10, 1, row1},
      {1, 1, "{C-PgDn}{Esc}", 3, 25, {"120", "121", "122", "click"}},
      // a line of equal signs is said as three and skipped whole
      {4, 1, "{F1}{Esc}", 9, 1, {"61", "61", "61"}},
      {11, 1, "{F1}{Esc}", 13, 1, {"113", "114"}},
      // fields: by colour and by separator
      {2, 3, "{Tab}{Esc}", 6, 3, {"click"}},
      {8, 3, "{S-Tab}{Esc}", 5, 3, {"click"}},
      {1, 4, "{Tab}{Esc}", 4, 4, {"click"}},
      {8, 3, "tc{Esc}", 8, 3, {"doze", "click"}},
      {8, 3, "ic{Esc}", 8, 3, {"doze", "click"}},
      {8, 3, "{C-F1}{Esc}", 8, 3, {"doze", "click"}},
      {1, 1, "it{Esc}", 1, 1, {"beep"}},
      {4, 1, "il{Esc}", 4, 1, {"doze", "click"}},
      {10, 1, "fl{Esc}", 10, 1, {"112", "113", "114", "click"}},
      {1, 24, "ft{Esc}", 4, 25, {"click", "120", "121", "122", "click"}},
      {1, 24, "lt|{Esc}", 1, 24, {}},  // a key typed meanwhile stops the reading at once
      // go to a row and column
      {1, 1, "{F6}0510{Esc}", 10, 5, {"~", "48", "53", "49", "48"}},
      {1, 1, "{F6}0x{Esc}", 1, 1, {"~", "48", "beep", "beep"}},
      {1, 1, "{F6}9999{Esc}", 80, 25, {"~", "57", "57", "57", "57", "beep", "beep"}},
      {10, 5, "{C-k}{Esc}", 10, 5, {"cinco", "dez"}},
      // search from the review row down, after the review column on its own row
      {1, 1, "{F5}dia{Enter}{Esc}", 3, 6, {"~", "100", "105", "97", "click"}},
      {3, 6, "{C-F5}{Esc}", 3, 6, {"beep", "beep"}},
      {1, 7, "{F5}dx{Back}ia{Enter}{Esc}", 1, 7,
       {"~", "100", "120", "DEL", "120", "105", "97", "beep", "beep"}},
      {1, 1, "{F5}di{Esc}{C-F5}{Esc}", 3, 6, {"~", "100", "105", "click"}},
      // unknown keys and pairs
      {1, 1, "{F9}{Esc}", 1, 1, {"beep", "click", "beep"}},
      {1, 1, "xq{Esc}", 1, 1, {"beep", "click", "beep"}},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(ReviewTest, ASearchLongerThanARowFindsNothing) {
  PutAt(1, 8, std::string(80, 'k'));
  PutAt(1, 9, std::string(80, 'k'));
  console::MoveCursor(1, 1);
  Keys("{F5}" + std::string(90, 'k') + "{Enter}{Esc}");
  frontend::ReviewScreen();
  const Sounds played = Played();
  ASSERT_GE(played.size(), 4u);
  EXPECT_EQ(Sounds(played.end() - 4, played.end()), (Sounds{"beep", "beep", "beep", "beep"}));
  EXPECT_EQ(snapshots_.back().cursorRow, 1);
}

// Escape and keys typed after it while review still reads: the two closing beeps are heard
// whole, and the keys wait for what comes next instead of being dropped.
TEST_F(ReviewTest, LeavingWhileReadingStillGivesTwoBeepsAndKeepsTheKeysTypedAhead) {
  console::MoveCursor(1, 1);
  Keys("tt|{Esc}|x|y");  // typed together, while the screen is read
  frontend::ReviewScreen();
  const Sounds played = Played();
  ASSERT_GE(played.size(), 3u);
  EXPECT_EQ(Sounds(played.end() - 2, played.end()), (Sounds{"beep", "beep"}));
  EXPECT_EQ(console::ReadKeyCode(), 'x');
  EXPECT_EQ(console::ReadKeyCode(), 'y');
}

class BigScreenReviewTest : public frontend_test::FrontEndTest {
 protected:
  BigScreenReviewTest() { rows_ = 60; }
};

TEST_F(BigScreenReviewTest, CopyTakesEveryRowOfTheScreen) {
  std::string expected;
  for (int row = 1; row <= 60; ++row) {
    const std::string text = "linha " + std::to_string(row);
    PutAt(1, row, text);
    expected += text + std::string(80 - text.size(), ' ') + "\r\n";
  }
  console::MoveCursor(1, 1);
  Keys("{PgDn}{C-c}{Esc}");
  frontend::ReviewScreen();
  EXPECT_EQ(platform::MemoryVideo().clipboard, expected);
  EXPECT_EQ(snapshots_.back().cursorRow, 60);
}

}  // namespace
