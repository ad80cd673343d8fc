// TIRLA: tests of the stress position and of the words that carry no stress.
#include <gtest/gtest.h>

#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsTonica.h"

namespace {

struct Case {
  const char* word;  // cp1252
  int stress;        // 1-based letter position
};

TEST(Stress, PortugueseWords) {
  const Case cases[] = {
      {"casa", 2},        {"casas", 2},      {"falam", 2},     {"homem", 2},
      {"cantar", 5},      {"papel", 4},      {"jardim", 5},    {"atum", 3},
      {"aqui", 4},        {"urubu", 5},      {"pai", 2},       {"chap\xE9u", 5},
      {"sof\xE1", 4},     {"r\xE1pido", 2},  {"ci\xEAncia", 3}, {"pa\xEDs", 3},
      {"\xE1gua", 1},     {"quero", 3},      {"guerra", 3},    {"averigue", 5},
      {"qual", 3},        {"ruim", 3},       {"CASA", 2},      {"lingui\xE7" "a", 6},
      {"tr\xEAs", 3},     {"ma\xE7\xE3", 4}, {"saudade", 5},   {"caixa", 2},
      {"reais", 3},       {"ideais", 4},     {"leais", 3},     {"iguais", 4},   // hiatus
      {"mais", 2},        {"pais", 2},
      {"\xF3rg\xE3o", 1}, {"b\xEAn\xE7\xE3o", 2}, {"cora\xE7\xE3o", 6},  // órgão, bênção
  };
  for (const Case& c : cases) EXPECT_EQ(uttsTonica::FindStress(c.word), c.stress) << c.word;
}

TEST(Stress, RightmostAccentWinsAndWordsWithoutVowelsHaveNone) {
  EXPECT_EQ(uttsTonica::FindStress("\xE1\x62\xF3" "bora"), 3);  // Ã¡bÃ³bora: the rightmost accent
  EXPECT_EQ(uttsTonica::FindStress("pst"), 0);
  EXPECT_EQ(uttsTonica::FindStress(""), 0);
  EXPECT_EQ(uttsTonica::FindStress("123"), 0);
  EXPECT_EQ(uttsTonica::FindStress("wx"), 1);  // w counts as a vowel
}

TEST(Stress, ShortAndListedWordsAreUnstressed) {
  for (const char* w : {"", "A", "DE", "POR", "DAS", "DOS", "COM", "N\xC3O", "SIM"})
    EXPECT_TRUE(uttsPortug::IsUnstressedWord(w)) << w;
  for (const char* w : {"PARA", "SEM", "N\xC3OS", "sim", "CASA"})
    EXPECT_FALSE(uttsPortug::IsUnstressedWord(w)) << w;
}

}  // namespace
