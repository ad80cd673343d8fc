// TIRLA: tests of ORVIA's letter-to-sound rules: file format, contexts, rule order, stress mark.
#include <gtest/gtest.h>

#include "orvia/text/uttsPortug.h"
#include "orvia_test_files.h"

namespace {

using uttsPortug::Lines;

class Rules : public ::testing::Test {
 protected:
  void SetUp() override { uttsPortug::StartPortug(); }

  // Loads the rules text and gives the phoneme lines of `word` with stress position `stress`.
  Lines Apply(const std::string& rules, const std::string& word, int stress = 0) {
    EXPECT_TRUE(uttsPortug::LoadRules(orvia_test::WriteFile("rules.nrl", rules)));
    Lines out;
    uttsPortug::ApplyRules(word, stress, out);
    return out;
  }
};

TEST_F(Rules, MissingFileFailsAndCommentsAreNotRules) {
  EXPECT_FALSE(uttsPortug::LoadRules("/nonexistent/portug.nrl"));
  Apply("; (A)=x\n(A)=a\n", "A");
  EXPECT_EQ(uttsPortug::RuleCount(), 1);
}

TEST_F(Rules, LinesWithoutATargetAreNeverKept) {
  // An empty line, a line without "(", an empty target and a target after an unclosed "(".
  Lines out = Apply("\nA=a\n()=x\nB(\n(A)=a\n", "AB");
  EXPECT_EQ(uttsPortug::RuleCount(), 1);
  EXPECT_EQ(uttsPortug::SkippedRuleLines(), 3);
  EXPECT_EQ(out, (Lines{"a", ""}));
}

TEST_F(Rules, FirstFittingRuleWinsAndUnmatchedLettersYieldNothing) {
  Lines out = Apply("(A)B=first\n(A)=second\n(AB)=never\n", "ABXA");
  EXPECT_EQ(out, (Lines{"first", "second", ""}));
}

TEST_F(Rules, OutputsSplitAtAmpersandAndKeepOnlyElevenCharacters) {
  EXPECT_EQ(Apply("(A)=p&q\n", "A"), (Lines{"p", "q", ""}));
  EXPECT_EQ(Apply("(A)=p&\n", "A"), (Lines{"p", "", ""}));
  EXPECT_EQ(Apply("(A)=abcdefghijklmnop|remark\n", "A"), (Lines{"abcdefghijk", ""}));
  EXPECT_EQ(Apply("(H)=\n(A)=a\n", "HA"), (Lines{"a", ""}));
}

TEST_F(Rules, FieldsAreCutToTheirLimits) {
  // A left context of seven characters keeps five: "BCDEF", which then must stand left.
  Lines out = Apply("ABCDEFG(X)=x\n", "BCDEFGX");
  EXPECT_EQ(out, (Lines{""}));
  out = Apply("ABCDEFG(X)=x\n", "ABCDEX");
  EXPECT_EQ(out, (Lines{"x", ""}));
}

TEST_F(Rules, RightContextClasses) {
  const std::string rules =
      "(C)+=s\n(S)#=z\n(N)&=n1\n(E)\\%=y\n(R)[=r2\n(T)*=t1\n(X)%=end\n(C)=k\n(S)=s\n(N)=n\n"
      "(E)=e\n(R)=r\n(T)=t\n(X)=x\n(A)=a\n(I)=i\n(O)=o\n(L)=l\n(P)=p\n(H)=\n";
  EXPECT_EQ(Apply(rules, "CI"), (Lines{"s", "i", ""}));       // + front vowel
  EXPECT_EQ(Apply(rules, "CA"), (Lines{"k", "a", ""}));
  EXPECT_EQ(Apply(rules, "SA"), (Lines{"z", "a", ""}));       // # vowel
  EXPECT_EQ(Apply(rules, "NL"), (Lines{"n1", "l", ""}));      // & sonorant
  EXPECT_EQ(Apply(rules, "NP"), (Lines{"n", "p", ""}));
  EXPECT_EQ(Apply(rules, "TE"), (Lines{"t", "y", ""}));       // \ without an S, then end
  EXPECT_EQ(Apply(rules, "TES"), (Lines{"t", "y", "s", ""}));  // \ consumes the S
  EXPECT_EQ(Apply(rules, "TEA"), (Lines{"t", "e", "a", ""}));
  EXPECT_EQ(Apply(rules, "AR"), (Lines{"a", "r2", ""}));      // [ at the end
  EXPECT_EQ(Apply(rules, "ARP"), (Lines{"a", "r2", "p", ""}));  // [ before a consonant
  EXPECT_EQ(Apply(rules, "ARH"), (Lines{"a", "r", ""}));      // but not before H
  EXPECT_EQ(Apply(rules, "ARA"), (Lines{"a", "r", "a", ""}));
  EXPECT_EQ(Apply(rules, "TP"), (Lines{"t1", "p", ""}));      // * consonant, not liquid
  EXPECT_EQ(Apply(rules, "TL"), (Lines{"t", "l", ""}));
  EXPECT_EQ(Apply(rules, "XA"), (Lines{"x", "a", ""}));       // % only at the end
  EXPECT_EQ(Apply(rules, "AX"), (Lines{"a", "end", ""}));
}

TEST_F(Rules, LeftContextClasses) {
  const std::string rules =
      "%(A)=start\n#(S)=vs\n](L)=back\n|(R)=rr\n_(I)=ui\n(A)=a\n(O)=o\n(E)=e\n(S)=s\n(L)=l\n"
      "(R)=r\n(I)=i\n(N)=n\n(P)=p\n";
  EXPECT_EQ(Apply(rules, "AA"), (Lines{"start", "a", ""}));  // % only at the start
  EXPECT_EQ(Apply(rules, "ES"), (Lines{"e", "vs", ""}));
  EXPECT_EQ(Apply(rules, "PS"), (Lines{"p", "s", ""}));
  EXPECT_EQ(Apply(rules, "OL"), (Lines{"o", "back", ""}));   // ] a or o
  EXPECT_EQ(Apply(rules, "EL"), (Lines{"e", "l", ""}));
  EXPECT_EQ(Apply(rules, "NR"), (Lines{"n", "rr", ""}));     // | n, r or s
  EXPECT_EQ(Apply(rules, "PR"), (Lines{"p", "r", ""}));
  EXPECT_EQ(Apply(rules, "I"), (Lines{"ui", ""}));           // _ at the start
  EXPECT_EQ(Apply(rules, "OI"), (Lines{"o", "ui", ""}));     // _ after a vowel
  EXPECT_EQ(Apply(rules, "PI"), (Lines{"p", "i", ""}));
  // A literal left of the word's start fails.
  EXPECT_EQ(Apply("P(A)=pa\n(A)=a\n", "A"), (Lines{"a", ""}));
}

TEST_F(Rules, LowerCaseRuleLettersMatchUpperCaseWords) {
  EXPECT_EQ(Apply("(ch)=x\n(a)=a\n", "CHA"), (Lines{"x", "a", ""}));
}

TEST_F(Rules, StressMarkGoesToTheFirstPhonemeAtOrAfterTheStressedLetter) {
  const std::string rules = "(QU)=k\n(AM)%=@&w\n(A)=a\n(E)=e\n(R)=r\n(O)=o\n(M)=m\n";
  EXPECT_EQ(Apply(rules, "QUERO", 3), (Lines{"k", ">e", "r", "o", ""}));
  // The stressed letter is inside a two-letter target: the next rule's phoneme carries it.
  EXPECT_EQ(Apply(rules, "QUERO", 2), (Lines{"k", ">e", "r", "o", ""}));
  EXPECT_EQ(Apply(rules, "RAM", 2), (Lines{"r", ">@", "w", ""}));
  EXPECT_EQ(Apply(rules, "QUERO", 0), (Lines{"k", "e", "r", "o", ""}));
  EXPECT_EQ(Apply(rules, "QUERO", -4), (Lines{"k", "e", "r", "o", ""}));
  // Exactly one mark, however long the word.
  Lines out = Apply(rules, std::string(600, 'A'), 1);
  int marks = 0;
  for (const std::string& line : out) marks += !line.empty() && line[0] == '>';
  EXPECT_EQ(marks, 1);
}

TEST_F(Rules, EmptyWordGivesOneEmptyLineAndControlBytesYieldNothing) {
  EXPECT_EQ(Apply("(A)=a\n", ""), (Lines{""}));
  EXPECT_EQ(Apply("(A)=a\n", std::string("\x01\x1F", 2)), (Lines{""}));
}

}  // namespace
