// TIRLA: the shipped rules and exceptions against the golden files, one topic per file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "translator_test_util.h"

namespace {

// Each line of a golden file: cp1252 input, a tab, the expected phonetic text.
TEST(Golden, ShippedRulesGiveTheExpectedPhoneticText) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadTranslatorFiles(translator_test::ShippedDataDir()));
  const std::filesystem::path folder = std::string(TIRLA_SOURCE_DIR) + "/tests/golden/translator";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".txt") continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      if (line.empty()) continue;
      const auto tab = line.find('\t');
      ASSERT_NE(tab, std::string::npos) << entry.path() << ":" << number;
      EXPECT_EQ(translator::TranslateToPhonetic(line.substr(0, tab)), line.substr(tab + 1))
          << entry.path().filename() << ":" << number;
    }
  }
  EXPECT_GE(files, 5);
}

TEST(Golden, SpecialSpellingsGiveTheSameTextAsTheirPlainForms) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadTranslatorFiles(translator_test::ShippedDataDir()));
  using translator::TranslateToPhonetic;
  EXPECT_EQ(TranslateToPhonetic("ca\xE7\x61"), TranslateToPhonetic("cassa"));
  EXPECT_EQ(TranslateToPhonetic("\xC7\x45U"), TranslateToPhonetic("sseu"));
  EXPECT_EQ(TranslateToPhonetic("m\xE1"), TranslateToPhonetic("ma'"));
  EXPECT_EQ(TranslateToPhonetic("d'\xE1gua"), TranslateToPhonetic("da'gua"));
  EXPECT_EQ(TranslateToPhonetic("kiwi"), TranslateToPhonetic("kiui"));
}

}  // namespace
