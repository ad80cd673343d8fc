// TIRLA: tests of the RHVoice bridge on the real library and its Brazilian voice.

#include <cstring>
#include <filesystem>
#include <fstream>

#include "bridges/library.h"
#include "bridges/rhvoiceBridge.h"
#include "bridges_fixture.h"
#include "support/test_kit.h"

namespace bridges_test {
namespace {

using namespace bridges;
namespace fs = std::filesystem;

class RhvoiceTest : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    StartRhvoiceBridge();
    std::vector<VoiceEntry> voices;
    std::string why;
    if (!Sapi54Voices(voices, why) || voices.empty())
      GTEST_SKIP() << "RHVoice: " << (why.empty() ? "nenhuma voz instalada" : why);
  }
  void TearDown() override {
    Sapi54End();
    HideLibrary("");
    BridgeTest::TearDown();
  }
  bool Start(int voice, int rate = 0, bool sink = true, std::string_view file = "") {
    Sapi54SetOutput(Output(sink));
    return Sapi54Start(voice, rate, file);
  }
  static bool Quiet(double seconds = 30) { return WaitQuiet(Sapi54IsSpeaking, seconds); }
  // Samples of one text spoken alone.
  static size_t Spoken(std::string_view text) {
    Keep().samples.clear();
    Sapi54Speak(text);
    EXPECT_TRUE(Quiet());
    return Keep().samples.size();
  }
};

constexpr const char* kSentence = "Bom dia, tudo bem?";

TEST_F(RhvoiceTest, SpeakReturnsAtOnceAndIsSpeakingFollowsPlayback) {
  ASSERT_TRUE(Start(1, 0, false));  // the wave output, playing in real time
  EXPECT_FALSE(Sapi54IsSpeaking());
  Sapi54Speak(kSentence);
  EXPECT_TRUE(Sapi54IsSpeaking());
  EXPECT_TRUE(platform::HasPostedMessage());  // the wake-up for waits
  ASSERT_TRUE(Quiet());
  EXPECT_EQ(waveout::QueuedCount(), 0);
}

TEST_F(RhvoiceTest, WrongVoiceNumbersTakeTheFirstVoiceAtRateZero) {
  ASSERT_TRUE(Start(1, 0));
  const size_t normal = Spoken(kSentence);
  ASSERT_GT(normal, 16000u);
  EXPECT_NEAR(Keep().rate, 24000, 8000);
  ASSERT_TRUE(Start(1, 10));
  EXPECT_NEAR(static_cast<double>(Spoken(kSentence)) / normal, 0.5, 0.1);  // twice as fast
  ASSERT_TRUE(Start(1, -10));
  EXPECT_NEAR(static_cast<double>(Spoken(kSentence)) / normal, 2.0, 0.3);
  for (int voice : {0, -1, 99}) {
    Keep().reports.clear();
    ASSERT_TRUE(Start(voice, 10)) << voice;
    EXPECT_EQ(Spoken(kSentence), normal) << voice;  // the rate was dropped
    EXPECT_EQ(Reported("n\xE3o existe"), voice != 0);
  }
}

TEST_F(RhvoiceTest, EmptyBlankAndControlTextsAreHarmless) {
  ASSERT_TRUE(Start(1));
  for (const char* text : {"", " ", "\x01\x02\x03", "\r\n"}) EXPECT_LT(Spoken(text), 2400u) << text;
  EXPECT_TRUE(Keep().reports.empty());
}

TEST_F(RhvoiceTest, StopPurgesEverything) {
  ASSERT_TRUE(Start(1, 0, false));
  for (int i = 0; i < 5; ++i) Sapi54Speak("Um texto longo que ainda vai ser falado por um tempo.");
  ASSERT_TRUE(WaitQuiet([] { return waveout::QueuedCount() == 0; }, 20));
  Sapi54Stop();
  EXPECT_FALSE(Sapi54IsSpeaking());
  EXPECT_EQ(waveout::QueuedCount(), 0);
  platform::PumpFor(200);  // nothing comes back later
  EXPECT_EQ(waveout::QueuedCount(), 0);
  Sapi54Speak(kSentence);  // and the next text speaks
  EXPECT_TRUE(Sapi54IsSpeaking());
  Keep().stop = true;  // a stop request ends it at the next look
  EXPECT_FALSE(Sapi54IsSpeaking());
}

TEST_F(RhvoiceTest, OutputFileAndFailedStarts) {
  const fs::path file = support::TestScratch() / "rhvoice.wav";
  ASSERT_TRUE(Start(1, 0, false, file.string()));
  Sapi54Speak(kSentence);
  Sapi54End();
  std::ifstream in(file, std::ios::binary);
  const std::string wav((std::istreambuf_iterator<char>(in)), {});
  ASSERT_GT(wav.size(), 44u);
  uint32_t rate = 0, data = 0;
  std::memcpy(&rate, wav.data() + 24, 4);
  std::memcpy(&data, wav.data() + 40, 4);
  EXPECT_EQ(data, wav.size() - 44);
  EXPECT_NEAR(data / 2.0 / rate, 1.5, 0.5);
  // no voice in the data folder, then no library
  const fs::path empty = support::TestScratch() / "empty";
  fs::create_directories(empty);
  SetRhvoiceDataFolder(empty.string());
  EXPECT_FALSE(Start(1));
  EXPECT_FALSE(Sapi54StartFailure().empty());
  SetRhvoiceDataFolder("");
  HideLibrary("libRHVoice");
  EXPECT_FALSE(Start(1));
  EXPECT_NE(Sapi54StartFailure().find("libRHVoice.so.5"), std::string::npos);
  Sapi54Speak(kSentence);
  EXPECT_FALSE(Sapi54IsSpeaking());
}

}  // namespace
}  // namespace bridges_test
