// TIRLA: tests of the eSpeak NG bridge on the real library: what is handed over, the two
// counts, stop, voices, the WAV file and the failures of a start.

#include <cstring>
#include <filesystem>
#include <fstream>

#include "bridges/espeakBridge.h"
#include "bridges/library.h"
#include "bridges_fixture.h"
#include "support/test_kit.h"

namespace bridges_test {
namespace {

using namespace bridges;
namespace fs = std::filesystem;

class EspeakTest : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    StartEspeakBridge();
    std::vector<VoiceEntry> voices;
    std::string why;
    if (!Sapi4Voices(voices, why)) GTEST_SKIP() << "eSpeak NG: " << why;
  }
  void TearDown() override {
    Sapi4End();
    HideLibrary("");
    BridgeTest::TearDown();
  }
  bool Start(int voice = 0, bool sink = true, int speed = 0, std::string_view file = "") {
    Sapi4SetOutput(Output(sink));
    return Sapi4Start(voice, speed, 0, file);
  }
  static bool Quiet(double seconds = 20) {
    return WaitQuiet([] { return Sapi4IsSpeaking(0); }, seconds);
  }
};

TEST_F(EspeakTest, WhatIsHandedOver) {
  ASSERT_TRUE(Start());
  const struct {
    std::string text;
    std::string handed;  // "": nothing
  } cases[] = {
      {"7", "7."},                 // a single digit is read as a number
      {"  7 ", "7."},
      {"77", "77"},
      {"", ""},
      {" \t\r\n ", ""},            // blank
      {"\x01\x02\x1B", ""},        // control characters only
      {"a\x07" "b", "a b"},
      {"n\xE3o", "n\xC3\xA3o"},    // cp1252 in, UTF-8 to the library
  };
  for (const auto& c : cases) {
    Sapi4Speak("x");  // a marker: a text not handed over leaves it as the last one
    Sapi4Stop();
    Keep().samples.clear();
    Sapi4Speak(c.text);
    EXPECT_EQ(Sapi4LastText(), c.handed.empty() ? "x" : c.handed) << c.text;
    ASSERT_TRUE(Quiet());
    EXPECT_EQ(Keep().samples.empty(), c.handed.empty()) << c.text;
  }
}

TEST_F(EspeakTest, CountsFollowTheLibraryAndTheSound) {
  ASSERT_TRUE(Start(0, false));  // the wave output, playing in real time
  EXPECT_FALSE(Sapi4IsSpeaking(0));
  Sapi4Speak("Bom dia, tudo bem? Hoje o dia est\xE1 bonito e vamos passear no parque.");
  EXPECT_TRUE(Sapi4IsSpeaking(1));  // handed over counts at once
  // the library finishes its five seconds of sound long before they have played
  ASSERT_TRUE(WaitQuiet([] { return Sapi4IsSpeaking(1); }, 10));
  EXPECT_EQ(Sapi4PendingCount(), 0);
  EXPECT_TRUE(Sapi4IsSpeaking(0));
  EXPECT_TRUE(Sapi4AudioPlaying());
  ASSERT_TRUE(Quiet());
  EXPECT_FALSE(Sapi4AudioPlaying());
}

TEST_F(EspeakTest, StopSilencesAndBothFormsAnswerFalse) {
  ASSERT_TRUE(Start(0, false));
  Sapi4Speak(std::string(2000, 'a') + " fim");
  ASSERT_TRUE(WaitQuiet([] { return !Sapi4AudioPlaying() && Sapi4IsSpeaking(0); }, 10));
  Sapi4Stop();
  EXPECT_FALSE(Sapi4IsSpeaking(1));
  EXPECT_FALSE(Sapi4IsSpeaking(0));
  EXPECT_EQ(waveout::QueuedCount(), 0);
  // a stop request stops it too, at the next look
  Sapi4Speak("Bom dia, tudo bem?");
  Keep().stop = true;
  EXPECT_FALSE(Sapi4IsSpeaking(0));
  EXPECT_FALSE(Sapi4IsSpeaking(1));
}

TEST_F(EspeakTest, AStopRequestDropsTheTextOnlyWithStopOnKey) {
  ASSERT_TRUE(Start());
  Keep().stop = true;
  Sapi4Speak("um");
  EXPECT_FALSE(Sapi4IsSpeaking(1));
  waveout::Flags().StopOnKey = false;
  Sapi4Speak("dois");
  EXPECT_EQ(Sapi4LastText(), "dois");
}

TEST_F(EspeakTest, VoiceNumbers) {
  std::vector<VoiceEntry> voices;
  std::string why;
  ASSERT_TRUE(Sapi4Voices(voices, why));
  ASSERT_GE(voices.size(), 2u);
  EXPECT_EQ(voices[0].language, "pt-br");
  const struct {
    int voice;
    size_t index;
    bool warned;
  } cases[] = {{0, 0, false}, {-1, 0, false}, {1, 0, false}, {2, 1, false},
               {static_cast<int>(voices.size()), voices.size() - 1, false},
               {static_cast<int>(voices.size()) + 1, 0, true}};
  for (const auto& c : cases) {
    Keep().reports.clear();
    Keep().samples.clear();
    ASSERT_TRUE(Start(c.voice)) << c.voice;
    EXPECT_EQ(Reported("n\xE3o existe"), c.warned) << c.voice;
    Sapi4Speak("Bom dia");
    ASSERT_TRUE(Quiet());
    EXPECT_GT(Keep().samples.size(), 5000u) << c.voice;
  }
}

TEST_F(EspeakTest, SpeedIsWordsPerMinuteAndPitchIsHertz) {
  const struct {
    int wpm, rate;
  } rates[] = {{0, 175}, {80, 80}, {3, 80}, {200, 200}, {1000, 450}, {-5, 80}};
  for (const auto& r : rates) EXPECT_EQ(EspeakRateFor(r.wpm), r.rate) << r.wpm;
  const struct {
    int hertz, pitch;
  } pitches[] = {{0, 50}, {-3, 50}, {107, 50}, {72, 1}, {160, 99}, {300, 100}, {20, 0}};
  for (const auto& p : pitches) EXPECT_EQ(EspeakPitchFor(p.hertz), p.pitch) << p.hertz;
  // twice the speed, about half the sound
  size_t sizes[2] = {};
  for (int i = 0; i < 2; ++i) {
    Keep().samples.clear();
    ASSERT_TRUE(Start(1, true, i == 0 ? 150 : 300));
    Sapi4Speak("Bom dia, tudo bem? Hoje o dia est\xE1 bonito.");
    ASSERT_TRUE(Quiet());
    sizes[i] = Keep().samples.size();
  }
  EXPECT_NEAR(static_cast<double>(sizes[1]) / sizes[0], 0.5, 0.1);
}

TEST_F(EspeakTest, LongTextIsSpokenInPiecesAndNothingIsLost) {
  ASSERT_TRUE(Start());
  std::string text;
  while (text.size() < 64001) text += "a ";
  text.resize(64001);
  Sapi4Speak(text);
  EXPECT_TRUE(Sapi4IsSpeaking(1));
  EXPECT_EQ(Sapi4LastText().size(), 64001u - 64000u);  // the second piece
  Sapi4Stop();
}

TEST_F(EspeakTest, OutputFileGetsAWholeWav) {
  const fs::path file = support::TestScratch() / "espeak.wav";
  ASSERT_TRUE(Start(1, false, 0, file.string()));
  Sapi4Speak("Bom dia, tudo bem?");
  Sapi4End();
  std::ifstream in(file, std::ios::binary);
  const std::string wav((std::istreambuf_iterator<char>(in)), {});
  fs::remove(file);
  ASSERT_GT(wav.size(), 44u);
  uint32_t rate = 0, data = 0;
  std::memcpy(&rate, wav.data() + 24, 4);
  std::memcpy(&data, wav.data() + 40, 4);
  EXPECT_EQ(rate, 22050u);
  EXPECT_EQ(data, wav.size() - 44);
  EXPECT_NEAR(data / 2.0 / rate, 1.3, 0.4);  // "Bom dia, tudo bem?" lasts about 1.3 s
  EXPECT_TRUE(platform::PcmPlayedBlocks().empty());
}

TEST_F(EspeakTest, FailedStartsSayWhy) {
  Sapi4SetOutput(Output(false));
  EXPECT_FALSE(Sapi4Start(1, 0, 0, "/nao/existe/saida.wav"));
  EXPECT_NE(Sapi4StartFailure().find("n\xE3o p\xF4" "de ser criado"), std::string::npos);
  HideLibrary("libespeak-ng");
  EXPECT_FALSE(Sapi4Start(1, 0, 0, ""));
  EXPECT_NE(Sapi4StartFailure().find("libespeak-ng.so.1"), std::string::npos);
  Sapi4Speak("nada");  // no engine: nothing, no crash
  EXPECT_FALSE(Sapi4IsSpeaking(0));
  HideLibrary("");
  EXPECT_TRUE(Sapi4Start(1, 0, 0, ""));
  EXPECT_EQ(Sapi4StartFailure(), "");
}

}  // namespace
}  // namespace bridges_test
