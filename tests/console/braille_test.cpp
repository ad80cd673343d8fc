// TIRLA: the Braille chord keyboard, its literary rules and the tones that announce its modes.
#include "fixture.h"

namespace console_test {
namespace {

using platform::kModAlt;
using platform::kModCtrl;
namespace vk = platform::vk;

// Presses every key of `keys` and then releases them in order, as one chord.
void Chord(const std::string& keys) {
  for (const char k : keys) platform::PushKeyDown(k);
  for (const char k : keys) platform::PushKeyUp(k);
}

// The frequency each looping tone was played at, and 0 for each stop, in order.
std::vector<int> TonesPlayed() {
  std::vector<int> tones;
  for (const auto& sound : platform::MemoryVideo().sounds) {
    if (sound.image.empty()) {
      tones.push_back(0);
      continue;
    }
    int found = -1;
    for (int f : {100, 400, 800, 1600})
      if (sound.image == console::BuildToneImage(static_cast<uint16_t>(f))) found = f;
    EXPECT_TRUE(sound.loop);
    tones.push_back(found);
  }
  return tones;
}

class BrailleTest : public ConsoleTest {
 protected:
  void Open(int mode) {
    WriteIni("[BRAILLE]\nMODO=" + std::to_string(mode) + "\n");
    console::OpenConsole();
    Video().sounds.clear();
  }
};

TEST_F(BrailleTest, ChordCompletesOnlyWhenAllItsKeysAreUp) {
  Open(1);
  platform::PushKeyDown('F');
  platform::PushKeyDown('J');
  platform::PushKeyUp('F');
  EXPECT_EQ(DrainKeys(), "");
  platform::PushKeyUp('J');
  EXPECT_EQ(DrainKeys(), "c");
}

TEST_F(BrailleTest, SpaceChordsGiveBlankAndControlCodes) {
  Open(1);
  Chord(" ");
  Chord(" FD");
  Chord(" F");
  EXPECT_EQ(DrainKeys(), Bytes({' ', 2, 1}));
}

TEST_F(BrailleTest, ComputerBrailleCellsAndAnEmptyChord) {
  Open(1);
  Chord("FDSJKL");  // all six dots
  Chord("DJK");     // j
  Chord("SJKL");    // # stays a character in mode 1
  platform::PushKeyDown('A');  // not a chord key: an empty chord
  platform::PushKeyUp('A');
  EXPECT_EQ(DrainKeys(), Bytes({233, 'j', '#', ' '}));
}

TEST_F(BrailleTest, LettersAndBlanksTypedAsCharactersBelongToTheChordKeyboard) {
  Open(1);
  platform::PushChar('a');
  platform::PushChar(' ');
  platform::PushChar('Z');
  platform::PushChar('5');
  platform::PushChar(0xE7);
  platform::PushKeyDown(vk::kF1);
  platform::PushKeyDown('F', kModCtrl);  // with Ctrl not a chord key
  platform::PushKeyUp('F', kModCtrl);
  EXPECT_EQ(DrainKeys(), Bytes({'5', 0xE7, 0, 59}));
}

TEST_F(BrailleTest, LiteraryNumberSignTurnsLettersIntoDigits) {
  Open(2);
  Chord("SJKL");  // number sign
  Chord("F");     // a
  Chord("FD");    // b
  Chord("DJK");   // j
  Chord("S");     // ' becomes .
  Chord(" ");     // a space chord ends the number
  Chord("F");
  EXPECT_EQ(DrainKeys(), "120. a");
}

TEST_F(BrailleTest, LiteraryTildeEndsTheNumber) {
  Open(2);
  Chord("SJKL");
  Chord("FD");  // 2
  Chord("K");   // ~ ends the number and stays
  Chord("FD");  // b
  EXPECT_EQ(DrainKeys(), "2~b");
}

TEST_F(BrailleTest, LiteraryCapitalSigns) {
  Open(2);
  Chord("JL");  // capital sign
  Chord("F");
  Chord("FD");
  EXPECT_EQ(DrainKeys(), "Ab");
  Chord("JL");
  Chord("JL");  // two signs lock capitals
  Chord("F");
  Chord("FD");
  Chord(" ");  // until a space chord
  Chord("F");
  EXPECT_EQ(DrainKeys(), "AB a");
}

TEST_F(BrailleTest, AnotherKeyEndsTheCapitalsLock) {
  Open(2);
  Chord("JL");
  Chord("JL");
  Chord("F");
  platform::PushKeyDown(vk::kF1);
  platform::PushKeyUp(vk::kF1);
  Chord("F");
  EXPECT_EQ(DrainKeys(), Bytes({'A', 0, 59, 'a'}));
}

TEST_F(BrailleTest, CtrlAltF11StepsTheModesWithTones) {
  Open(2);
  platform::PushKeyDown(vk::kF11, kModCtrl | kModAlt);
  console::KeyWaiting();
  EXPECT_EQ(console::BrailleMode(), 1);
  EXPECT_EQ(TonesPlayed(), (std::vector<int>{800, 0, 1600, 0}));
  EXPECT_GE(Video().slept_ms, 400);

  Video().sounds.clear();
  platform::PushKeyDown(vk::kF11, kModCtrl | kModAlt);
  console::KeyWaiting();
  EXPECT_EQ(console::BrailleMode(), 2);
  EXPECT_EQ(TonesPlayed(), (std::vector<int>{800, 0, 400, 0}));

  Video().sounds.clear();
  platform::PushKeyDown(vk::kF12, kModCtrl | kModAlt);
  console::KeyWaiting();
  EXPECT_EQ(console::BrailleMode(), 0);
  EXPECT_EQ(TonesPlayed(), (std::vector<int>{100, 0}));

  Video().sounds.clear();
  platform::PushKeyDown(vk::kF12, kModCtrl | kModAlt);  // already off: silent
  console::KeyWaiting();
  EXPECT_TRUE(Video().sounds.empty());
  EXPECT_EQ(DrainKeys(), "");
}

TEST_F(BrailleTest, ConfiguredModeIsAnnouncedWhenTheWindowOpens) {
  WriteIni("[BRAILLE]\nMODO=2\n");
  console::OpenConsole();
  EXPECT_EQ(TonesPlayed(), (std::vector<int>{800, 0, 400, 0}));

  console::StartConsole();
  platform::ResetMemoryVideo();
  WriteIni("[BRAILLE]\nMODO=3\n");
  console::OpenConsole();
  EXPECT_EQ(console::BrailleMode(), 1);
  EXPECT_EQ(TonesPlayed(), (std::vector<int>{800, 0, 1600, 0}));
}

TEST_F(BrailleTest, OutOfRangeModes) {
  console::SetBrailleMode(7);
  EXPECT_EQ(console::BrailleMode(), 1);
  console::SetBrailleMode(-4);
  EXPECT_EQ(console::BrailleMode(), 0);
}

TEST(ToneImage, HeaderDescribesEightBitMonoAt11025) {
  const std::string image = console::BuildToneImage(800);
  ASSERT_GE(image.size(), 44u);
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(image[at]) |
                                 static_cast<uint8_t>(image[at + 1]) << 8 |
                                 static_cast<uint8_t>(image[at + 2]) << 16 |
                                 static_cast<uint8_t>(image[at + 3]) << 24);
  };
  EXPECT_EQ(image.substr(0, 4), "RIFF");
  EXPECT_EQ(image.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(image.substr(36, 4), "data");
  EXPECT_EQ(u32(24), 11025u);
  EXPECT_EQ(u32(28), 11025u);
  EXPECT_EQ(static_cast<uint8_t>(image[34]), 8);
  EXPECT_EQ(u32(40) + 44, image.size());
  EXPECT_EQ(u32(4), u32(40) + 36);
  // Periods of 13 samples start at 44 + k * 11025 div 800; the last start that fits is
  // k = 795 (position 11000), so the data ends at 11013.
  EXPECT_EQ(u32(40), 11013u - 44u);
}

TEST(ToneImage, SquareWaveShape) {
  const std::string image = console::BuildToneImage(800);
  // First period: 6 low samples (the 7th is overwritten), then 8 high ones up to the next
  // period, which starts 13 samples later.
  for (int i = 0; i < 6; ++i) EXPECT_EQ(static_cast<uint8_t>(image[44 + i]), 96) << i;
  for (int i = 6; i < 13; ++i) EXPECT_EQ(static_cast<uint8_t>(image[44 + i]), 160) << i;
  EXPECT_EQ(static_cast<uint8_t>(image[44 + 13]), 96);
  EXPECT_EQ(static_cast<uint8_t>(image.back()), 128);
}

TEST(ToneImage, ExtremeFrequenciesStayInsideTheBuffer) {
  for (int f : {0, 1, 2, 11025, 11026, 65535}) {
    const std::string image = console::BuildToneImage(static_cast<uint16_t>(f));
    EXPECT_GE(image.size(), 44u) << f;
    EXPECT_LE(image.size(), 11071u) << f;
    EXPECT_EQ(image.substr(36, 4), "data") << f;
  }
}

}  // namespace
}  // namespace console_test
