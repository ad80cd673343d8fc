// TIRLA: tests of the rules and exceptions loaders: cutting, limits, bad files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "translator_test_util.h"

namespace {

using translator::RuleList;
using translator::TranslateToPhonetic;

TEST(LoadRules, CutsEachPartToItsLimit) {
  translator_test::LoadTables({"123456(ABCDEF)789012=0123456789ABCDEF|rest"});
  ASSERT_EQ(RuleList('A').size(), 1u);
  const auto& r = RuleList('A')[0];
  EXPECT_EQ(r.Left, "12345");
  EXPECT_EQ(r.Match, "ABCDE");
  EXPECT_EQ(r.Right, "78901");
  EXPECT_EQ(r.Output, "0123456789A");
}

TEST(LoadRules, MissingDelimitersLeaveLaterPartsEmpty) {
  translator_test::LoadTables({"(AB", "(C)D", "(E)=", "(F)=f|", "(G)=g|x=y"});
  EXPECT_EQ(RuleList('A')[0].Match, "AB");
  EXPECT_EQ(RuleList('A')[0].Right, "");
  EXPECT_EQ(RuleList('C')[0].Right, "D");
  EXPECT_EQ(RuleList('C')[0].Output, "");
  EXPECT_EQ(RuleList('E')[0].Output, "");
  EXPECT_EQ(RuleList('F')[0].Output, "f");
  EXPECT_EQ(RuleList('G')[0].Output, "g");
}

TEST(LoadRules, RulesThatConsumeNothingOrHaveNoListAreNotKept) {
  translator_test::LoadTables({"", "; comment", "X()=y", "(a)=lower", "(`)=grave", "(~A)=t",
                               "(_)=u", "( )=b"});
  EXPECT_EQ(translator::RuleCount(), 2u);  // "_" and blank have lists
  EXPECT_EQ(RuleList('_').size(), 1u);
  EXPECT_EQ(RuleList(' ').size(), 1u);
  // Nothing can loop: every letter still moves on.
  EXPECT_EQ(TranslateToPhonetic("xa"), "[ /_X/ /_A]");
}

TEST(LoadRules, VeryLongLinesAreCutSafely) {
  const std::string huge(200000, 'Q');
  translator_test::LoadTables({huge, "(" + huge, "(A)" + huge + "=x", "(B)=" + huge});
  ASSERT_EQ(RuleList('Q').size(), 1u);  // the first line has no "(" and is no rule
  EXPECT_EQ(RuleList('Q')[0].Match, "QQQQQ");
  EXPECT_EQ(RuleList('A')[0].Right, "QQQQQ");
  EXPECT_EQ(RuleList('A')[0].Output, "x");  // the cut part is skipped up to its "="
  EXPECT_EQ(RuleList('B')[0].Output.size(), translator::kMaxOutput);
}

TEST(LoadRules, MissingOrEmptyFile) {
  translator_test::LoadTables({"(A)=a"}, {"x=y"});
  EXPECT_FALSE(translator::LoadRules(support::TestScratch() / "none.rgr"));
  EXPECT_EQ(translator::RuleCount(), 0u);
  EXPECT_EQ(translator::ExceptionCount(), 0u);  // loading rules empties the exceptions too
  EXPECT_EQ(TranslateToPhonetic("ax"), "[ /_A/ /_X]");
  EXPECT_TRUE(translator::LoadRules(translator_test::WriteLines("empty.rgr", {})));
  EXPECT_EQ(TranslateToPhonetic("ax"), "[ /_A/ /_X]");
  EXPECT_FALSE(translator::LoadExceptions(support::TestScratch() / "none.exc"));
  EXPECT_FALSE(translator::LoadTranslatorFiles(support::TestScratch() / "none"));
}

TEST(LoadRules, AFolderIsRefusedNotReadAsAnEmptyFile) {
  const std::filesystem::path folder = support::TestScratch() / "pasta";
  std::filesystem::create_directories(folder / translator::kRulesFileName);
  std::filesystem::create_directories(folder / translator::kExceptionsFileName);
  EXPECT_FALSE(translator::LoadRules(folder / translator::kRulesFileName));
  EXPECT_FALSE(translator::LoadExceptions(folder / translator::kExceptionsFileName));
  EXPECT_FALSE(translator::LoadTranslatorFiles(folder));
}

TEST(LoadRules, FreeRulesEmptiesEveryList) {
  translator_test::LoadTables({"(A)=a", "(B)=b"});
  translator::FreeRules();
  EXPECT_EQ(translator::RuleCount(), 0u);
  EXPECT_EQ(TranslateToPhonetic("ab"), "[ /_A/ /_B]");
}

std::vector<std::string> NumberedEntries(int count) {
  std::vector<std::string> lines;
  for (int i = count; i >= 1; --i) {
    const std::string n = std::to_string(i);
    std::string line = "k";
    line.append(n).append("=v").append(n);
    lines.push_back(line);
  }
  return lines;
}

TEST(LoadExceptions, KeepsTheFirst15000EntriesSorted) {
  // Written in descending order: finding them proves the sort.
  translator_test::LoadTables({}, NumberedEntries(16000));
  EXPECT_EQ(translator::ExceptionCount(), translator::kMaxExceptions);
  EXPECT_EQ(*translator::FindException("k16000"), "v16000");
  EXPECT_EQ(*translator::FindException("k1001"), "v1001");
  EXPECT_EQ(translator::FindException("k1000"), nullptr);  // line 15001
  EXPECT_EQ(translator::FindException("k1"), nullptr);
  std::vector<std::string> exactly = NumberedEntries(15001);
  translator_test::LoadTables({}, exactly);
  EXPECT_EQ(translator::ExceptionCount(), translator::kMaxExceptions);
  EXPECT_EQ(translator::FindException("k1"), nullptr);
}

TEST(LoadExceptions, EmptyLinesSkippedAndLongLinesCut) {
  const std::string long_value(5000, 'a');
  translator_test::LoadTables({}, {"", "um=u~", "", "longo=" + long_value, "=vazio", "sem"});
  EXPECT_EQ(translator::ExceptionCount(), 4u);
  EXPECT_EQ(*translator::FindException("um"), "u~");
  EXPECT_EQ(translator::FindException("longo")->size(), translator::kMaxExceptionLine - 6);
  EXPECT_EQ(*translator::FindException(""), "vazio");
  EXPECT_EQ(translator::FindException("sem"), nullptr);
  EXPECT_NE(translator::FindException("sem|"), nullptr);
}

}  // namespace
