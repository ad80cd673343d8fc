// TIRLA: console output: wrapping, control bytes, scrolling, colours, painting and program end.
#include <chrono>
#include <climits>
#include <istream>
#include <ostream>
#include <thread>

#include "fixture.h"

namespace console_test {
namespace {

using console::ConsoleWrite;
using console::CursorColumn;
using console::CursorRow;
using console::ScreenAttribute;
using console::ScreenChar;

constexpr platform::Rgb kBlack{0, 0, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0},
    kWhite{255, 255, 255}, kRed{255, 0, 0};

TEST_F(ConsoleTest, WrapHappensOnlyWhenTheEightyFirstCharacterArrives) {
  ConsoleWrite(std::string(80, 'x'));
  EXPECT_EQ(CursorColumn(), 81);
  EXPECT_EQ(CursorRow(), 1);
  ConsoleWrite("y");
  EXPECT_EQ(CursorRow(), 2);
  EXPECT_EQ(CursorColumn(), 2);
  EXPECT_EQ(ScreenChar(80, 1), 'x');
  EXPECT_EQ(ScreenChar(1, 2), 'y');
  EXPECT_EQ(platform::MemoryRowText(1).substr(0, 1), "y");  // drawn, not only stored
}

TEST_F(ConsoleTest, LineEndsAtColumn81AndLineFeedAlone) {
  ConsoleWrite(std::string(80, 'x') + "\r\nz");
  EXPECT_EQ(CursorRow(), 2);  // no empty row in between
  EXPECT_EQ(ScreenChar(1, 2), 'z');
  ConsoleWrite("abc\n");
  EXPECT_EQ(CursorRow(), 3);
  EXPECT_EQ(CursorColumn(), 1);  // LF alone also returns to column 1
  ConsoleWrite("def\rX");
  EXPECT_EQ(ScreenRow(3).substr(0, 3), "Xef");
}

TEST_F(ConsoleTest, BackspaceRubsOutWithTheCurrentAttribute) {
  ConsoleWrite("\b");
  EXPECT_EQ(CursorColumn(), 1);
  ConsoleWrite("ab");
  console::SetTextAttribute(0x4E);
  ConsoleWrite("\b");
  EXPECT_EQ(CursorColumn(), 2);
  EXPECT_EQ(ScreenChar(2, 1), ' ');
  EXPECT_EQ(ScreenAttribute(2, 1), 0x4E);
  EXPECT_EQ(ScreenAttribute(1, 1), 0x0F);
  EXPECT_EQ(Video().cells[1].back, kRed);  // the blanked cell was drawn again
}

TEST_F(ConsoleTest, EveryByteHasDefinedBehaviour) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  ConsoleWrite(all);
  // 0..31 other than 7, 8, 10, 13 are dropped (TAB included); 32..255 are 224 printed bytes.
  EXPECT_EQ(Video().beeps, 1);
  EXPECT_EQ(ScreenRow(2).substr(0, 80), all.substr(32, 80));
  EXPECT_EQ(ScreenRow(3).substr(0, 80), all.substr(112, 80));
  EXPECT_EQ(ScreenRow(4).substr(0, 64), all.substr(192, 64));
  EXPECT_EQ(CursorRow(), 4);
  EXPECT_EQ(CursorColumn(), 65);
  ConsoleWrite("\t");
  EXPECT_EQ(CursorColumn(), 65);
}

TEST_F(ConsoleTest, ScrollingTakesTheCurrentAttributeForTheNewRow) {
  for (int r = 1; r <= 25; ++r) ConsoleWrite(std::to_string(r) + (r < 25 ? "\r\n" : ""));
  EXPECT_EQ(CursorRow(), 25);
  console::SetBackground(1);
  ConsoleWrite("\r\n");
  EXPECT_EQ(CursorRow(), 25);
  EXPECT_EQ(ScreenChar(1, 1), '2');
  EXPECT_EQ(ScreenChar(1, 24), '2');
  EXPECT_EQ(ScreenChar(2, 24), '5');
  EXPECT_EQ(ScreenAttribute(40, 25), 0x1F);
  EXPECT_EQ(ScreenChar(40, 25), ' ');
  EXPECT_EQ(Video().cells[24 * 80 + 40].back, kBlue);  // repainted, blue background
  EXPECT_EQ(platform::MemoryRowText(0).substr(0, 2), "2 ");
  EXPECT_EQ(Video().smooth_scrolls, 0);
}

TEST_F(ConsoleTest, SlowScrollMovesPixelsOnlyWhenAllowed) {
  WriteIni("[VIDEO]\nLENTO=s\n");
  Video().can_scroll_smoothly = true;
  ConsoleWrite(std::string(24, '\n') + "fim");
  ConsoleWrite("\n");
  EXPECT_EQ(Video().smooth_scrolls, 1);
  EXPECT_EQ(platform::MemoryRowText(23).substr(0, 3), "fim");
  EXPECT_EQ(Video().cells[24 * 80].back, kBlack);
  Video().can_scroll_smoothly = false;
  ConsoleWrite("\n");
  EXPECT_EQ(Video().smooth_scrolls, 1);
  EXPECT_EQ(platform::MemoryRowText(22).substr(0, 3), "fim");
}

TEST_F(ConsoleTest, ThreeRowScreenScrollsAfterTheThirdRow) {
  console::SetScreenSize({.Columns = 80, .Rows = 3});
  ConsoleWrite("a\nb\nc");
  EXPECT_EQ(Video().rows, 3);
  EXPECT_EQ(console::TextRegion().Bottom, 2);
  EXPECT_EQ(ScreenChar(1, 1), 'a');
  ConsoleWrite("\nd");
  EXPECT_EQ(ScreenChar(1, 1), 'b');
  EXPECT_EQ(ScreenChar(1, 3), 'd');
  EXPECT_EQ(CursorRow(), 3);
}

TEST_F(ConsoleTest, ImpossibleScreenSizesAreKeptUsable) {
  console::SetScreenSize({.Columns = -5, .Rows = 0});
  ConsoleWrite("ab\ncd");
  EXPECT_EQ(console::ScreenSize().Rows, 1);
  EXPECT_EQ(console::ScreenSize().Columns, 1);
  EXPECT_EQ(ScreenChar(1, 1), 'd');
}

TEST_F(ConsoleTest, ScreenSizeIsFixedOnceTheWindowExists) {
  console::OpenConsole();
  console::SetScreenSize({.Columns = 200, .Rows = 2});
  ConsoleWrite(std::string(100, 'w') + std::string(30, '\n') + "fim");
  EXPECT_EQ(console::ScreenSize().Columns, 80);
  EXPECT_EQ(console::ScreenSize().Rows, 25);
  EXPECT_EQ(CursorRow(), 25);
  EXPECT_EQ(ScreenChar(3, 25), 'm');
}

TEST_F(ConsoleTest, MoveCursorIsClampedIntoTheRegion) {
  console::OpenConsole();
  console::MoveCursor(0, 0);
  EXPECT_EQ(CursorColumn(), 1);
  EXPECT_EQ(CursorRow(), 1);
  console::MoveCursor(200, 200);
  EXPECT_EQ(CursorColumn(), 80);
  EXPECT_EQ(CursorRow(), 25);
  console::MoveCursor(INT_MIN, INT_MAX);
  EXPECT_EQ(CursorColumn(), 1);
  EXPECT_EQ(CursorRow(), 25);
  console::MoveCursor(10, 3);
  ConsoleWrite("q");
  EXPECT_EQ(ScreenChar(10, 3), 'q');
}

TEST_F(ConsoleTest, ClearOperationsUseTheCurrentAttribute) {
  ConsoleWrite("abcdef\nghi");
  console::MoveCursor(3, 1);
  console::SetTextAttribute(0x1E);
  console::ClearToLineEnd();
  EXPECT_EQ(ScreenRow(1).substr(0, 4), "ab  ");
  EXPECT_EQ(ScreenAttribute(2, 1), 0x0F);
  EXPECT_EQ(ScreenAttribute(80, 1), 0x1E);
  EXPECT_EQ(Video().cells[79].back, kBlue);
  EXPECT_EQ(ScreenChar(1, 2), 'g');
  console::ClearScreen();
  EXPECT_EQ(ScreenChar(1, 2), ' ');
  EXPECT_EQ(ScreenAttribute(1, 25), 0x1E);
  EXPECT_EQ(CursorColumn(), 1);
  EXPECT_EQ(CursorRow(), 1);
  EXPECT_EQ(Video().cells[24 * 80].back, kBlue);
}

TEST_F(ConsoleTest, SetBackgroundRespectsFixedColours) {
  console::SetBackground(4);
  EXPECT_EQ(console::TextAttribute(), 0x4F);
  console::SetBackground(0x12);  // kept to one byte
  EXPECT_EQ(console::TextAttribute(), 0x2F);

  console::StartConsole();
  WriteIni("[VIDEO]\nCORESFIXAS=Sim\n");
  console::SetBackground(4);
  EXPECT_EQ(console::TextAttribute(), 0x0F);
}

TEST_F(ConsoleTest, ConfiguredColoursReachThePaintedCells) {
  WriteIni("[VIDEO]\nCORFUNDO=1\nCORLETRA=14\n");
  ConsoleWrite("A");
  EXPECT_EQ(ScreenAttribute(1, 1), 0x1E);
  EXPECT_EQ(Video().cells[0].fore, kYellow);
  EXPECT_EQ(Video().cells[0].back, kBlue);
  EXPECT_EQ(Video().cells[79].back, kBlue);  // the whole screen starts blue
}

TEST_F(ConsoleTest, ColourTableEntriesAbove15DrawBlack) {
  WriteIni("[VIDEO]\nTABCORES=16,255,4\n");
  ConsoleWrite("x");
  console::SetTextAttribute(0x21);  // colour 1 on colour 2
  ConsoleWrite("y");
  EXPECT_EQ(Video().cells[0].fore, kWhite);  // 15 maps to itself
  EXPECT_EQ(Video().cells[0].back, kBlack);  // 0 maps to entry 16
  EXPECT_EQ(Video().cells[1].fore, kBlack);  // 1 maps to entry 255
  EXPECT_EQ(Video().cells[1].back, kRed);    // 2 maps to entry 4
}

TEST_F(ConsoleTest, RunsOfEqualAttributeAreDrawnTogether) {
  console::OpenConsole();
  const int before = Video().draw_calls;
  ConsoleWrite("aaaa");
  EXPECT_EQ(Video().draw_calls, before + 1);
  console::SetTextAttribute(0x1F);
  console::MoveCursor(3, 1);
  ConsoleWrite("b");
  console::SetTextAttribute(0x0F);
  Video().cells.assign(Video().cells.size(), platform::MemoryCell{'?'});
  const int painted = Video().draw_calls;
  console::DispatchWindowEvent(
      {.kind = platform::EventKind::kPaint, .column = 0, .row = 0, .column2 = 5, .row2 = 1});
  EXPECT_EQ(Video().draw_calls, painted + 3);  // "aa", "b", "a " : three runs
  EXPECT_EQ(platform::MemoryRowText(0).substr(0, 6), "aaba ?");
  EXPECT_EQ(platform::MemoryRowText(1).substr(0, 1), "?");
}

TEST_F(ConsoleTest, MagnifierFollowsTheRightButtonWithTheConfiguredFactor) {
  console::OpenConsole();
  platform::VideoEvent down{.kind = platform::EventKind::kRightDown, .x = 100, .y = 50};
  platform::VideoEvent move{.kind = platform::EventKind::kMouseMove, .x = 7, .y = 9};
  platform::VideoEvent up{.kind = platform::EventKind::kRightUp};
  for (const auto& event : {move, down, move, up, move}) console::DispatchWindowEvent(event);
  EXPECT_EQ(Video().magnified, (std::vector<std::vector<int>>{{100, 50, 2}, {7, 9, 2}}));
  EXPECT_FALSE(Video().snapshot);

  for (const char* factor : {"0", "8"}) {
    console::StartConsole();
    platform::ResetMemoryVideo();
    WriteIni(std::string("[VIDEO]\nAMPLIF=") + factor + "\n");
    console::OpenConsole();
    console::DispatchWindowEvent(down);
    EXPECT_EQ(Video().magnified, (std::vector<std::vector<int>>{{100, 50, 0}})) << factor;
  }
}

TEST(MagnifiedPartTest, KeepsThePointerPointAndNeverDividesByZero) {
  struct Case {
    int x, y, factor;
    platform::PixelRect part;
  };
  const Case cases[] = {
      {100, 50, 2, {50, 25, 320, 200}},
      {100, 50, 0, {0, 0, 640, 400}},  // factor 0 shows the picture unmagnified
      {100, 50, -3, {0, 0, 640, 400}},
      {70000, -5, 4, {65535 - 16383, 0, 160, 100}},  // the pointer kept within 0..65535
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::MagnifiedPart(c.x, c.y, c.factor, 640, 400), c.part)
        << c.x << " " << c.factor;
}

TEST_F(ConsoleTest, MissingTablesAndEntriesAreHarmless) {
  // Only the test host (so the program end can be seen): no display at all, then the memory
  // display without a magnifier, clipboard or tones.
  static const platform::VideoDriver kNoDisplay = {.host = platform::MemoryVideoDriver().host};
  static const platform::VideoDriver kDisplayOnly = {.display = &platform::MemoryDisplay(),
                                                     .host = platform::MemoryVideoDriver().host};
  for (const platform::VideoDriver* driver : {&kNoDisplay, &kDisplayOnly}) {
    console::StartConsole();
    platform::ResetMemoryVideo();
    console::UseVideoDriver(*driver);
    ConsoleWrite("a\a\r\n");
    EXPECT_EQ(ScreenChar(1, 1), 'a');
    console::DispatchWindowEvent({.kind = platform::EventKind::kRightDown, .x = 3, .y = 4});
    console::StartTone(440);
    console::CopyToClipboard("x");
    char buffer[4] = "old";
    console::PasteFromClipboard(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "old");
    EXPECT_FALSE(console::KeyWaiting());
    EXPECT_EQ(platform::MemoryRowText(0).substr(0, 1), driver == &kNoDisplay ? "" : "a");
    EXPECT_TRUE(Video().magnified.empty() && Video().sounds.empty() && Video().beeps == 0);
    EXPECT_EQ(ExitCodeOf([] { console::EndProgram(4); }), 4);
  }
}

// Before the program chooses a backend the console has none: it still keeps its cells, hears
// no key and ends the real process. A fresh process, since a backend once chosen stays.
TEST(ConsoleWithoutBackendDeathTest, WritesHearsNothingAndEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        console::ConsoleWrite("a");
        if (console::ScreenChar(1, 1) == 'a' && !console::KeyWaiting()) console::EndProgram(4);
      },
      ::testing::ExitedWithCode(4), "");
}

TEST_F(ConsoleTest, CloseConsoleDrainsKeysAndEndsWithCodeZero) {
  platform::PushTyped("abc");
  console::OpenConsole();
  EXPECT_EQ(ExitCodeOf([] { console::CloseConsole(); }), 0);
  EXPECT_TRUE(Video().events.empty());
  EXPECT_EQ(console::KeyQueueCount(), 0);
  EXPECT_FALSE(Video().window);
}

TEST_F(ConsoleTest, EndingTheProgramLeavesTheWindowTitledProgramaTerminado) {
  console::SetWindowTitle("TIRLA");
  console::OpenConsole();
  EXPECT_EQ(Video().title, "TIRLA");
  EXPECT_EQ(ExitCodeOf([] { console::EndProgram(3); }), 3);
  EXPECT_EQ(Video().title, "Programa terminado");
  // The window no longer reacts: a close request does nothing now.
  platform::VideoEvent close;
  close.kind = platform::EventKind::kClose;
  EXPECT_EQ(ExitCodeOf([&] { console::DispatchWindowEvent(close); }), -1);
}

TEST_F(ConsoleTest, CloseRequestAndAltF4EndTheProgram) {
  platform::VideoEvent close;
  close.kind = platform::EventKind::kClose;
  platform::PushEvent(close);
  EXPECT_EQ(ExitCodeOf([] { console::KeyWaiting(); }), 0);

  console::StartConsole();
  platform::ResetMemoryVideo();
  platform::PushKeyDown(platform::vk::kF1 + 3, platform::kModAlt);
  EXPECT_EQ(ExitCodeOf([] { console::KeyWaiting(); }), 0);
}

TEST_F(ConsoleTest, NoDisplayEndsWithCodeOneAndAMessage) {
  Video().video_fails = true;
  Video().video_error = "nenhuma tela";
  testing::internal::CaptureStderr();
  const int code = ExitCodeOf([] { console::ConsoleWrite("x"); });
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_NE(said.find("não foi possível abrir a janela: nenhuma tela"), std::string::npos);
  EXPECT_FALSE(console::ConsoleOpen());
}

TEST_F(ConsoleTest, MissingFontStillOpensTheWindow) {
  Video().font_fails = true;
  testing::internal::CaptureStderr();
  ConsoleWrite("ok");
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(ScreenChar(2, 1), 'k');
  EXPECT_NE(said.find("fonte"), std::string::npos);
}

TEST_F(ConsoleTest, TitleIsCutTo79Bytes) {
  console::SetWindowTitle(std::string(100, 't'));
  EXPECT_EQ(console::WindowTitle().size(), 79u);
  console::OpenConsole();
  EXPECT_EQ(Video().title, std::string(79, 't'));
  console::SetWindowTitle("novo");
  EXPECT_EQ(Video().title, "novo");
}

TEST_F(ConsoleTest, StandardOutputWritesLineEndsAsCrLfAndFlushesEachWrite) {
  std::ostream out(console::ConsoleOutputBuffer());
  out.setf(std::ios::unitbuf);
  out << "linha um\nlinha dois";
  EXPECT_EQ(ScreenRow(1).substr(0, 9), "linha um ");
  EXPECT_EQ(ScreenRow(2).substr(0, 10), "linha dois");
  EXPECT_EQ(CursorColumn(), 11);
  out << std::string(300, 'z');  // more than the stream's buffer in one write
  EXPECT_EQ(ScreenChar(70, 2), 'z');
  EXPECT_EQ(ScreenChar(70, 5), 'z');  // 70 + 80 + 80 + 70 bytes
  EXPECT_EQ(ScreenChar(71, 5), ' ');
  EXPECT_EQ(CursorRow(), 5);
}

TEST_F(ConsoleTest, StandardOutputServesTheWindowAfterEachWrite) {
  std::ostream out(console::ConsoleOutputBuffer());
  out.setf(std::ios::unitbuf);
  platform::PushChar('k');
  out << "x";
  EXPECT_TRUE(Video().events.empty());
  EXPECT_EQ(console::KeyQueueCount(), 1);
}

TEST_F(ConsoleTest, StandardInputReadsEditedLines) {
  platform::PushTyped("oi\r");
  platform::PushTyped("tchau\r");
  std::istream in(console::ConsoleInputBuffer());
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(line, "oi");
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(line, "tchau");
  EXPECT_EQ(ScreenRow(1).substr(0, 3), "oi ");
  EXPECT_EQ(ScreenRow(2).substr(0, 5), "tchau");
}

int wave_done_calls = 0;
intptr_t wave_done_wparam = 0;
void WaveDone(intptr_t wparam, intptr_t) {
  ++wave_done_calls;
  wave_done_wparam = wparam;
}

TEST_F(ConsoleTest, PostedBlockDoneMessagesReachTheHandlerWithoutAWindow) {
  wave_done_calls = 0;
  platform::SetMessageHandler(platform::kWaveBlockDone, WaveDone);
  platform::PostMessage(platform::kWaveBlockDone, 42, 0);
  platform::PostMessage(platform::kWakeUpStop);
  console::Pause(5);
  EXPECT_EQ(wave_done_calls, 1);
  EXPECT_EQ(wave_done_wparam, 42);
  EXPECT_FALSE(console::ConsoleOpen());
  EXPECT_FALSE(platform::HasPostedMessage());
  platform::SetMessageHandler(platform::kWaveBlockDone, nullptr);
  platform::PostMessage(platform::kWaveBlockDone, 1, 0);
  console::PumpThreadMessages();
  EXPECT_EQ(wave_done_calls, 1);
}

int reposts = 0;
void PostAgain(intptr_t, intptr_t) {
  ++reposts;
  platform::PostMessage(platform::kWaveBlockDone, 0, 0);
}

TEST_F(ConsoleTest, AHandlerThatPostsAgainCannotHoldThePump) {
  reposts = 0;
  platform::SetMessageHandler(platform::kWaveBlockDone, PostAgain);
  platform::PostMessage(platform::kWaveBlockDone, 0, 0);
  console::PumpThreadMessages();
  EXPECT_GT(reposts, 0);
  EXPECT_LT(reposts, 10000);
}

TEST_F(ConsoleTest, WaitMessageReturnsForAMessagePostedFromAnotherThread) {
  std::thread poster([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    platform::PostMessage(platform::kWakeUpEngine);
  });
  console::WaitMessage();  // no window: waits on the posted messages alone
  poster.join();
  EXPECT_TRUE(platform::HasPostedMessage());
  EXPECT_FALSE(console::ConsoleOpen());
}

}  // namespace
}  // namespace console_test
