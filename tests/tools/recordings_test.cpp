// TIRLA: the recordings' manifest, and what the build made of it and of the unit databases.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/wav.h"
#include "recordings.h"
#include "sound_tools.h"
#include "unit_files.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;

std::string Named(int code) { return code == 'a' ? "a" : code == 'b' ? "bê" : ""; }

bool Read(const std::string& manifest, std::vector<recordings::Recording>& list, std::string& error) {
  list.clear();
  return recordings::ReadManifest(support::WriteScratchFile("manifest", manifest), Named, list, error);
}

TEST(Manifest, LinesTonesPausesAndCharacters) {
  std::vector<recordings::Recording> list;
  std::string error;
  ASSERT_TRUE(Read("; comment\n_DEL = apaga \n@caracteres = 97-99\n_99 = cê\ndtmf_1 = @tom 697 1209\n"
                   "_1 = @pausa 40\n",
                   list, error))
      << error;
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[0].name, "_DEL");
  EXPECT_EQ(list[0].text, "apaga");
  EXPECT_EQ(list[1].name, "_99");  // its own line wins over the character's name
  EXPECT_EQ(list[2].lowHz, 697);
  EXPECT_EQ(list[2].highHz, 1209);
  EXPECT_TRUE(list[2].text.empty());
  EXPECT_EQ(list[3].pauseMs, 40);
  EXPECT_EQ(list[4].name, "_97");
  EXPECT_EQ(list[4].text, "a");
  EXPECT_EQ(list[5].text, "bê");
  // what cannot be read
  for (const char* bad : {"_X\n", "_X = \n", "_X = a\n_X = b\n", "@caracteres = 97-100\n",
                          "@caracteres = 300-301\n", "t = @tom 697\n", "p = @pausa 0\n"}) {
    EXPECT_FALSE(Read(bad, list, error)) << bad;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_FALSE(recordings::IsPrintable(129));
  EXPECT_FALSE(recordings::IsPrintable(31));
  EXPECT_TRUE(recordings::IsPrintable(255));
}

// The built data, as the build tree holds it.
const fs::path kShare = fs::path(TIRLA_BUILD_DIR) / "share/tolvan/som";

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(BuiltData, UnitDatabasesAreSortedWholeAndJoinWithoutJumps) {
  for (int level = 1; level <= 5; ++level) {
    const std::string base = "DIFONES" + std::to_string(level);
    const std::string index = Bytes(kShare / "difones" / (base + ".IND"));
    const std::string data = Bytes(kShare / "difones" / (base + ".DIF"));
    ASSERT_FALSE(index.empty()) << base;
    ASSERT_EQ(index.size() % 15, 0u);
    std::string previous;
    for (size_t at = 0; at < index.size(); at += 15) {
      const auto* e = reinterpret_cast<const uint8_t*>(index.data() + at);
      const std::string name(index.data() + at + 1, e[0]);
      const size_t length = e[9] | e[10] << 8;
      const size_t offset = e[11] | e[12] << 8 | e[13] << 16 | static_cast<size_t>(e[14]) << 24;
      EXPECT_TRUE(previous < name) << base << " " << name;
      ASSERT_LE(offset + length, data.size()) << name;
      ASSERT_GT(length, 100u) << name;
      // a unit starts and ends at silence, so units join without a click
      EXPECT_LE(std::abs(static_cast<uint8_t>(data[offset]) - 128), 2) << name;
      EXPECT_LE(std::abs(static_cast<uint8_t>(data[offset + length - 1]) - 128), 2) << name;
      previous = name;
    }
  }
}

// The median loudness, in dB, of the sounds that hold a vowel and 400 samples at least.
double MedianLoudness(const std::vector<std::vector<uint8_t>>& sounds) {
  std::vector<double> db;
  for (const std::vector<uint8_t>& s : sounds)
    if (s.size() >= 400) db.push_back(20 * std::log10(soundtools::LoudRms(soundtools::FromUnsigned8(s))));
  std::sort(db.begin(), db.end());
  return db.empty() ? 0 : db[db.size() / 2];
}

TEST(BuiltData, SpelledLettersAreAsLoudAsTheUnits) {
  std::vector<std::vector<uint8_t>> letters, units;
  for (int code = 'a'; code <= 'z'; ++code) {
    const std::string wav = Bytes(kShare / "letras" / ("_" + std::to_string(code) + ".wav"));
    letters.emplace_back(wav.begin() + std::min<size_t>(44, wav.size()), wav.end());
  }
  unitfiles::Units all;
  std::string error;
  ASSERT_TRUE(unitfiles::ReadUnitFiles((kShare / "difones/DIFONES3").string(), all, error)) << error;
  for (const auto& [name, samples] : all)
    if (name.find_first_of("AEIOU", 1) != std::string::npos) units.push_back(samples);
  EXPECT_NEAR(MedianLoudness(letters), MedianLoudness(units), 1.0);
}

TEST(BuiltData, EveryRecordingOfTheManifestIsAn8BitSound) {
  std::vector<recordings::Recording> list;
  std::string error;
  ASSERT_TRUE(recordings::ReadManifest(
      std::string(TIRLA_SOURCE_DIR) + "/data/recordings.txt",
      [](int code) { return uttsPreproc::CharName(static_cast<unsigned char>(code)); }, list, error))
      << error;
  EXPECT_GT(list.size(), 300u);
  for (const recordings::Recording& r : list) {
    const std::string wav = Bytes(kShare / "letras" / (r.name + ".wav"));
    platform::WavInfo info;
    ASSERT_TRUE(platform::ReadWavImage(reinterpret_cast<const uint8_t*>(wav.data()), wav.size(), info)) << r.name;
    EXPECT_EQ(info.rate, 11025) << r.name;
    EXPECT_EQ(info.bits, 8) << r.name;
    EXPECT_EQ(info.channels, 1) << r.name;
    ASSERT_GT(info.dataSize, 200u) << r.name;
    const auto first = static_cast<uint8_t>(wav[info.dataOffset]);
    const auto last = static_cast<uint8_t>(wav[info.dataOffset + info.dataSize - 1]);
    EXPECT_LE(std::abs(first - 128), 2) << r.name;
    EXPECT_LE(std::abs(last - 128), 2) << r.name;
  }
}

}  // namespace
