// TIRLA: loading the abbreviations file: format, limits, bad files, the shipped file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsPreprocParts.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;
using uttsPreproc::AbbreviationCount;
using uttsPreproc::LoadAbbreviations;
using uttsPreproc::LookupAbbreviation;

class Abbreviations : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsPreproc::StartPreproc();
    dir_ = support::TestScratch();
  }

  // Writes a file with these exact bytes and returns its path.
  std::string Write(const std::string& bytes) {
    const fs::path path = dir_ / "teste.abr";
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  fs::path dir_;
};

TEST_F(Abbreviations, LinesAreTrimmedCommentsSkippedKeysUpperCased) {
  ASSERT_TRUE(LoadAbbreviations(Write("; comentario\r\n"
                                      "\r\n"
                                      "  Sr =  senhor \r\n"
                                      "\tp\xE7" "a\t=\tpra\xE7" "a\x01\r\n"
                                      "   ; outro comentario\n"
                                      "sem igual aqui\n"
                                      "Km=quil\xF4metros=de verdade\n")));
  EXPECT_EQ(AbbreviationCount(), 4u);
  EXPECT_EQ(LookupAbbreviation("sR"), "senhor");
  EXPECT_EQ(LookupAbbreviation("P\xC7" "A"), "pra\xE7" "a");  // accented key upper-cased
  EXPECT_EQ(LookupAbbreviation("p\xE7" "a"), "pra\xE7" "a");
  EXPECT_EQ(LookupAbbreviation("km"), "quil\xF4metros=de verdade");  // split at the first '='
  EXPECT_EQ(LookupAbbreviation("sem igual aqui"), "");  // a line without '=' has no key
  EXPECT_EQ(LookupAbbreviation("Silva"), "");
}

TEST_F(Abbreviations, FirstOfTwoEqualKeysWins) {
  ASSERT_TRUE(LoadAbbreviations(Write("Cap = capitao\nCAP = capitulo\n")));
  EXPECT_EQ(LookupAbbreviation("cap"), "capitao");
}

TEST_F(Abbreviations, LongValuesAreCutAndLongLinesRead) {
  const std::string longValue(5000, 'a');
  ASSERT_TRUE(LoadAbbreviations(Write("X=" + longValue + "\nY = " + std::string(998, 'b') +
                                      "  c\n" + std::string(100000, 'k') + " = z\n")));
  EXPECT_EQ(LookupAbbreviation("x").size(), uttsPreproc::MaxExpansionLength);
  // cut to 999 characters first, then trimmed
  EXPECT_EQ(LookupAbbreviation("y"), std::string(998, 'b'));
  EXPECT_EQ(LookupAbbreviation(std::string(100000, 'K')), "z");
}

TEST_F(Abbreviations, TableHoldsTwoThousandEntriesAndIgnoresTheRest) {
  std::string text;
  for (int i = 0; i < 2500; ++i) {
    const std::string n = std::to_string(i);
    text.append("k").append(n).append(" = v").append(n).append("\n");
  }
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(LoadAbbreviations(Write(text)));
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(AbbreviationCount(), uttsPreproc::MaxAbbreviations);
  EXPECT_EQ(LookupAbbreviation("K1999"), "v1999");
  EXPECT_EQ(LookupAbbreviation("K2000"), "");
  EXPECT_NE(message.find("500"), std::string::npos) << message;
}

TEST_F(Abbreviations, MissingFileOrFolderFailsAndEmptiesTheTable) {
  ASSERT_TRUE(LoadAbbreviations(Write("Sr = senhor\n")));
  EXPECT_TRUE(LoadAbbreviations((dir_ / "TESTE.ABR").string()));  // name's case ignored
  EXPECT_EQ(LookupAbbreviation("sr"), "senhor");
  EXPECT_FALSE(LoadAbbreviations((dir_ / "nao-existe.abr").string()));
  EXPECT_EQ(AbbreviationCount(), 0u);
  EXPECT_EQ(LookupAbbreviation("sr"), "");
  EXPECT_FALSE(LoadAbbreviations(dir_.string()));
  EXPECT_FALSE(LoadAbbreviations(""));
  EXPECT_FALSE(LoadAbbreviations("/pasta/que/nao/existe/portug.abr"));
}

TEST_F(Abbreviations, BinaryGarbageLoadsWithoutHarm) {
  std::string bytes;
  for (int round = 0; round < 40; ++round)
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>((c * 7 + round) % 256);
  ASSERT_TRUE(LoadAbbreviations(Write(bytes)));
  EXPECT_LE(AbbreviationCount(), uttsPreproc::MaxAbbreviations);
  EXPECT_FALSE(uttsPreproc::PreprocessText("Sr. a = b. c\x01. d").empty());
}

// Keys of letters expand in the preprocessing before a period and a blank; keys with signs
// ("nº", "S.A.") in the normalisation stage, wherever they stand.
TEST_F(Abbreviations, ShippedFileExpandsEveryKeyBeforeAPeriodAndBlank) {
  const std::string shipped = std::string(TIRLA_SOURCE_DIR) + "/data/orvia/portug.abr";
  ASSERT_TRUE(LoadAbbreviations(shipped));
  ASSERT_TRUE(uttsNormal::LoadNormalData(std::string(TIRLA_SOURCE_DIR) + "/data/orvia/portug.nrm"));
  EXPECT_GT(AbbreviationCount(), 100u);
  std::ifstream file(shipped, std::ios::binary);
  std::string line;
  int checked = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == ';') continue;
    const auto equals = line.find('=');
    ASSERT_NE(equals, std::string::npos) << line;
    const std::string key = line.substr(0, line.find_last_not_of(' ', equals - 1) + 1);
    const std::string expansion = LookupAbbreviation(key);
    ASSERT_FALSE(expansion.empty()) << key;
    if (std::all_of(key.begin(), key.end(), [](char c) { return uttsPreproc::IsWordLetter(c); }))
      EXPECT_EQ(uttsPreproc::PreprocessText(key + ". fim"), expansion + " fim") << key;
    else
      EXPECT_EQ(uttsNormal::NormalizeText(key + " fim"), expansion + " fim") << key;
    ++checked;
  }
  EXPECT_EQ(static_cast<std::size_t>(checked), AbbreviationCount());
}

}  // namespace
