// TIRLA: tests of the sentence contour: declination, a pitch target on a short phrase-final
// word, wh-questions apart from yes/no questions; and the same on the shipped data.
#include <gtest/gtest.h>

#include <sstream>

#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"
#include "platform/report.h"

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kContourFile =
    "[DURA\xC7\xC3O]\na=80\nk=50\n[CHAVES]\nonde=QU\n[PROS\xD3" "DIA]\n"
    "HERTZ=200\nTABHERTZ=50,60,70,80,90,100,110,120,130,140\n"
    "DECLINIO=10,25\nTONICAFINAL=SIM\nINTERROGATIVAS=QU\n";

class Contour : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsProsodia::StartProsodia();
    platform::SetReportSink({});
    ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile("c.pro", kContourFile)));
    std::string pairs;  // every pair of _, a and k: no fillers
    for (const char* a : {"_", "a", "k"})
      for (const char* b : {"_", "a", "k"}) pairs += std::string(a) + "-" + b + "\n";
    ASSERT_TRUE(uttsProsodia::LoadDiphoneList(orvia_test::WriteFile("c.dfn", pairs)));
  }
};

TEST_F(Contour, EachWordOfASentenceLiesLowerUpToTheLimit) {
  Lines in;
  for (const char* word : {"ka", "ka", "ka", "ka"}) {
    in.push_back(std::string(";555|") + word);
    in.insert(in.end(), {"k", ">a", ""});
  }
  in.insert(in.end(), {";555|", "__", "", ";555|ka", "k", ">a", ""});
  Lines out = uttsProsodia::ApplyProsody(in, 1.0, 1.0);
  Lines firsts;
  for (const std::string& line : out)
    if (line.rfind("k ", 0) == 0) firsts.push_back(line);
  // 0, 10, 20, then 25 % (the limit) below 200 Hz; a new sentence starts again at 0.
  EXPECT_EQ(firsts, (Lines{"k 50 50 200", "k 50 50 180", "k 50 50 160", "k 50 50 150",
                           "k 50 50 200"}));
}

TEST_F(Contour, AShortWordBeforeAStopIsStressedOnItsLastVowel) {
  Lines out = uttsProsodia::ApplyProsody(
      {";531|ka", "k", "a", "", ";555|.", "_.", ";531|ka", "k", "a", "", ";555|ka", "k", ">a", ""},
      1.0, 1.0);
  // Before the stop the vowel is stressed: longer, with the middle level; the second word,
  // not before a stop, is unchanged; the third has a stress mark of its own.
  EXPECT_EQ(out, (Lines{";ka", "k 50 50 200", "a 116 80 160", "", ";.", "_ 100 50 200",
                        ";ka", "k 50 50 180", "a 80", "", ";ka", "k 50 50 160",
                        "a 116 80 160", ""}));
}

TEST_F(Contour, AQuestionOpenedByAQuestionWordClosesWithItsOwnClass) {
  EXPECT_EQ(uttsProsodia::Tokenize("Onde fica? Fica longe?"),
            (Lines{"[--]", "[QU]Onde", "[XX]fica", "[?Q]?", "[--]", "[XX]Fica", "[XX]longe",
                   "[?\?]?", "[--]"}));
  EXPECT_EQ(uttsProsodia::Tokenize("E onde?")[3], "[?Q]?");
  EXPECT_EQ(uttsProsodia::Tokenize("Fica ali onde?")[4], "[?\?]?");  // third word: yes/no
}

TEST_F(Contour, WithoutTheLinesNothingChanges) {
  ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile(
      "c0.pro", "[DURA\xC7\xC3O]\n[CHAVES]\nonde=QU\n[PROS\xD3" "DIA]\nTABHERTZ=1,1,1,1,1,1,1,1,1,1\n")));
  EXPECT_EQ(uttsProsodia::Tokenize("Onde?")[2], "[?\?]?");
  Lines out = uttsProsodia::ApplyProsody({";555|ka", "k", "a", "", ";555|ka", "k", "a", ""}, 1, 1);
  EXPECT_EQ(out, (Lines{";ka", "k 100 50 2", "a 100", "", ";ka", "k 100 50 2", "a 100", ""}));
}

TEST_F(Contour, BadValuesAreReportedAndIgnored) {
  ASSERT_TRUE(uttsProsodia::LoadProsody(orvia_test::WriteFile(
      "c1.pro", "[DURA\xC7\xC3O]\n[CHAVES]\n[PROS\xD3" "DIA]\nDECLINIO=x\nDECLINIO=5,100\n")));
  EXPECT_NE(uttsProsodia::LastMessage().find("DECLINIO=5,100"), std::string::npos);
}

// The shipped data: pitch at the stressed phonemes (points at 80 %) and at the last one.
class ShippedContour : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsPortug::StartTextStages();
    ASSERT_EQ(uttsPortug::LoadTextData(uttsPortug::DataFilesIn(orvia_test::DataFolder())), "");
  }

  struct Points {
    std::vector<int> stressed;  // Hz at the stressed phonemes, in order
    int last = 0;               // Hz of the last pitch point before the closing pause
  };

  static Points PitchOf(const std::string& text) {
    Points p;
    for (const std::string& line : uttsPortug::TextToMbrolaLines(text, 0.8, 1.0)) {
      std::istringstream in(line);
      std::string name;
      int ms = 0, position = 0, hz = 0;
      if (line.empty() || line[0] == ';' || !(in >> name >> ms >> position >> hz)) continue;
      if (name == "_") continue;
      if (position == 80) p.stressed.push_back(hz);
      p.last = hz;
    }
    return p;
  }
};

TEST_F(ShippedContour, YesNoQuestionsRiseOnTheLastStressAndFallAfterIt) {
  Points p = PitchOf("Ela mora perto?");
  ASSERT_EQ(p.stressed.size(), 3u);
  EXPECT_GT(p.stressed[2], p.stressed[1] + 30);
  EXPECT_LT(p.last, p.stressed[2] - 50);
}

TEST_F(ShippedContour, WhQuestionsFall) {
  Points p = PitchOf("Onde ela mora?");
  ASSERT_EQ(p.stressed.size(), 3u);
  EXPECT_LT(p.stressed[2], p.stressed[0]);
  EXPECT_LT(p.last, p.stressed[2]);
}

TEST_F(ShippedContour, LongSentencesDecline) {
  Points p = PitchOf("A menina comprava frutas e legumes frescos na feira do bairro todos os "
                     "domingos de manh\xE3 cedo.");
  ASSERT_GE(p.stressed.size(), 8u);
  EXPECT_GT(p.stressed[0] - p.stressed[p.stressed.size() - 2], 20);
  EXPECT_GT(p.stressed.front() - p.last, 60);  // and the statement ends low
}

TEST_F(ShippedContour, AFinalMonosyllableCarriesThePitchTarget) {
  Points p = PitchOf("Eu vou a p\xE9.");
  ASSERT_FALSE(p.stressed.empty());
  Lines lines = uttsPortug::TextToMbrolaLines("Eu vou a p\xE9.", 0.8, 1.0);
  bool found = false;
  for (const std::string& line : lines) found = found || line.rfind("ee ", 0) == 0;
  EXPECT_TRUE(found);
  EXPECT_EQ(p.last, p.stressed.back());
}

}  // namespace
