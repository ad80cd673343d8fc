// TIRLA: any byte string gives a result made only of speakable characters, in linear size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsPreprocParts.h"

namespace {

namespace fs = std::filesystem;
using uttsPreproc::PreprocessText;

// Without abbreviations, the result holds only word letters, the kept punctuation and the
// dashes of compound words; no digit survives. Its size stays within a fixed factor of the
// input (the longest name of one byte is about twenty characters).
constexpr std::size_t kMaxGrowth = 32;

void ExpectSpeakable(const std::string& input, const std::string& output) {
  for (unsigned char c : output) {
    if (!uttsPreproc::IsWordLetter(c) && !uttsPreproc::IsKeptPunctuation(c) && c != '-') {
      ADD_FAILURE() << "byte " << int(c) << " in the result of a " << input.size()
                    << "-byte input starting with code " << (input.empty() ? -1 : int(static_cast<unsigned char>(input[0])));
      return;
    }
  }
  EXPECT_LE(output.size(), input.size() * kMaxGrowth + kMaxGrowth) << input.size();
}

void Check(const std::string& input) { ExpectSpeakable(input, PreprocessText(input)); }

class Robustness : public ::testing::Test {
 protected:
  void SetUp() override { uttsPreproc::StartPreproc(); }
};

TEST_F(Robustness, EveryByteAloneAndEveryPairOfBytes) {
  std::string pair(2, '\0');
  for (int a = 0; a < 256; ++a) {
    Check(std::string(1, static_cast<char>(a)));
    for (int b = 0; b < 256; ++b) {
      pair[0] = static_cast<char>(a);
      pair[1] = static_cast<char>(b);
      Check(pair);
    }
  }
}

TEST_F(Robustness, RandomTextsOverTheTrickyCharacters) {
  // digits, signs inside numbers, ordinal endings, letters with and without vowels, and bytes
  // without a name
  const std::string alphabet = "0123456789009.,.,--- oasOAS\xBA\xAA" "bcrtwxyBCD\x80\x0A\x09\x0D\xE7\xE9";
  std::mt19937 random(4242);
  for (int i = 0; i < 100000; ++i) {
    std::string text(random() % 24, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    Check(text);
  }
}

TEST_F(Robustness, HundredThousandCharacterLines) {
  const std::size_t n = 100000;
  std::string allBytes(n, ' ');
  for (std::size_t i = 0; i < n; ++i) allBytes[i] = static_cast<char>(i * 131 % 256);
  const std::string lines[] = {
      std::string(n, '7'),   std::string(n, '0'),         std::string(n, '-'),
      std::string(n, '.'),   std::string(n, ' '),         std::string(n, 'w'),
      std::string(n, 'a'),   std::string(n, '\x80'),      std::string(n, '\n'),
      allBytes,
  };
  for (const std::string& line : lines) Check(line);
  std::string patterns[] = {"1.", "1,", "-1", "1-", " - ", "1o.", "1.000", "a-", "Sr. ", "x.y", "...", "!?;"};
  for (const std::string& unit : patterns) {
    std::string line;
    while (line.size() < n) line += unit;
    Check(line);
  }
}

TEST_F(Robustness, HugeNumbersAreReadInFifteenDigitPieces) {
  const std::string digits(150, '9');
  const std::string words = PreprocessText(digits);
  const std::string piece = PreprocessText(std::string(15, '9'));
  std::string expected;
  for (int i = 0; i < 10; ++i) expected += piece;
  EXPECT_EQ(words, expected);
}

TEST_F(Robustness, AbbreviationsAreLookedUpOnlyBeforeAPeriod) {
  // With a full table, a long text of abbreviations still expands each of them.
  const std::string path = std::string(TIRLA_SOURCE_DIR) + "/data/orvia/portug.abr";
  ASSERT_TRUE(uttsPreproc::LoadAbbreviations(path));
  std::string text, expected;
  for (int i = 0; i < 20000; ++i) {
    text += "Sr. Av. ";
    expected += "senhor avenida ";
  }
  EXPECT_EQ(PreprocessText(text), expected);
}

TEST_F(Robustness, RegressionInputsWholeAndLineByLine) {
  const fs::path dir = fs::path(TIRLA_SOURCE_DIR) / "tests/golden/preproc/regression";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream file(entry.path(), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string whole = content.str();
    Check(whole);
    std::istringstream lines(whole);
    for (std::string line; std::getline(lines, line);) Check(line);
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
