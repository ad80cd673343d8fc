// TIRLA: the console on a braille display: what is shown and where its cursor is, and what
// each key of the display turns into.
#include "console/braille_output.h"
#include "fixture.h"
#include "platform/louis/braille_louis.h"
#include "platform/memory/braille_memory.h"
#include "platform/profile.h"

namespace console_test {
namespace {

using Kind = platform::BrailleKeyKind;

class BrailleOutputTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    platform::ResetMemoryBraille();
    console::UseBrailleDisplay(&platform::MemoryBrailleDisplay());
  }
  void TearDown() override {
    console::UseBrailleDisplay(nullptr);
    ConsoleTest::TearDown();
  }
  static platform::MemoryBrailleState& Display() { return platform::MemoryBraille(); }
  // Pumps, so that the display's keys are served and what changed is written.
  static void Pump() { console::PumpThreadMessages(); }
};

TEST_F(BrailleOutputTest, ShowsTheLineUnderTheCursorOrTheTextNamed) {
  console::OpenConsole();
  console::ConsoleWrite("Bom dia");
  Pump();
  EXPECT_EQ(Display().text, "Bom dia");
  EXPECT_EQ(Display().cursor, 7);
  EXPECT_FALSE(Display().own_terminal);  // the memory backend is a window

  // cp1252 goes out as UTF-8; a cursor past a long text's first window scrolls by whole windows
  struct Case {
    std::string text;
    int caret;
    std::string shown;
    int cursor;
  };
  const Case cases[] = {
      {"a\xE7\xE3o", 2, "a\xC3\xA7\xC3\xA3o", 2},
      {"0123456789abcdefghijKLMNO", 22, "KLMNO", 2},
      {"0123456789abcdefghij", 20, "", 0},          // the cell after the last character
      {"fim\t  ", -1, "fim", -1},                   // control bytes blank, no cursor
  };
  for (const Case& c : cases) {
    console::ShowBrailleText(c.text, c.caret);
    EXPECT_EQ(Display().text, c.shown) << c.text;
    EXPECT_EQ(Display().cursor, c.cursor) << c.text;
  }
  const int writes = Display().writes;
  console::ShowBrailleText("fim", -1);
  EXPECT_EQ(Display().writes, writes);  // nothing changed, nothing written

  console::FollowCursorInBraille();
  console::ConsoleWrite("!");
  Pump();
  EXPECT_EQ(Display().text, "Bom dia!");

  // a window out of focus gives the display back, and takes it again with the focus
  platform::PushEvent({.kind = platform::EventKind::kFocusLost});
  Pump();
  EXPECT_FALSE(Display().open);
  console::ConsoleWrite("?");
  Pump();
  platform::PushEvent({.kind = platform::EventKind::kFocusGained});
  Pump();
  EXPECT_TRUE(Display().open);
  EXPECT_EQ(Display().text, "Bom dia!?");
}

TEST_F(BrailleOutputTest, KeysBecomeConsoleKeys) {
  console::OpenConsole();
  console::ConsoleWrite("linha");
  Pump();
  platform::PushBrailleKey(Kind::kLineUp);
  platform::PushBrailleKey(Kind::kLineDown);
  platform::PushBrailleKey(Kind::kRoute, 3);
  platform::PushBrailleKey(Kind::kDots, 0x0B);  // dots 1 2 4
  platform::PushBrailleKey(Kind::kDots, 0x40);  // dot 7 alone
  platform::PushBrailleKey(Kind::kDots, 0x80);  // dot 8 alone
  platform::PushBrailleKey(Kind::kDots, 0);     // the space bar
  platform::PushBrailleKey(Kind::kCharacter, 0xE7);
  EXPECT_EQ(DrainKeys(), Bytes({0, 72, 0, 80, 0, console::kBrailleRouteCode, 'f', 8, 13, ' ',
                                0xE7}));
  EXPECT_EQ(console::BrailleRoutedPosition(), 3);
}

TEST_F(BrailleOutputTest, PanningMovesTheWindowAndRoutesWithinIt) {
  console::OpenConsole();
  console::ShowBrailleText("0123456789abcdefghijKLMNO", 0);
  Video().sounds.clear();
  platform::PushBrailleKey(Kind::kPanRight);
  Pump();
  EXPECT_EQ(Display().text, "KLMNO");
  EXPECT_EQ(Display().cursor, -1);  // the cursor is in the window to the left
  platform::PushBrailleKey(Kind::kRoute, 1);
  platform::PushBrailleKey(Kind::kPanRight);  // nothing further: a low tone
  platform::PushBrailleKey(Kind::kLineUp);    // one line only: a low tone, no key
  Pump();
  EXPECT_EQ(console::BrailleRoutedPosition(), 21);
  EXPECT_EQ(DrainKeys(), Bytes({0, console::kBrailleRouteCode}));
  ASSERT_EQ(Video().sounds.size(), 3u);
  EXPECT_NE(Video().sounds[0].image, Video().sounds[1].image);
  EXPECT_EQ(Video().sounds[1].image, Video().sounds[2].image);
  EXPECT_FALSE(Video().sounds[0].loop);
  platform::PushBrailleKey(Kind::kPanLeft);
  Pump();
  EXPECT_EQ(Display().text, "0123456789abcdefghij");
  EXPECT_EQ(Display().cursor, 0);
}

TEST_F(BrailleOutputTest, OffAbsentOrLostIsQuietUnlessAsked) {
  struct Case {
    const char* ini;
    bool absent;
    int opens;
    bool told;
  };
  const Case cases[] = {
      {"[BRAILLE]\nLINHA=0\n", false, 0, false},
      {"[BRAILLE]\nLINHA=1\n", true, 0, false},
      {"[BRAILLE]\nLINHA=2\n", true, 0, true},
      {"[BRAILLE]\nLINHA=9\n", false, 1, true},  // out of range: reported, the default used
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    WriteIni(c.ini);
    platform::StartProfile();
    console::StartBrailleOutput();
    platform::ResetMemoryBraille();
    Display().absent = c.absent;
    support::KeptReports reports;
    console::ShowBrailleText("x", 0);
    console::ShowBrailleText("y", 0);  // a second try within the wait stays quiet
    EXPECT_EQ(Display().opens, c.opens);
    EXPECT_EQ(reports.texts().size(), c.told ? 1u : 0u) << reports.Joined();
  }
  // a display that goes away is closed and not written to again until it is sought anew
  Display().lose = true;
  console::ShowBrailleText("z", 0);
  EXPECT_FALSE(Display().open);
  Display().lose = false;
  console::ShowBrailleText("w", 0);
  EXPECT_EQ(Display().opens, 1);
}

TEST_F(BrailleOutputTest, ABrailleTableContractsAndTheCursorFollowsItsCharacter) {
  console::UseBrailleTranslator(&platform::LouisBrailleTranslator());
  WriteIni("[BRAILLE]\nTABELA=pt-pt-g2.ctb\n");
  console::StartBrailleOutput();
  console::OpenConsole();
  console::ShowBrailleText("que coisa para mim", 4);  // the cursor on the c of "coisa"
  const std::string dots = Display().dots;
  ASSERT_FALSE(dots.empty());
  EXPECT_LT(dots.size(), 18u);         // contracted: fewer cells than characters
  EXPECT_EQ(dots[0] & 0xFF, 0x1F);     // "que" is one cell, dots 1 2 3 4 5
  ASSERT_GE(Display().cursor, 1);
  platform::PushBrailleKey(Kind::kRoute, Display().cursor);
  Pump();
  EXPECT_EQ(console::BrailleRoutedPosition(), 4);
  platform::PushBrailleKey(Kind::kRoute, 19);  // past the end: after the last character
  Pump();
  EXPECT_EQ(console::BrailleRoutedPosition(), 18);
  DrainKeys();

  // a table that cannot be used is told once, and computer braille takes over
  support::KeptReports reports;
  WriteIni("[BRAILLE]\nTABELA=nenhuma.ctb\n");
  console::StartBrailleOutput();
  console::ShowBrailleText("que", 0);
  console::ShowBrailleText("quem", 0);
  EXPECT_EQ(reports.texts().size(), 1u) << reports.Joined();
  EXPECT_EQ(Display().text, "quem");
  console::UseBrailleTranslator(nullptr);
}

}  // namespace
}  // namespace console_test
