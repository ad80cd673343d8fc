// TIRLA: tests of durations, pitch points and fillers in the lines written to MBROLA.
#include <gtest/gtest.h>

#include "platform/report.h"

#include <cmath>

#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"

namespace {

using Lines = std::vector<std::string>;

class ApplyProsody : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsProsodia::StartProsodia();
    platform::SetReportSink({});  // loader messages are not the subject here
    ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile(
        "a.pro", "[DURA\xC7\xC3O]\na=80\nk=50\n__=120\n_.=400\n[CHAVES]\n[PROS\xD3" "DIA]\n"
                 "HERTZ=200\nTABHERTZ=0,50,60,70,80,100,110,120,130,140\n")));
    // Every pair of a, k, s, _ except a-s (and s-a), which needs a filler.
    std::string pairs;
    for (const char* p : {"_-_", "_-a", "_-k", "_-s", "a-_", "a-a", "a-k", "k-_", "k-a", "k-k",
                          "s-_", "s-k", "k-s", "a-y", "y-s", "y-a", "s-y", "r2-_", "_-y"})
      pairs += std::string(p) + "\n";
    ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia_test::WriteFile("a.dfn", pairs)));
  }
};

TEST_F(ApplyProsody, DurationsPitchPointsAndComments) {
  Lines out = uttsProsodia::ApplyProsody(
      {";555|", "__", "", ";678|kaka", "k", "a", "k", ">a", "", ";531|.", "_.", "__"}, 1.0, 1.0);
  EXPECT_EQ(out, (Lines{";", "_ 120 50 200", "", ";kaka", "k 50 50 220", "a 80", "k 50",
                        "a 116 80 240", "", ";.", "_ 400 50 200", "_ 120"}));
}

TEST_F(ApplyProsody, FactorsScaleDurationsAndPitch) {
  Lines out = uttsProsodia::ApplyProsody({";555|ka", ">k", "a", ""}, 0.5, 1.1);
  // 50 x 145 x 0.5 = 3625 -> 36; 200 x 100 x 1.1 = 22000 -> 220; the last phoneme takes d3.
  EXPECT_EQ(out, (Lines{";ka", "k 36 80 220", "a 58 50 220", ""}));
}

TEST_F(ApplyProsody, FactorsThatAreNotSensibleGiveUsableLines) {
  // A negative or absurd factor must not give durations MBROLA refuses, nor overflow.
  Lines out = uttsProsodia::ApplyProsody({";555|ka", "k", ">a", ""}, -0.7, 1e300);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"k", "a"}));
  EXPECT_EQ(out[1].substr(0, 4), "k 1 ");
  out = uttsProsodia::ApplyProsody({";555|ka", "k", ">a", ""}, std::nan(""), std::nan(""));
  EXPECT_EQ(out[1], "k 1");
}

TEST_F(ApplyProsody, LongWordsShortenThePhonemesBeforeTheStress) {
  Lines eight = uttsProsodia::ApplyProsody({";555|aaaaaaaa", "a", ">a", ""}, 1.0, 1.0);
  EXPECT_EQ(Lines(eight.begin() + 1, eight.end()), (Lines{"a 80 50 200", "a 116 80 200", ""}));
  Lines nine = uttsProsodia::ApplyProsody({";555|aaaaaaaaa", "a", ">a", "a", ""}, 1.0, 1.0);
  EXPECT_EQ(Lines(nine.begin() + 1, nine.end()),
            (Lines{"a 72 50 200", "a 116 80 200", "a 116 50 200", ""}));
  Lines thirteen = uttsProsodia::ApplyProsody({";555|aaaaaaaaaaaaa", "a", "a", ""}, 1.0, 1.0);
  EXPECT_EQ(Lines(thirteen.begin() + 1, thirteen.end()), (Lines{"a 64 50 200", "a 64", ""}));
}

TEST_F(ApplyProsody, DiaeresisEndsTheLengtheningAndZeroLevelsGiveNoPoint) {
  Lines out = uttsProsodia::ApplyProsody({";005|kak", ">a", "\xA8k", "a", ""}, 1.0, 1.0);
  // A stressed first phoneme takes d2, whose level 0 gives no point; ¨ ends the 145 %.
  EXPECT_EQ(out, (Lines{";kak", "a 116", "k 50", "a 80 50 200", ""}));
}

TEST_F(ApplyProsody, PauseLinesAndUnknownNames) {
  Lines out = uttsProsodia::ApplyProsody({";555|x", "_", "_ 30", "_ abc", "zz", ""}, 1.0, 1.0);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"_", "_", "_", "y", "zz"}));
  EXPECT_EQ(out[1], "_ 100 50 200");
  EXPECT_EQ(out[2], "_ 30");
  EXPECT_EQ(out[3], "_ 100");
  EXPECT_EQ(out.back(), "");
}

TEST_F(ApplyProsody, FillersStandBetweenPairsTheVoiceLacks) {
  Lines out = uttsProsodia::ApplyProsody(
      {";555|as", "a", "s", "", ";555|ksa", "k", "s", "a", ""}, 1.0, 1.0);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"a", "y", "s", "k", "s", "y", "a"}));
  // No filler when every pair is there.
  out = uttsProsodia::ApplyProsody({";555|kak", "k", "a", "k", ""}, 1.0, 1.0);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"k", "a", "k"}));
  // r2 prefers a pause when the voice has r2-_ and _-next.
  out = uttsProsodia::ApplyProsody({";555|r", "r2", "", ";555|k", "k", ""}, 1.0, 1.0);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"y", "r2", "_", "k"}));
  // When no one filler has both pairs, two may.
  ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia_test::WriteFile("b.dfn", "_-k\nk-_\n_-u\nu-a\n")));
  out = uttsProsodia::ApplyProsody({";555|ka", "k", "a", ""}, 1.0, 1.0);
  EXPECT_EQ(orvia_test::Names(out), (Lines{"k", "_", "u", "a"}));
}

// Another voice: its names for ORVIA's phonemes (the diphone check sees them), its pitch base
// and range around it, its durations.
TEST_F(ApplyProsody, TheVoiceShapeRenamesAndMovesPitchAndDurations) {
  ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia_test::WriteFile("c.dfn", "_-k\nk-am\n")));
  uttsProsodia::SetVoiceShape(
      {.pitchBase = 100, .rangePercent = 50, .durationPercent = 200, .renames = {{"an", "am"}}});
  // 50 ms x 2; the stressed 100 ms x 1.45 x 2; levels 100 % and 140 % -> 100 and 120 % of 100 Hz
  EXPECT_EQ(uttsProsodia::ApplyProsody({";595|kan", "k", ">an", ""}, 1.0, 1.0),
            (Lines{";kan", "k 100 50 100", "am 290 80 120", ""}));
}

}  // namespace
