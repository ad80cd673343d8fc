// TIRLA: tests of ORVIA's text stages with the shipped data files: pronunciation of words,
// intonation of statements and questions, diphones the voice has, and bad input.
#include <gtest/gtest.h>

#include "platform/report.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"
#include "platform/codepage.h"
#include "support/test_kit.h"

namespace {

using Lines = std::vector<std::string>;

class TextStages : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsPortug::StartTextStages();
    ASSERT_EQ(uttsPortug::LoadTextData(uttsPortug::DataFilesIn(orvia_test::DataFolder())), "");
  }

  static Lines Speak(const std::string& text) { return uttsPortug::TextToMbrolaLines(text, 1.0, 1.0); }

  // Phoneme names without pauses and without the fillers put where the voice lacks a pair.
  static std::string Pronounce(const std::string& word) {
    std::string names;
    Lines lines = Speak(word);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l == "y 50" || l == "_ 50"; }),
                lines.end());
    for (const std::string& name : orvia_test::Names(lines)) {
      if (name == "_") continue;
      names += (names.empty() ? "" : " ") + name;
    }
    return names;
  }

  // Pitch of the stressed phonemes (their point stands at 80 %), in order.
  static std::vector<int> StressedPitches(const Lines& lines) {
    std::vector<int> pitches;
    for (const std::string& line : lines) {
      std::istringstream in(line);
      std::string name;
      int ms = 0, position = 0, hz = 0;
      if (line.empty() || line[0] == ';') continue;
      if (in >> name >> ms >> position >> hz && position == 80) pitches.push_back(hz);
    }
    return pitches;
  }

  // Every line is a short comment without control characters, an empty line, or
  // "name ms [position hz]" with integers; MBROLA never meets 250 phonemes without a pitch.
  static void ExpectWellFormed(const Lines& lines) {
    ASSERT_FALSE(lines.empty());
    int withoutPitch = 0;
    for (const std::string& line : lines) {
      if (line.empty()) continue;
      if (line[0] == ';') {
        for (char c : line) EXPECT_GE(static_cast<unsigned char>(c), ' ');
        EXPECT_LE(line.size(), 80u);
        continue;
      }
      withoutPitch = std::count(line.begin(), line.end(), ' ') == 3 ? 0 : withoutPitch + 1;
      ASSERT_LE(withoutPitch, 100) << line;
      std::istringstream in(line);
      std::string name, rest;
      long ms = -1, position = 0, hz = 0;
      ASSERT_TRUE(in >> name >> ms) << line;
      EXPECT_GT(ms, 0) << line;
      if (in >> position) {
        EXPECT_TRUE(in >> hz) << line;
        EXPECT_TRUE(position == 50 || position == 80) << line;
        EXPECT_GT(hz, 50) << line;
      }
      EXPECT_FALSE(in >> rest) << line;
    }
    EXPECT_EQ(lines.back().substr(0, 2), "_ ");
  }
};

// Golden pronunciations: every case of the topic files in tests/golden/orvia (its gold/ folder
// is a measure for tools/orvia_per.py, not a test).
TEST_F(TextStages, GoldenWords) {
  const auto files = support::GoldenFiles(support::SourcePath("tests/golden/orvia"));
  ASSERT_GE(files.size(), 4u);
  for (const auto& file : files) EXPECT_GT(support::CheckGoldenFile(file, Pronounce), 5) << file;
}

TEST_F(TextStages, StatementsFallAndYesNoQuestionsRise) {
  for (const char* sentence : {"Voc\xEA vem amanh\xE3", "O menino comprou um livro novo",
                               "Bom dia", "Ela gosta de caf\xE9 com leite",
                               "A casa da minha av\xF3 fica perto da praia"}) {
    std::vector<int> statement = StressedPitches(Speak(std::string(sentence) + "."));
    std::vector<int> question = StressedPitches(Speak(std::string(sentence) + "?"));
    ASSERT_GE(statement.size(), 2u) << sentence;
    ASSERT_GE(question.size(), 2u) << sentence;
    EXPECT_LT(statement.back(), statement.front()) << sentence;
    EXPECT_GT(question.back(), question.front()) << sentence;
  }
}

TEST_F(TextStages, FactorsReachTheLines) {
  Lines normal = Speak("Bom dia.");
  Lines fast = uttsPortug::TextToMbrolaLines("Bom dia.", 0.5, 1.5);
  ASSERT_EQ(normal.size(), fast.size());
  std::vector<int> low = StressedPitches(normal), high = StressedPitches(fast);
  ASSERT_FALSE(low.empty());
  EXPECT_GT(high.front(), low.front());
  EXPECT_NE(normal, fast);
}

TEST_F(TextStages, BlankTextGivesNoLinesAndEveryByteGivesWellFormedLines) {
  EXPECT_TRUE(Speak("").empty());
  EXPECT_TRUE(Speak(" \t\r\n ").empty());
  std::string every;
  for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
  every += '\0';
  ExpectWellFormed(Speak(every));
  ExpectWellFormed(Speak(std::string(1000, '?') + "!.,;:()"));
  ExpectWellFormed(Speak("1234567890 -3,5 2\xBA 1\xAA 3/4 12:30 \x80 \x99 @#$%&*"));
  ExpectWellFormed(Speak("Pst! Hmm... Brr, tsc."));
}

TEST_F(TextStages, LongAndRandomInputEnds) {
  ExpectWellFormed(Speak(std::string(100000, 'a')));
  ExpectWellFormed(Speak(std::string(100000, '9')));
  std::string words;
  while (words.size() < 100000) words += "paralelep\xEDpedo ";
  ExpectWellFormed(Speak(words));
  std::mt19937 random(20261208);
  for (int round = 0; round < 50; ++round) {
    std::string bytes(random() % 3000 + 1, ' ');
    for (char& c : bytes) c = static_cast<char>(random() % 255 + 1);
    if (uttsPortug::Trim(bytes).empty()) continue;
    ExpectWellFormed(Speak(bytes));
  }
}

// The check MBROLA makes: every neighbouring pair of names written has a diphone in the voice.
TEST_F(TextStages, EveryPairWrittenForTheFortunesIsInTheVoice) {
  std::ifstream file("/usr/share/games/fortunes/brasil", std::ios::binary);
  if (!file) GTEST_SKIP() << "fortunes-br is not installed";
  std::string text = platform::Utf8ToCp1252(
      std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
  std::string previous = "_";
  int missing = 0;
  for (const std::string& name : orvia_test::Names(Speak(text))) {
    if (!uttsProsodia::HasDiphone(previous + "-" + name) && ++missing < 10)
      ADD_FAILURE() << previous << "-" << name;
    previous = name;
  }
  EXPECT_EQ(missing, 0);
}

TEST_F(TextStages, MissingDataFilesGiveTheEngineMessages) {
  platform::SetReportSink({});  // loader messages are not the subject here
  auto files = uttsPortug::DataFilesIn(orvia_test::DataFolder());
  auto broken = files;
  broken.exceptions = "/nonexistent/portug.exc";
  EXPECT_EQ(uttsPortug::LoadTextData(broken), "Erro na base de dados de portugu\xEAs");
  broken = files;
  broken.abbreviations = "/nonexistent/portug.abr";
  EXPECT_EQ(uttsPortug::LoadTextData(broken), "Erro no arquivo de abreviaturas");
  broken = files;
  broken.diphones = "/nonexistent/portug.dfn";
  EXPECT_EQ(uttsPortug::LoadTextData(broken), "Erro no arquivo de pros\xF3" "dia");
}

}  // namespace
