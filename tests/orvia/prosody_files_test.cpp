// TIRLA: tests of the prosody file and diphone list loaders, bad lines and full tables.
#include <gtest/gtest.h>

#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"
#include "support/test_kit.h"

namespace {

const std::string kDuration = "[DURA\xC7\xC3O]";
const std::string kPatterns = "[PROS\xD3" "DIA]";

class ProsodyFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsProsodia::StartProsodia();
  }
  bool Load(const std::string& text) {
    return uttsProsodia::LoadProsody(orvia_test::WriteFile("p.pro", text));
  }
  bool Mentions(const std::string& piece) const { return reports_.Mention(piece); }
  support::KeptReports reports_;
};

TEST_F(ProsodyFiles, SectionsInAnyOrderWithCommentsAndCase) {
  ASSERT_TRUE(Load(kPatterns + "\r\nhertz=210\nTABHERTZ=0,10,20,30,40,50,60,70,80,90\n|xx|=567\n" +
                   "[CHAVES]\n; comment\n*comment\n de = pr \n" + kDuration + "  \n" +
                   "Ab = 70\n_,=250\n"));
  EXPECT_TRUE(reports_.texts().empty());
  EXPECT_EQ(uttsProsodia::DurationOf("Ab"), 70);  // durations keep their case
  EXPECT_EQ(uttsProsodia::DurationOf("ab"), 100);
  EXPECT_EQ(uttsProsodia::DurationOf("_,"), 250);
  EXPECT_EQ(uttsProsodia::DurationOf("zz"), 100);
  EXPECT_EQ(uttsProsodia::DurationOf(""), 100);
  EXPECT_EQ(uttsProsodia::ClassOf("De"), "PR");    // keywords are upper-cased
  EXPECT_EQ(uttsProsodia::ClassOf("casa"), "");
  EXPECT_EQ(uttsProsodia::HertzBase(), 210);
  EXPECT_EQ(uttsProsodia::HertzPercent(9), 90);
  EXPECT_EQ(uttsProsodia::HertzPercent(10), 0);
  auto lines = uttsProsodia::AssignPatterns({"[XX]casa"}, true);
  EXPECT_EQ(lines, (std::vector<std::string>{"567|casa"}));
}

TEST_F(ProsodyFiles, MissingFileAndSectionsGiveFalseWithTheirMessages) {
  EXPECT_FALSE(uttsProsodia::LoadProsody("/nonexistent/portug.pro"));
  EXPECT_TRUE(Mentions("Configura\xE7\xE3o da pros\xF3" "dia n\xE3o foi achada"));
  EXPECT_FALSE(Load("[CHAVES]\n" + kPatterns + "\n"));
  EXPECT_TRUE(Mentions("Dura\xE7\xE3o dos difones errada ou ausente"));
  EXPECT_FALSE(Load(kDuration + "\n" + kPatterns + "\n"));
  EXPECT_TRUE(Mentions("Pros\xF3" "dia: palavras chaves ausentes"));
  EXPECT_FALSE(Load(kDuration + "\n[CHAVES]\n"));
  EXPECT_TRUE(Mentions("Pros\xF3" "dia: especifica\xE7\xF5" "es ausentes"));
}

TEST_F(ProsodyFiles, LinesWithoutEqualsAreRefused) {
  EXPECT_FALSE(Load(kDuration + "\na 80\n[CHAVES]\n" + kPatterns + "\n"));
  EXPECT_TRUE(Mentions("fonema errado: a 80"));
  EXPECT_FALSE(Load(kDuration + "\n[CHAVES]\nde\n" + kPatterns + "\n"));
  EXPECT_TRUE(Mentions("chave errada: de"));
  EXPECT_FALSE(Load(kDuration + "\n[CHAVES]\n" + kPatterns + "\n|XX|\n"));
  EXPECT_TRUE(Mentions("chave errada: |XX|"));
}

TEST_F(ProsodyFiles, NonIntegerValuesKeepDefaultsWithAMessage) {
  ASSERT_TRUE(Load(kDuration + "\na=oito\nb=12x\n[CHAVES]\n" + kPatterns +
                   "\nHERTZ=alto\nTABHERTZ=1,2,tres,4\n"));
  EXPECT_EQ(uttsProsodia::DurationOf("a"), 100);
  EXPECT_EQ(uttsProsodia::DurationOf("b"), 100);
  EXPECT_TRUE(Mentions("fonema errado: a=oito"));
  EXPECT_EQ(uttsProsodia::HertzBase(), 230);
  EXPECT_TRUE(Mentions("HERTZ"));
  // The integers that are there are used; the rest keep their levels (0 at the start).
  EXPECT_EQ(uttsProsodia::HertzPercent(0), 1);
  EXPECT_EQ(uttsProsodia::HertzPercent(2), 0);
  EXPECT_EQ(uttsProsodia::HertzPercent(3), 4);
  EXPECT_EQ(uttsProsodia::HertzPercent(4), 0);
  EXPECT_TRUE(Mentions("TABHERTZ"));
}

TEST_F(ProsodyFiles, FullTablesDropTheRestWithOneMessage) {
  std::string text = kDuration + "\n";
  for (int i = 0; i < 120; ++i)
    text.append("p").append(std::to_string(i)).append("=").append(std::to_string(i)).append("\n");
  text += "[CHAVES]\n";
  for (int i = 0; i < 1100; ++i) text.append("w").append(std::to_string(i)).append("=AB\n");
  text += kPatterns + "\n";
  for (int i = 0; i < 310; ++i) text += "|C" + std::to_string(i % 10) + "|=111\n";
  ASSERT_TRUE(Load(text));
  EXPECT_EQ(uttsProsodia::DurationOf("p9"), 9);  // names are cut to two characters
  EXPECT_EQ(uttsProsodia::ClassOf("W999"), "AB");
  EXPECT_EQ(uttsProsodia::ClassOf("W1000"), "");
  EXPECT_EQ(reports_.texts().size(), 3u);
}

TEST_F(ProsodyFiles, DiphoneListLines) {
  EXPECT_FALSE(uttsProsodia::LoadDiphoneList("/nonexistent/portug.dfn"));
  ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia_test::WriteFile(
      "d.dfn", "; comment\n!x-y\n*x-y\n\n  a-b  \nr2\t_ 123\nS2-@\nee--oo\nlongname-x\n")));
  EXPECT_TRUE(uttsProsodia::HasDiphone("a-b"));
  EXPECT_TRUE(uttsProsodia::HasDiphone("A-B"));  // case is ignored
  EXPECT_TRUE(uttsProsodia::HasDiphone("r2-_"));
  EXPECT_TRUE(uttsProsodia::HasDiphone("s2-@"));
  EXPECT_TRUE(uttsProsodia::HasDiphone("ee-oo"));
  EXPECT_TRUE(uttsProsodia::HasDiphone("longname-x"));
  EXPECT_FALSE(uttsProsodia::HasDiphone("x-y"));
  EXPECT_FALSE(uttsProsodia::HasDiphone("b-a"));
  uttsProsodia::ReleaseDiphoneList();
  EXPECT_FALSE(uttsProsodia::HasDiphone("a-b"));
}

}  // namespace
