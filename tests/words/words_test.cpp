// TIRLA: tests of the number words and of the time and date spoken from recordings.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/wav.h"
#include "support/test_kit.h"
#include "words/words.h"

namespace {

namespace fs = std::filesystem;

// What was played, in order: the joined recordings of each image as "w1|w2|" (every test
// recording holds its own name and a bar as samples), and each fixed word by name.
std::vector<std::string> played;

void KeepImage(uint8_t* image, size_t size) {
  platform::WavInfo info;
  ASSERT_TRUE(platform::ReadWavImage(image, size, info));
  played.emplace_back(reinterpret_cast<const char*>(image) + info.dataOffset, info.dataSize);
}
void KeepWord(std::string_view name) { played.emplace_back(name); }

class WordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    for (const char* word : {"_zero", "_um", "_uma", "_dois", "_duas", "_tres", "_cinco", "_seis",
                             "_vinte", "_trinta", "_e", "_mil", "_cem", "_dezesse", "_dezeset",
                             "_quatroc", "_milhao", "_noventa", "_nove", "_dez"})
      std::ofstream(dir_ / (std::string(word) + ".wav"), std::ios::binary)
          << platform::MakeWavImage(11025, 8, 1, std::string(word + 1) + "|");
    words::StartWords(dir_.string(), {.PlayWaveBuffer = KeepImage, .SpeakSoundFile = KeepWord});
    played.clear();
  }
  fs::path dir_;
};

TEST_F(WordsTest, NumbersGiveTheGoldenWords) {
  const int cases = support::CheckGoldenFile(
      support::SourcePath("tests/golden/words/numbers.txt"),
      [](const std::string& number) { return words::NumberToWords(std::stoul(number)); });
  EXPECT_GT(cases, 15);
}

TEST_F(WordsTest, WordsAreJoinedFromTheirRecordings) {
  struct Case {
    const char* words;
    bool feminine;
    std::vector<std::string> played;
  };
  const Case cases[] = {
      {"vinte e um", true, {"vinte|e|uma|"}},
      {"dois", true, {"duas|"}},
      {"dois mil", true, {"dois|mil|"}},                 // only a last word turns feminine
      {"dezesseis dezessete", false, {"dezesse|dezeset|"}},
      {"quatrocentos milh\xE3o", false, {"quatroc|milhao|"}},
      {"vinte sumiu e", false, {"vinte|e|"}},            // a missing recording is skipped
      {"", false, {}},
  };
  for (const Case& c : cases) {
    played.clear();
    words::SpeakWords(c.words, c.feminine);
    EXPECT_EQ(played, c.played) << c.words;
  }
}

TEST_F(WordsTest, TimeAndDateAreSpokenWordByWord) {
  struct Case {
    int a, b, c;  // hour, minute; or year, month, day
    std::vector<std::string> played;
  };
  const Case times[] = {
      {1, 0, 0, {"uma|", "_hora"}},
      {21, 1, 0, {"vinte|e|uma|", "_horas", "um|", "_minuto"}},
      {0, 30, 0, {"zero|", "_hora", "trinta|", "_minutos"}},
  };
  for (const Case& t : times) {
    played.clear();
    words::SpeakTimeOf(t.a, t.b);
    EXPECT_EQ(played, t.played) << t.a << ":" << t.b;
  }
  const Case dates[] = {
      {2005, 5, 1, {"_Domingo", "_primeir", "_de", "_Maio", "_de", "dois|mil|e|cinco|"}},
      {1999, 12, 9, {"_Quinta", "nove|", "_de", "_Dezembr", "_de", "noventa|e|nove|"}},
      {2000, 3, 10, {"_Sexta", "dez|", "_de", "_Marco", "_de", "dois|mil|"}},
      {2100, 1, 2, {"_Sabado", "dois|", "_de", "_Janeiro", "_de", "dois|mil|e|cem|"}},
  };
  for (const Case& d : dates) {
    played.clear();
    words::SpeakDateOf(d.a, d.b, d.c);
    EXPECT_EQ(played, d.played) << d.a << "-" << d.b << "-" << d.c;
  }
}

}  // namespace
