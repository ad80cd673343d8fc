// TIRLA: tests of tokens, phrase boundaries and pitch patterns.
#include <gtest/gtest.h>

#include "platform/report.h"

#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"

namespace {

using Lines = std::vector<std::string>;

class Tokens : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsProsodia::StartProsodia();
    platform::SetReportSink({});  // loader messages are not the subject here
    ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile(
        "t.pro", "[DURA\xC7\xC3O]\n[CHAVES]\nde=PR\nx=Q\n[PROS\xD3" "DIA]\n"
                 "|XXX|=999\n|XX|..=531\n|Q]|=777\n|..|=?22\n|XX|=565\n")));
  }
};

TEST_F(Tokens, WordsStopsAndBoundaries) {
  EXPECT_EQ(uttsProsodia::Tokenize("Casa de pedra. Sol"),
            (Lines{"[--]", "[XX]Casa", "[PR]de", "[XX]pedra", "[..].", "[--]", "[XX]Sol"}));
  EXPECT_EQ(uttsProsodia::Tokenize("Sim"), (Lines{"[--]", "[XX]Sim"}));  // no boundary at the end
  EXPECT_EQ(uttsProsodia::Tokenize(""), (Lines{"[--]"}));
  EXPECT_EQ(uttsProsodia::Tokenize("   "), (Lines{"[--]"}));
}

TEST_F(Tokens, PunctuationDigitsAndEllipsis) {
  EXPECT_EQ(uttsProsodia::Tokenize("a...b"), (Lines{"[--]", "[XX]a", "[.-].", "[--]", "[XX]b"}));
  EXPECT_EQ(uttsProsodia::Tokenize("Ol\xE1, 7?!"),
            (Lines{"[--]", "[XX]Ol\xE1", "[,,],", "[77]7", "[?\?]?", "[--]", "[!!]!", "[--]"}));
  EXPECT_EQ(uttsProsodia::Tokenize("a-b"), (Lines{"[--]", "[XX]a", "[--]-", "[XX]b"}));
  EXPECT_EQ(uttsProsodia::Tokenize("\xC7" "\xE3o\xF1"), (Lines{"[--]", "[XX]\xC7\xE3o\xF1"}));
}

TEST_F(Tokens, PatternsByContextWithCarryOver) {
  Lines tokens = uttsProsodia::Tokenize("de casa. x");
  // "|XXX|" never fits a two-character code; "?" takes the last digit before it.
  EXPECT_EQ(uttsProsodia::AssignPatterns(tokens, true),
            (Lines{"555|", "555|de", "531|casa", "122|.", "555|", "777|"}));
  EXPECT_EQ(uttsProsodia::AssignPatterns(tokens, false),
            (Lines{"555|", "555|de", "555|casa", "555|.", "555|", "555|"}));
  // A one-character class: the code field holds it and the "]", and the text starts one
  // character early, so the pattern line loses the word (write classes of two characters).
  EXPECT_EQ(uttsProsodia::Tokenize("x"), (Lines{"[--]", "[Q]x"}));
}

TEST_F(Tokens, QuestionMarkAtTheStartTakesFive) {
  ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile(
      "q.pro", "[DURA\xC7\xC3O]\n[CHAVES]\n[PROS\xD3" "DIA]\n||XX=?12\n")));
  EXPECT_EQ(uttsProsodia::AssignPatterns({"[--]", "[XX]a"}, true), (Lines{"512|", "555|a"}));
}

}  // namespace
