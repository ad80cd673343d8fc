// TIRLA: key codes, the key queue, line reading, the caret, clipboard and program end by key.
#include <ctime>

#include "fixture.h"

namespace console_test {
namespace {

using platform::kModAlt;
using platform::kModCtrl;
using platform::kModShift;
namespace vk = platform::vk;

TEST_F(ConsoleTest, BurstOf70KeysKeepsTheFirst64) {
  std::string typed;
  for (int i = 0; i < 70; ++i) typed += static_cast<char>('a' + i % 26);
  for (const char c : typed) platform::PushChar(static_cast<unsigned char>(c));
  EXPECT_TRUE(console::KeyWaiting());
  EXPECT_EQ(console::KeyQueueCount(), 64);
  EXPECT_EQ(DrainKeys(), typed.substr(0, 64));
}

TEST_F(ConsoleTest, ExtendedKeysGiveZeroAndTheirCode) {
  struct Case {
    int vk;
    unsigned modifiers;
    int code;
  };
  const Case cases[] = {
      {vk::kF1, 0, 59},          {vk::kF1, kModCtrl, 94},     {vk::kF12, 0, 70},
      {vk::kF12, kModCtrl, 105}, {vk::kInsert, 0, 82},        {vk::kInsert, kModShift, 254},
      {vk::kInsert, kModCtrl, 255}, {vk::kDelete, kModShift, 83}, {vk::kHome, kModCtrl, 119},
      {vk::kPrior, 0, 73},       {vk::kPrior, kModCtrl, 132}, {vk::kNext, kModCtrl, 118},
      {vk::kUp, 0, 72},          {vk::kDown, kModShift, 80},  {vk::kLeft, kModAlt, 75},
      {vk::kRight, kModAlt, 77}, {vk::kEnd, 0, 79},
  };
  for (const Case& c : cases) {
    platform::PushKeyDown(c.vk, c.modifiers);
    EXPECT_EQ(DrainKeys(), Bytes({0, c.code})) << "vk " << c.vk << " mods " << c.modifiers;
  }
}

// Keys that stand in for ones the system keeps say so at their first use in a run, once each.
TEST_F(ConsoleTest, AStandInKeySaysOnceWhichKeptKeyItReplaces) {
  support::KeptReports reports;
  const struct {
    int vk;
    unsigned modifiers;
    const char* told;  // null: nothing said
  } presses[] = {
      {vk::kF1 + 8, kModCtrl | kModShift | kModAlt, "Ctrl+Shift+Alt+F9 faz o papel de Ctrl+Alt+F9"},
      {vk::kF1 + 8, kModCtrl | kModShift | kModAlt, nullptr},  // told already
      {vk::kF1 + 8, kModCtrl | kModAlt | platform::kModStandIn, "Alt+9 faz o papel"},
      {vk::kF12, kModCtrl | kModAlt | platform::kModStandIn, "Alt+= faz o papel"},
      {vk::kF1 + 8, kModCtrl | kModAlt, nullptr},  // the kept key itself, where it arrives
      {vk::kF1 + 8, kModCtrl, nullptr},
  };
  for (const auto& press : presses) {
    reports.Clear();
    platform::PushKeyDown(press.vk, press.modifiers);
    while (console::KeyWaiting()) console::ReadKeyCode();
    if (press.told)
      EXPECT_TRUE(reports.Mention(press.told)) << reports.Joined();
    else
      EXPECT_TRUE(reports.texts().empty()) << reports.Joined();
  }
}

TEST_F(ConsoleTest, EachKeyKeepsTheModifiersItWasTypedWith) {
  // Typed ahead: Shift+Right, a plain 'a', Ctrl+Shift+Alt+F9 (which X lets through), Shift+Tab.
  platform::PushKeyDown(vk::kRight, kModShift);
  platform::PushChar('a');
  platform::PushKeyDown(vk::kF1 + 8, kModCtrl | kModShift | kModAlt);
  platform::PushKeyDown(vk::kTab, kModShift);
  platform::PushChar(9, kModShift);
  const struct {
    int code;
    unsigned modifiers;
  } expected[] = {{0, kModShift}, {77, kModShift}, {'a', 0}, {0, kModCtrl | kModShift | kModAlt},
                  {102, kModCtrl | kModShift | kModAlt}, {0, kModShift}, {15, kModShift}};
  for (const auto& key : expected) {
    ASSERT_TRUE(console::KeyWaiting());
    EXPECT_EQ(console::ReadKeyCode(), key.code);
    EXPECT_EQ(console::KeyModifiers(), key.modifiers) << key.code;
  }
  EXPECT_FALSE(console::KeyWaiting());  // Shift+Tab gave no character 9
}

TEST_F(ConsoleTest, SystemKeysOtherThanAltArrowsGoToTheDefaultHandling) {
  platform::PushKeyDown(vk::kF10);
  platform::PushKeyDown('A', kModAlt);
  platform::PushKeyDown(vk::kUp, kModAlt);
  platform::PushKeyDown(vk::kF10, kModCtrl);  // not a system key
  EXPECT_EQ(DrainKeys(), Bytes({0, 103}));
}

TEST_F(ConsoleTest, CtrlEnterCtrlBackspaceAndCharacters) {
  platform::PushChar(13, kModCtrl);
  platform::PushChar(8, kModCtrl);
  platform::PushChar(13);
  platform::PushChar(8);
  platform::PushChar(27);
  platform::PushChar(1, kModCtrl);
  platform::PushChar(0xE7);  // ç
  EXPECT_EQ(DrainKeys(), Bytes({10, 127, 13, 8, 27, 1, 0xE7}));
}

TEST_F(ConsoleTest, CtrlAltWithLettersAndDigitsGivesAltCodes) {
  platform::PushKeyDown('A', kModCtrl | kModAlt);
  platform::PushKeyDown('Z', kModCtrl | kModAlt);
  platform::PushKeyDown('0', kModCtrl | kModAlt);
  platform::PushKeyDown('9', kModCtrl | kModAlt);
  EXPECT_EQ(DrainKeys(), Bytes({0, 30, 0, 44, 0, 129, 0, 128}));
}

TEST_F(ConsoleTest, ExtendedKeysNeedRoomForBothBytes) {
  for (int i = 0; i < 63; ++i) platform::PushChar('x');
  platform::PushKeyDown(vk::kF1);
  platform::PushKeyDown('A', kModCtrl | kModAlt);
  platform::PushChar('y');
  console::KeyWaiting();
  EXPECT_EQ(console::KeyQueueCount(), 64);
  EXPECT_EQ(DrainKeys(), std::string(63, 'x') + "y");
}

TEST_F(ConsoleTest, CtrlBreakAndQuitEndTheProgramWithCode255) {
  platform::PushKeyDown(vk::kCancel, kModCtrl);
  EXPECT_EQ(ExitCodeOf([] { console::KeyWaiting(); }), 255);

  console::StartConsole();
  platform::ResetMemoryVideo();
  platform::VideoEvent quit;
  quit.kind = platform::EventKind::kQuit;
  platform::PushEvent(quit);
  console::OpenConsole();
  EXPECT_EQ(ExitCodeOf([] { console::Pause(1); }), 255);
}

TEST_F(ConsoleTest, ReadConsoleLineTakesArrowCodesAsCharacters) {
  platform::PushKeyDown(vk::kUp);  // 0 is ignored, 72 is 'H'
  platform::PushTyped("i\r");
  char buffer[128];
  const uint16_t count = console::ReadConsoleLine(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, count), "Hi\r\n");
  EXPECT_EQ(ScreenRow(1).substr(0, 3), "Hi ");
  EXPECT_EQ(console::CursorRow(), 2);
}

TEST_F(ConsoleTest, ReadConsoleLineStopsAtSizeMinusTwoButKeepsEditing) {
  platform::PushTyped("abcdef");
  platform::PushChar(8);
  platform::PushTyped("Z\r");
  char buffer[8] = {};
  const uint16_t count = console::ReadConsoleLine(buffer, 5);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(std::string(buffer, count), "abZ\r\n");
  EXPECT_EQ(buffer[5], 0);  // nothing written past the given size
  EXPECT_EQ(ScreenRow(1).substr(0, 4), "abZ ");

  platform::PushTyped("\b\bq\r");  // Backspace on an empty line does nothing
  EXPECT_EQ(console::ReadConsoleLine(buffer, 5), 3);
  EXPECT_EQ(buffer[0], 'q');
}

TEST_F(ConsoleTest, ReadConsoleLineWithNoRoomReadsNothing) {
  char buffer[1] = {'u'};
  EXPECT_EQ(console::ReadConsoleLine(buffer, 1), 0);
  EXPECT_EQ(console::ReadConsoleLine(buffer, 0), 0);
  EXPECT_EQ(buffer[0], 'u');
}

TEST_F(ConsoleTest, CaretShowsOnlyWhileWaitingInAFocusedWindow) {
  platform::PushEvent({platform::EventKind::kFocusGained});
  console::ConsoleWrite("ab");
  bool caret_while_waiting = false;
  int caret_column = -1;
  Video().on_wait = [&] {
    caret_while_waiting = Video().caret;
    caret_column = Video().caret_column;
    platform::PushChar('k');
  };
  EXPECT_EQ(console::ReadKeyCode(), 'k');
  EXPECT_TRUE(caret_while_waiting);
  EXPECT_EQ(caret_column, 2);  // at the cursor column
  EXPECT_FALSE(Video().caret);

  platform::PushEvent({platform::EventKind::kFocusLost});
  console::KeyWaiting();
  caret_while_waiting = true;
  EXPECT_EQ(console::ReadKeyCode(), 'k');
  EXPECT_FALSE(caret_while_waiting);
}

TEST_F(ConsoleTest, ReadKeyCodeWakesForKeysAfterPostedMessages) {
  int waits = 0;
  Video().on_wait = [&] {
    if (++waits == 1)
      platform::PostMessage(platform::kWakeUpStop);
    else
      platform::PushChar('w');
  };
  EXPECT_EQ(console::ReadKeyCode(), 'w');
  EXPECT_EQ(waits, 2);
}

TEST_F(ConsoleTest, ClipboardRoundTripAndCutting) {
  console::CopyToClipboard("texto copiado");
  char buffer[64];
  console::PasteFromClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "texto copiado");

  console::CopyToClipboard("01234567890123456789");
  char small[10];
  console::PasteFromClipboard(small, sizeof small);
  EXPECT_STREQ(small, "012345678");

  char one[1] = {'x'};
  console::PasteFromClipboard(one, 1);
  EXPECT_EQ(one[0], 0);
}

TEST_F(ConsoleTest, ClipboardFailuresLeaveTheBufferAsItWas) {
  char buffer[8] = "antes";
  console::PasteFromClipboard(buffer, sizeof buffer);  // empty clipboard: no text
  EXPECT_EQ(buffer[0], 0);

  strcpy(buffer, "antes");
  console::PasteFromClipboard(buffer, 0);
  console::PasteFromClipboard(buffer, -3);
  Video().clipboard_fails = true;
  console::CopyToClipboard("perdido");
  console::PasteFromClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "antes");
  Video().clipboard_fails = false;
  EXPECT_FALSE(Video().clipboard_has_text);
}

TEST_F(ConsoleTest, DateAndTimePartsAgreeWithTheClock) {
  uint16_t year, month, day, weekday, hour, minute, second, hundredths;
  std::time_t before, after;
  do {  // read again when the clock turned a second (or a day) between the readings
    before = std::time(nullptr);
    console::GetDateParts(year, month, day, weekday);
    console::GetTimeParts(hour, minute, second, hundredths);
    after = std::time(nullptr);
  } while (before != after);
  std::tm now{};
  localtime_r(&before, &now);
  EXPECT_EQ(year, now.tm_year + 1900);
  EXPECT_EQ(month, now.tm_mon + 1);
  EXPECT_EQ(day, now.tm_mday);
  EXPECT_EQ(weekday, now.tm_wday);
  EXPECT_EQ(hour, now.tm_hour);
  EXPECT_EQ(minute, now.tm_min);
  EXPECT_EQ(second, now.tm_sec);
  EXPECT_LE(hundredths, 99);
}

}  // namespace
}  // namespace console_test
