// TIRLA: the console's look read from TOLVAN.INI.
#include "console/config.h"
#include "platform/font_size.h"

#include <array>

#include "fixture.h"

namespace console_test {
namespace {

std::array<uint8_t, 16> Identity() {
  std::array<uint8_t, 16> table{};
  for (int i = 0; i < 16; ++i) table[i] = static_cast<uint8_t>(i);
  return table;
}

class ConfigTest : public ConsoleTest {
 protected:
  console::ConsoleConfig Load(const std::string& ini) {
    WriteIni(ini);
    console::StartConsoleConfig();
    return console::LoadConsoleConfig(Identity());
  }
};

TEST_F(ConfigTest, ColourTableEntries) {
  std::array<uint8_t, 16> reversed{};
  for (int i = 0; i < 16; ++i) reversed[i] = static_cast<uint8_t>(15 - i);
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0\n").colour_table,
            reversed);

  std::array<uint8_t, 16> expected = Identity();
  expected[1] = 4;
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=0, 4\n").colour_table, expected);

  expected = Identity();
  expected[0] = 1;
  expected[1] = 0;
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=1,x,3\n").colour_table, expected);

  expected = Identity();
  expected[0] = 12;  // the entry's leading digits
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=12abc,9\n").colour_table, expected);
}

TEST_F(ConfigTest, MalformedColourTables) {
  std::array<uint8_t, 16> expected = Identity();
  expected[0] = 0;
  expected[1] = 0;  // an empty entry reads as 0 and ends the table
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=0,,5\n").colour_table, expected);

  expected = Identity();
  expected[0] = 255;  // -1 keeps its low byte
  expected[1] = 0x2C;  // 300 keeps its low byte
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=-1,300\n").colour_table, expected);

  std::array<uint8_t, 16> sixteen{};
  sixteen.fill(7);
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,7,1,2,3\n").colour_table,
            sixteen);

  expected = Identity();
  expected[0] = static_cast<uint8_t>(99999999999999ULL % 256);  // too big: its digits
  EXPECT_EQ(Load("[VIDEO]\nTABCORES=99999999999999,5\n").colour_table, expected);

  EXPECT_EQ(Load("[VIDEO]\nTABCORES=\n").colour_table, Identity());
}

TEST_F(ConfigTest, ColoursAndTheirStartValues) {
  EXPECT_EQ(Load("[VIDEO]\nCORFUNDO=1\nCORLETRA=14\n").text_attribute, 0x1E);
  EXPECT_EQ(Load("[VIDEO]\nCORLETRA=\n").text_attribute, 0x07);
  EXPECT_EQ(Load("[VIDEO]\nCORFUNDO=\nCORLETRA=\n").text_attribute, 0x07);
  EXPECT_EQ(Load("[VIDEO]\nCORFUNDO=2\nCORLETRA=20\n").text_attribute, 0x34);  // spills
  EXPECT_EQ(Load("[VIDEO]\nCORFUNDO=abc\nCORLETRA=1x\n").text_attribute, 0x0F);
  EXPECT_EQ(Load("[VIDEO]\nCORFUNDO=-1\nCORLETRA=99999999999\n").text_attribute, 0xFF);
}

TEST_F(ConfigTest, YesNoKeys) {
  console::ConsoleConfig c = Load("[VIDEO]\nCORESFIXAS=Sim\nLENTO=sim\nCANTOTELA=NAO\n");
  EXPECT_TRUE(c.fixed_colours);
  EXPECT_TRUE(c.slow_scroll);
  EXPECT_TRUE(c.maximize_window);
  c = Load("[VIDEO]\nCORESFIXAS=Yes\nLENTO=N\nCANTOTELA=sim\n");
  EXPECT_FALSE(c.fixed_colours);
  EXPECT_FALSE(c.slow_scroll);
  EXPECT_FALSE(c.maximize_window);
  EXPECT_TRUE(Load("[VIDEO]\nCANTOTELA=\n").maximize_window);
}

TEST_F(ConfigTest, MagnifierFactorReadsOneCharacter) {
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=12\n").magnify_factor, 1);
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=7\n").magnify_factor, 7);
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=8\n").magnify_factor, 0);
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=0\n").magnify_factor, 0);
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=9\n").magnify_factor, 1);
  EXPECT_EQ(Load("[VIDEO]\nAMPLIF=\n").magnify_factor, 2);
}

TEST_F(ConfigTest, BrailleModeFromTheFirstCharacter) {
  EXPECT_EQ(Load("[BRAILLE]\nMODO=1\n").braille_mode, 1);
  EXPECT_EQ(Load("[BRAILLE]\nMODO=2\n").braille_mode, 2);
  EXPECT_EQ(Load("[BRAILLE]\nMODO=3\n").braille_mode, 3);
  EXPECT_EQ(Load("[BRAILLE]\nMODO=\n").braille_mode, 0);
  EXPECT_EQ(Load("[BRAILLE]\nMODO=4\n").braille_mode, 0);
}

TEST_F(ConfigTest, FontSizeFromTheWorkArea) {
  EXPECT_EQ(platform::DerivedFontWidth(1024), 13);
  EXPECT_EQ(platform::DerivedFontHeight(738), 28);
  EXPECT_EQ(platform::DerivedFontWidth(1920), 24);
  EXPECT_EQ(platform::DerivedFontHeight(1040), 40);
  EXPECT_EQ(platform::DerivedFontWidth(512), 6);    // 6.5: halves go to the even neighbour
  EXPECT_EQ(platform::DerivedFontWidth(1536), 20);  // 19.5

  Video().work_width = 1920;
  Video().work_height = 1040;
  WriteIni("[VIDEO]\nFONTE=DejaVu Sans Mono\nPESOLETRA=400\nALTURALETRA=30\n");
  console::OpenConsole();
  EXPECT_EQ(Video().font.face, "DejaVu Sans Mono");
  EXPECT_EQ(Video().font.width, 24);
  EXPECT_EQ(Video().font.height, 30);  // a size given is kept
  EXPECT_EQ(Video().font.weight, 400);
  // A display that cannot tell its work area is taken as 1024 x 738.
  platform::FontRequest derived;
  derived.width = derived.height = platform::FontRequest::kFromWorkArea;
  const platform::FontRequest unknown = platform::SizedForWorkArea(derived, 0, 0);
  EXPECT_EQ(unknown.width, 13);
  EXPECT_EQ(unknown.height, 28);
}

TEST_F(ConfigTest, FontKeysAreReadOncePerRun) {
  console::ConsoleConfig c = Load("[VIDEO]\nFONTE=Primeira\nLARGURALETRA=10\nALTURALETRA=20\n");
  EXPECT_EQ(c.font.width, 10);
  EXPECT_EQ(c.font.height, 20);
  WriteIni("[VIDEO]\nFONTE=Segunda\nLARGURALETRA=11\nALTURALETRA=21\nCORLETRA=2\n");
  c = console::LoadConsoleConfig(Identity());
  EXPECT_EQ(c.font.face, "Primeira");
  EXPECT_EQ(c.font.width, 10);
  EXPECT_EQ(c.font.height, 20);
  EXPECT_EQ(c.text_attribute, 0x02);  // other keys are read again
}

TEST_F(ConfigTest, MalformedFontValues) {
  const console::ConsoleConfig c =
      Load("[VIDEO]\nFONTE=" + std::string(120, 'f') +
           "\nLARGURALETRA=largo\nALTURALETRA=-30\nPESOLETRA=pesado\n");
  EXPECT_EQ(c.font.face.size(), 80u);
  EXPECT_EQ(c.font.width, platform::FontRequest::kFromWorkArea);
  EXPECT_EQ(c.font.height, 30);
  EXPECT_EQ(c.font.weight, 700);
  EXPECT_EQ(Load("[VIDEO]\nALTURALETRA=999999\n").font.height, 512);
}

TEST_F(ConfigTest, WindowFollowsTheConfiguration) {
  WriteIni("[VIDEO]\nCANTOTELA=NAO\n");
  console::OpenConsole();
  EXPECT_TRUE(Video().shown);
  EXPECT_TRUE(Video().maximized);
  EXPECT_EQ(Video().font.height, 28);  // derived from the 1024 x 738 work area
}

}  // namespace
}  // namespace console_test
