// TIRLA: the unit builder's pieces: names to voice phonemes (golden file), renderings that
// keep to the voice's pairs, and database files the synthesizer reads back.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "diphone/synth.h"
#include "diphone/translator.h"
#include "orvia/text/uttsProsodia.h"
#include "support/test_kit.h"
#include "unit_files.h"
#include "unit_plan.h"
#include "unit_shape.h"

namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<unitplan::Phone>& phones) {
  std::string s;
  for (const unitplan::Phone& p : phones) s += (s.empty() ? "" : " ") + p.name;
  return s;
}

TEST(UnitPhones, NamesGiveTheGoldenPhonemes) {
  const int cases = support::CheckGoldenFile(
      support::SourcePath("tests/golden/units/phones.txt"), [](const std::string& name) {
        std::vector<unitplan::Phone> phones;
        return unitplan::UnitPhones(name, phones) ? Joined(phones) : "-";
      });
  EXPECT_GT(cases, 25);
}

class PlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsProsodia::StartProsodia();
    const std::string orvia = std::string(TIRLA_SOURCE_DIR) + "/data/orvia/";
    ASSERT_TRUE(uttsProsodia::LoadProsody(orvia + "portug.pro"));
    ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia + "portug.dfn"));
  }
  void TearDown() override { uttsProsodia::StartProsodia(); }
};

TEST_F(PlanTest, UnitsStandBetweenContextsTheVoiceHas) {
  for (const char* name : {"$KA", "$S", "$R", "$Z", "$RRA", "$AWTIL", "$T", "$LH", "$NN"}) {
    unitplan::Plan plan;
    ASSERT_TRUE(unitplan::PlanUnit(name, 1.0, plan)) << name;
    ASSERT_LT(plan.first, plan.last);
    ASSERT_LT(plan.last, plan.phones.size());
    EXPECT_EQ(plan.phones.front().name, "_") << name;
    EXPECT_EQ(plan.phones.back().name, "_") << name;
    // every pair at the unit's edges is one the voice has, so no edge is rendered as silence
    for (size_t i : {plan.first, plan.last}) {
      EXPECT_TRUE(uttsProsodia::HasDiphone(plan.phones[i - 1].name + "-" + plan.phones[i].name))
          << name << " at " << i;
    }
  }
  unitplan::Plan ka, s;
  unitplan::PlanUnit("$KA", 1.0, ka);
  unitplan::PlanUnit("$S", 1.0, s);
  EXPECT_TRUE(ka.fadesOut);  // a syllable keeps its natural end
  EXPECT_EQ(ka.first, 1u);
  EXPECT_EQ(s.first, 2u);    // a lone consonant follows a neutral vowel
  // the stressed vowel is lengthened and the level's measure scales everything
  unitplan::Plan slow;
  unitplan::PlanUnit("$KA", 1.5, slow);
  EXPECT_EQ(ka.phones[2].ms, std::round(uttsProsodia::DurationOf("a") * 1.45));
  EXPECT_NEAR(slow.phones[2].ms, ka.phones[2].ms * 1.5, 1);
  const std::string vowel = "\na " + std::to_string(static_cast<int>(ka.phones[2].ms)) + " 50 200\n";
  EXPECT_NE(unitplan::PhoLines(ka, 200).find("k 70 50 200" + vowel), std::string::npos)
      << unitplan::PhoLines(ka, 200);
}

TEST(UnitShape, TheUnstressedCutLandsOnAQuietZeroCrossing) {
  // a vowel-like wave: a loud pulse and a quiet ripple in each 50-sample period
  soundtools::Signal unit(1500);
  for (size_t i = 0; i < unit.size(); ++i)
    unit[i] = static_cast<float>(0.6 * std::sin(2 * M_PI * i / 50.0) * std::exp(-(i % 50) / 8.0) +
                                 0.05 * std::sin(2 * M_PI * i / 12.5 + 0.3));
  struct Case {
    size_t cut, minimum;
    bool moves;
  } cases[] = {{550, 700, true}, {550, 1000, false}, {0, 0, false}};
  for (const Case& c : cases) {
    soundtools::Signal shaped = unit;
    unitshape::AlignCut(shaped, c.cut, c.minimum);
    if (!c.moves) {
      EXPECT_EQ(shaped, unit) << c.cut << " " << c.minimum;
      continue;
    }
    ASSERT_NEAR(static_cast<double>(shaped.size()), 1500.0, 23.0);
    const size_t kept = shaped.size() - c.cut;  // what the synthesizer keeps of it cut
    EXPECT_NE(shaped[kept - 2] < 0, shaped[kept - 1] < 0);
    EXPECT_LT(std::fabs(shaped[kept - 1]), 0.1f);  // in the ripple, not the pulse
    EXPECT_EQ(std::vector<float>(shaped.begin(), shaped.begin() + 1400),
              std::vector<float>(unit.begin(), unit.begin() + 1400));
  }
}

TEST(UnitFiles, TheSynthesizerReadsWhatTheBuilderWrites) {
  const fs::path dir = support::TestScratch();
  fs::create_directories(dir / "letras");
  for (const char* file : {translator::kRulesFileName, translator::kExceptionsFileName})
    fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, dir / file);
  // names sort byte by byte, a prefix first: "$A" < "$AW" < "$B" < "$~"
  const unitfiles::Units units = {{"$AW", std::vector<uint8_t>(30, 1)},
                                  {"$A", std::vector<uint8_t>(20, 2)},
                                  {"$~", std::vector<uint8_t>(5, 3)},
                                  {"$B", std::vector<uint8_t>(10, 4)}};
  std::string error;
  ASSERT_TRUE(unitfiles::WriteUnitFiles((dir / "DIFONES9").string(), units, error)) << error;
  EXPECT_EQ(fs::file_size(dir / "DIFONES9.IND"), 4u * 15);
  std::ifstream index(dir / "DIFONES9.IND", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.substr(0, 15), std::string("\x02$A      \x14\0\0\0\0\0", 15));
  EXPECT_EQ(bytes.substr(15, 15), std::string("\x03$AW     \x1e\0\x14\0\0\0", 15));

  std::ofstream(dir / "TOLVAN.INI") << "[TRADUTOR]\nDIRDIFONES=" << dir.string() << "\ndirLetras="
                                    << (dir / "letras").string() << "\n";
  const char* saved = getenv("TOLVAN_WINDIR");
  const std::string savedWindir = saved ? saved : "";
  setenv("TOLVAN_WINDIR", dir.c_str(), 1);
  static std::vector<uint8_t> heard;
  heard.clear();
  synth::StartSynth();
  synth::SetUnitBaseName("DIFONES9");
  synth::SetSoundHooks({.MakeWaveHeader = nullptr,
                        .PlayWaveBuffer = [](const uint8_t* image, size_t size) {
                          heard.insert(heard.end(), image + 44, image + size);
                        },
                        .IsSpeaking = nullptr});
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(0, 0, 0);
  synth::SpeakPhonetic("[Aw][a][b]", false);
  std::vector<uint8_t> expected(30, 1);
  expected.insert(expected.end(), 20, 2);
  expected.insert(expected.end(), 10, 4);
  EXPECT_EQ(heard, expected);
  unitfiles::Units back;
  ASSERT_TRUE(unitfiles::ReadUnitFiles((dir / "DIFONES9").string(), back, error)) << error;
  EXPECT_EQ(back, units);
  synth::StartSynth();
  setenv("TOLVAN_WINDIR", savedWindir.c_str(), 1);
  // a name that does not fit is refused
  EXPECT_FALSE(unitfiles::WriteUnitFiles((dir / "X").string(), {{"$NOVELETRAS", {1}}}, error));
}

}  // namespace
