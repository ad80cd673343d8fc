// TIRLA: the shipped rules and exceptions against the golden files, one topic per file.
#include <gtest/gtest.h>

#include <string>

#include "support/test_kit.h"
#include "translator_test_util.h"

namespace {

// Each case: cp1252 text in, the phonetic text out.
TEST(Golden, ShippedRulesGiveTheExpectedPhoneticText) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadTranslatorFiles(translator_test::ShippedDataDir()));
  int cases = 0;
  for (const auto& file : support::GoldenFiles(support::SourcePath("tests/golden/translator")))
    cases += support::CheckGoldenFile(file, translator::TranslateToPhonetic);
  EXPECT_GE(cases, 140);
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
