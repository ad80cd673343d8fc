// TIRLA: tests of the steps before the rules: normalisation, words, exceptions, stress, spelling.
#include <gtest/gtest.h>

#include <string>

#include "diphone/translator_chars.h"
#include "diphone/translator_word.h"
#include "translator_test_util.h"

namespace {

using translator::NormaliseText;
using translator::TranslateToPhonetic;
using translator::Word;

TEST(Normalise, RewritesCharactersAsTheRulesExpectThem) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"kiwi", "kiui"},                // w between letters becomes u
      {"w", "w"},                      // a lone w stays
      {"w.", "w."},                    // punctuation is not a letter
      {"yoga", "ioga"},                // y beside a letter becomes i
      {"Y", "Y"},
      {"d'\xE1gua", "da'gua"},         // d' loses its apostrophe
      {"D'Ajuda", "DAjuda"},
      {"l'agua", "l'agua"},            // other apostrophes stay
      {"\xE7\xC7", "ssss"},            // c cedilla in both cases
      {"\xE1\xE0\xE2\xE3\xE4", "a'a`a^a~a~"},
      {"\xFC\xF1", "unh"},
      {"a\tb", "a \x01 b"},            // control characters stand as code 1
      {std::string("a\0b", 3), "a \x01 b"},
      {"\xA6", " \x01 "},              // a high byte without spelling
      {"\xA7\xBF", "\xA7?"},
  };
  for (const auto& c : cases) EXPECT_EQ(NormaliseText(c.in), c.out) << c.in;
}

TEST(NextWord, CutsWordsAndCountsVowelsAndAccents) {
  const std::string text = NormaliseText("  Caf\xE9, p\xE3o e ba\xFA!");
  std::size_t pos = 0;
  Word w;
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, "cafe'");
  EXPECT_EQ(w.VowelCount, 2);
  EXPECT_TRUE(w.HasAccent);
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, ",");
  EXPECT_EQ(w.VowelCount, 0);
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, "pa~o");
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, "e");
  EXPECT_FALSE(w.HasAccent);
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, "bau'");
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer, "!");
  EXPECT_FALSE(translator::NextWord(text, pos, w));
}

TEST(NextWord, DiaeresisAndLeadingMarkDoNotCountAsAccent) {
  Word w;
  std::size_t pos = 0;
  ASSERT_TRUE(translator::NextWord("u\"e", pos, w));
  EXPECT_FALSE(w.HasAccent);
  pos = 0;
  ASSERT_TRUE(translator::NextWord("'a", pos, w));  // not a letter: a word of its own
  EXPECT_EQ(w.Buffer, "'");
}

TEST(NextWord, LongWordsAreCutIntoBufferSizedPieces) {
  const std::string text(300, 'a');
  std::size_t pos = 0;
  Word w;
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer.size(), translator::kMaxWordLength);
  ASSERT_TRUE(translator::NextWord(text, pos, w));
  EXPECT_EQ(w.Buffer.size(), 300 - translator::kMaxWordLength);
  EXPECT_FALSE(translator::NextWord(text, pos, w));
}

Word Stressed(const std::string& text) {
  std::size_t pos = 0;
  Word w;
  const std::string normal = NormaliseText(text);
  EXPECT_TRUE(translator::NextWord(normal, pos, w));
  translator::MarkStress(w);
  return w;
}

TEST(MarkStress, FindsTheStressedVowelOfUnaccentedWords) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"casa", "cAsa"},       {"ano", "ano"},         // first-letter stress is left unmarked
      {"caf\xE9", "cafe'"},   {"mar", "mar"},         // one vowel, not ending in l
      {"sol", "sOl"},         {"papel", "papEl"},     {"cantar", "cantAr"},
      {"falam", "fAlam"},     {"jardim", "jardIm"},   {"jovem", "jOvem"},
      {"tatu", "tatU"},       {"caqui", "caquI"},     {"saguis", "saguIs"},
      {"cantavas", "cantAvas"}, {"rainha", "raInha"}, {"juiz", "juIz"},
      {"cuia", "cUia"},       {"caixa", "cAixa"},     {"bcd", "bcd"},
      {"saia", "sAia"},       {"vida", "vIda"},       {"lua", "lUa"},
      {"gui", "guI"},         {"ilha", "ilha"},       {"uma", "uma"},
  };
  for (const auto& c : cases) EXPECT_EQ(Stressed(c.in).Buffer, c.out) << c.in;
}

TEST(Exceptions, StrippedSuffixesComeBackBehindTheValue) {
  translator_test::LoadTables({}, {"gato=gAtu", "homem=omen", "abc", "x=y|note"});
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"gato", "gAtu"}, {"gatos", "gAtus"}, {"gatoss", "gAtuss"},
      {"homem", "omen"}, {"homems", "omens"}, {"ms", "ms"},
      {"abc", "abc"},  // a line without '=' matches no word
      {"x", "y"},      // the value ends at the vertical bar
  };
  for (const auto& c : cases) {
    Word w;
    w.Buffer = c.in;
    translator::ApplyExceptions(w);
    EXPECT_EQ(w.Buffer, c.out) << c.in;
  }
}

TEST(Spelling, ConsonantsAndPunctuationAreSpelled) {
  EXPECT_TRUE(translator::IsSpelledWord("bcd"));
  EXPECT_TRUE(translator::IsSpelledWord(","));
  EXPECT_TRUE(translator::IsSpelledWord("\x01"));
  EXPECT_FALSE(translator::IsSpelledWord("ba"));
  EXPECT_FALSE(translator::IsSpelledWord("1"));
  EXPECT_FALSE(translator::IsSpelledWord("b'"));
  translator::StartTranslator();
  EXPECT_EQ(TranslateToPhonetic("bcd, x"), "[ /_b][ /_c][ /_d][ /_,][ /_x]");
  EXPECT_EQ(TranslateToPhonetic("a\tb"), "[ /_A][ /_\x01][ /_b]");
}

TEST(TranslateToPhonetic, EmptyTablesGiveDefaultSegments) {
  translator::StartTranslator();
  EXPECT_EQ(TranslateToPhonetic(""), "");
  EXPECT_EQ(TranslateToPhonetic("     "), "");
  EXPECT_EQ(TranslateToPhonetic("casa"), "[ /_C/ /_A/ /_S/ /_A]");
  EXPECT_EQ(TranslateToPhonetic("o a"), "[ /_O][ /_A]");
  EXPECT_EQ(TranslateToPhonetic("\xE7"), TranslateToPhonetic("ss"));
  EXPECT_EQ(TranslateToPhonetic("\xE1"), TranslateToPhonetic("a'"));
  EXPECT_EQ(TranslateToPhonetic("7"), "[ /_7]");
}

}  // namespace
