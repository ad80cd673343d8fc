// TIRLA: cardinal words read back into numbers, over whole ranges and random large values.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace {

using uttsPreproc::CardinalWords;
using uttsPreproc::Gender;
using uttsPreproc::OrdinalWords;

// A reader of Portuguese cardinal words, written apart from the code under test.
class CardinalReader {
 public:
  CardinalReader() {
    const char* small[] = {"zero",   "um",        "dois",      "três",    "quatro",
                           "cinco",  "seis",      "sete",      "oito",    "nove",
                           "dez",    "onze",      "doze",      "treze",   "quatorze",
                           "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
    for (int i = 0; i < 20; ++i) Add(small[i], i);
    const char* tens[] = {"vinte", "trinta", "quarenta", "cinqüenta",
                          "sessenta", "setenta", "oitenta", "noventa"};
    for (int i = 0; i < 8; ++i) Add(tens[i], (i + 2) * 10);
    const char* hundreds[] = {"cento",      "duzentos",   "trezentos", "quatrocentos", "quinhentos",
                              "seiscentos", "setecentos", "oitocentos", "novecentos"};
    for (int i = 0; i < 9; ++i) Add(hundreds[i], (i + 1) * 100);
    Add("cem", 100);
    scales_[Cp("mil")] = 1000;
    scales_[Cp("milhão")] = scales_[Cp("milhões")] = 1000000;
    scales_[Cp("bilhão")] = scales_[Cp("bilhões")] = 1000000000;
    scales_[Cp("trilhão")] = scales_[Cp("trilhões")] = 1000000000000;
  }

  // The value of the words; -1 for a word that is not a number word.
  std::int64_t Read(const std::string& words) const {
    std::istringstream in(words);
    std::string word;
    std::int64_t total = 0, current = 0;
    while (in >> word) {
      if (word == "e") continue;
      if (auto small = words_.find(word); small != words_.end()) {
        current += small->second;
      } else if (auto scale = scales_.find(word); scale != scales_.end()) {
        total += (current == 0 ? 1 : current) * scale->second;
        current = 0;
      } else {
        return -1;
      }
    }
    return total + current;
  }

 private:
  static std::string Cp(const char* utf8) { return platform::Utf8ToCp1252(utf8); }
  void Add(const char* utf8, int value) { words_[Cp(utf8)] = value; }
  std::map<std::string, std::int64_t> words_, scales_;
};

// The shape every cardinal must have: no doubled or leading blanks, one trailing blank exactly
// when the number ends in a scale word, "um mil" never said, singular scale only after "um".
void ExpectWellFormed(std::uint64_t value, const std::string& words) {
  SCOPED_TRACE(value);
  ASSERT_FALSE(words.empty());
  EXPECT_NE(words.front(), ' ');
  EXPECT_EQ(words.find("  "), std::string::npos) << words;
  EXPECT_EQ(words.back() == ' ', value % 1000 == 0 && value != 0) << words;
  EXPECT_FALSE(words.starts_with("um mil ")) << words;
  for (const char* singular : {"milhão", "bilhão", "trilhão"}) {
    const std::string scale = platform::Utf8ToCp1252(singular);
    for (auto at = words.find(scale); at != std::string::npos; at = words.find(scale, at + 1))
      EXPECT_TRUE(at >= 3 && words.compare(at - 3, 3, "um ") == 0) << words;
  }
}

TEST(CardinalWords, EveryValueUpToThreeHundredThousandReadsBack) {
  const CardinalReader reader;
  for (std::uint64_t value = 0; value <= 300000; ++value) {
    const std::string words = CardinalWords(value);
    ASSERT_EQ(reader.Read(words), static_cast<std::int64_t>(value)) << words;
    if (value % 997 == 0 || value < 2000) ExpectWellFormed(value, words);
  }
}

TEST(CardinalWords, RandomValuesUpToFifteenDigitsReadBack) {
  const CardinalReader reader;
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 60000; ++i) {
    // spread over every length, with many zero groups
    std::uint64_t value = random() % 1000000000000000ULL;
    value /= std::uint64_t{1} << (random() % 50);
    if (i % 3 == 0) value -= value % 1000000;
    const std::string words = CardinalWords(value);
    ASSERT_EQ(reader.Read(words), static_cast<std::int64_t>(value)) << words;
    ExpectWellFormed(value, words);
  }
  EXPECT_EQ(reader.Read(CardinalWords(999999999999999ULL)), 999999999999999LL);
}

TEST(CardinalWords, ThousandsSeparatorsAndLeadingZerosDoNotChangeTheNumber) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    // from 10 up: a text of one character is read as the character's name
    const std::uint64_t value = 10 + (random() % 999999999999990ULL >> (random() % 45));
    const std::string plain = std::to_string(value);
    std::string grouped;
    for (std::size_t d = 0; d < plain.size(); ++d) {
      if (d > 0 && (plain.size() - d) % 3 == 0) grouped += '.';
      grouped += plain[d];
    }
    const std::string words = uttsPreproc::PreprocessText(plain);
    ASSERT_EQ(uttsPreproc::PreprocessText(grouped), words) << grouped;
    ASSERT_EQ(uttsPreproc::PreprocessText("00" + plain), "zero zero " + words) << plain;
  }
}

TEST(OrdinalWords, FromTwoThousandUpTheCardinalWhateverTheGender) {
  for (std::uint64_t value : {2000ULL, 2001ULL, 123456ULL, 999999999999999ULL}) {
    EXPECT_EQ(OrdinalWords(value, Gender::Feminine), CardinalWords(value));
    EXPECT_EQ(OrdinalWords(value, Gender::Masculine), CardinalWords(value));
  }
}

}  // namespace
