// TIRLA: tests of rule matching: the match, both context sides and every context symbol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "translator_test_util.h"

namespace {

using translator::TranslateToPhonetic;

struct Case {
  const char* rule;  // one rule line; the other letters keep their default segments
  const char* word;
  const char* out;
};

void Check(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    translator_test::LoadTables({c.rule});
    EXPECT_EQ(TranslateToPhonetic(c.word), c.out) << c.rule << " on " << c.word;
  }
}

TEST(RuleLeftContext, SymbolsAndLiterals) {
  Check({
      {"%#(B)=X", "ae'b", "[ /_A/ /_E/ /_'/X]"},  // # steps over every vowel and mark
      {"%#(B)=X", "cab", "[ /_C/ /_A/ /_B]"},
      {"%(B)=X", "ba", "[X/ /_A]"},
      {"%(B)=X", "aba", "[ /_A/ /_B/ /_A]"},
      {"%](B)=X", "ob", "[ /_O/X]"},
      {"%](B)=X", "a'b", "[ /_A/ /_'/X]"},  // ] takes a mark with its a or o
      {"](B)=X", "eb", "[ /_E/ /_B]"},
      {"%_(B)=X", "ba", "[X/ /_A]"},         // _ at the start of the word stays there
      {"%_(B)=X", "ib", "[ /_I/X]"},
      {"%_(B)=X", "e'b", "[ /_E/ /_'/X]"},
      {"%_(B)=X", "cab", "[ /_C/ /_A/ /_B]"},
      {"|(B)=X", "anba", "[ /_A/ /_N/X/ /_A]"},
      {"|(B)=X", "asba", "[ /_A/ /_S/X/ /_A]"},
      {"|(B)=X", "atba", "[ /_A/ /_T/ /_B/ /_A]"},
      {"TA(B)=X", "tab", "[ /_T/ /_A/X]"},   // literals read right to left
      {"AT(B)=X", "tab", "[ /_T/ /_A/ /_B]"},
  });
}

TEST(RuleRightContext, SymbolsAndLiterals) {
  Check({
      {"(B)#%=X", "bae'", "[X/ /_A/ /_E/ /_']"},
      {"(B)#%=X", "baec", "[ /_B/ /_A/ /_E/ /_C]"},
      {"(B)%=X", "ab", "[ /_A/X]"},
      {"(B)%=X", "aba", "[ /_A/ /_B/ /_A]"},
      {"(B)&A=X", "bza", "[X/ /_Z/ /_A]"},
      {"(B)&A=X", "bta", "[ /_B/ /_T/ /_A]"},
      {"(B)*T=X", "bta", "[X/ /_T/ /_A]"},   // * does not move
      {"(B)*=X", "bra", "[ /_B/ /_R/ /_A]"},
      {"(B)*=X", "bla", "[ /_B/ /_L/ /_A]"},
      {"(B)+%=X", "be", "[X/ /_E]"},
      {"(B)+%=X", "bi'", "[X/ /_I/ /_']"},   // + takes the mark after its vowel
      {"(B)+A=X", "bia", "[X/ /_I/ /_A]"},
      {"(B)+=X", "ba", "[ /_B/ /_A]"},
      {"(B)[=X", "ab", "[ /_A/X]"},
      {"(B)[T=X", "abta", "[ /_A/X/ /_T/ /_A]"},
      {"(B)[=X", "abha", "[ /_A/ /_B/ /_H/ /_A]"},
      {"(B)\\%=X", "ab", "[ /_A/X]"},
      {"(B)\\%=X", "abs", "[ /_A/X/ /_S]"},
      {"(B)\\%=X", "abt", "[ /_A/ /_B/ /_T]"},
  });
}

TEST(RuleMatch, ConsumesItsLettersAndStopsAtTheWordEnd) {
  Check({
      {"(BA)=X", "bac", "[X/ /_C]"},
      {"(BAC)=X", "ba", "[ /_B/ /_A]"},
      {"(B)= b", "ba", "[ b/ /_A]"},  // blanks of the output are kept
      {"(B)", "ab", "[ /_A/]"},       // no '=': the letter vanishes
      {"(A^)=E", "a^b", "[E/ /_B]"},
  });
}

TEST(RuleMatch, FirstApplyingRuleWinsInFileOrder) {
  translator_test::LoadTables({"(B)%=X", "(B)=Y", "(B)=Z"});
  EXPECT_EQ(TranslateToPhonetic("ab"), "[ /_A/X]");
  EXPECT_EQ(TranslateToPhonetic("ba"), "[Y/ /_A]");
}

TEST(RuleMatch, StressedLetterUpperCasesTheFirstVowelOfItsSegment) {
  translator_test::LoadTables({"(A)= ya", "(C)= k", "(S)= z", "(O)=w"});
  EXPECT_EQ(TranslateToPhonetic("casa"), "[ k/ yA/ z/ ya]");
  translator_test::LoadTables({"(A)=y"});
  EXPECT_EQ(TranslateToPhonetic("casa"), "[ /_C/y/ /_S/y]");
}

TEST(RuleMatch, TwoWordsGiveTwoGroupsWithoutSeparator) {
  translator_test::LoadTables({"(A)=a", "(O)=o"});
  EXPECT_EQ(TranslateToPhonetic("  a   o "), "[a][o]");
}

}  // namespace
