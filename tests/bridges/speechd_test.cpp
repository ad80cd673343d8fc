// TIRLA: tests of the Speech Dispatcher bridge on a private instance of the service, started
// for each test with its own socket and configuration; its modules write WAV files and take as
// long as the sound lasts, so no sound card is needed.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "bridges/speechdBridge.h"
#include "bridges_fixture.h"
#include "support/test_kit.h"

namespace bridges_test {
namespace {

using namespace bridges;
namespace fs = std::filesystem;

class SpeechdTest : public BridgeTest {
 protected:
  void SetUp() override {
    BridgeTest::SetUp();
    StartSpeechdBridge();
    dir_ = support::TestScratch();
    const std::string address = Service("start");
    if (address.rfind("unix_socket:", 0) != 0)
      GTEST_SKIP() << "no private Speech Dispatcher could be started: " << address;
    setenv("SPEECHD_ADDRESS", address.c_str(), 1);
    platform::PcmUseMemoryDevice(true);  // the warning beep
  }
  void TearDown() override {
    Sapi5Stop();
    Sapi5End();
    Service("stop");
    unsetenv("SPEECHD_ADDRESS");
    BridgeTest::TearDown();
  }
  // Runs the private service's script; what it printed.
  std::string Service(const char* action) {
    // only the two known modules: the voice numbers depend on the list
    const std::string command = "SD_ORVIA=none " + std::string(TIRLA_SOURCE_DIR) +
                                "/scripts/speechd-private.sh " +
                                action + " " + dir_.string() + " 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char line[512];
      while (fgets(line, sizeof line, pipe)) out += line;
      pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }
  // The lines a module noted: "voice rate text".
  std::string Noted(const char* module) {
    std::ifstream in(dir_ / "out" / (std::string(module) + ".log"));
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }
  bool Start(int voice, int rate = 0) {
    Sapi5SetOutput(Output(false));
    return Sapi5Start(voice, rate, "");
  }
  static bool Quiet(double seconds = 20) { return WaitQuiet(Sapi5IsSpeaking, seconds); }
  fs::path dir_;
};

TEST_F(SpeechdTest, PairsAreNumberedPortugueseFirst) {
  std::vector<VoiceEntry> pairs;
  std::string why;
  ASSERT_TRUE(Sapi5Voices(pairs, why)) << why;
  std::vector<std::string> seen;
  for (const VoiceEntry& p : pairs) seen.push_back(p.detail + "/" + p.name);
  EXPECT_EQ(seen, (std::vector<std::string>{"tirlaum/pt-br", "tirladois/pt-br+m3", "tirladois/pt",
                                            "tirlaum/en"}));
}

TEST_F(SpeechdTest, VoiceNumberSelectsThePairAndRate) {
  const struct {
    int voice, rate;
    const char* module;
    const char* noted;  // what the module was asked: voice and rate
  } cases[] = {
      {1, 3, "tirlaum", "pt-br 205.00"},
      {2, -2, "tirladois", "pt-br+m3 155.00"},
      {4, 10, "tirlaum", "en 275.00"},
      {0, 5, "tirlaum", "pt-br 175.00"},   // the first pair, and the rate dropped
      {-1, 5, "tirlaum", "pt-br 175.00"},
      {5, 5, "tirlaum", "pt-br 175.00"},   // past the list
      {3, 99, "tirladois", "pt 275.00"},   // the rate kept within −10..10
  };
  for (const auto& c : cases) {
    fs::remove(dir_ / "out" / (std::string(c.module) + ".log"));
    ASSERT_TRUE(Start(c.voice, c.rate)) << c.voice;
    Sapi5Speak("ok");
    ASSERT_TRUE(Quiet()) << c.voice;
    EXPECT_EQ(Noted(c.module), std::string(c.noted) + " ok\n") << c.voice;
  }
}

TEST_F(SpeechdTest, SpeakIsAsynchronousAndTheEndEventEndsIt) {
  ASSERT_TRUE(Start(1));
  EXPECT_FALSE(Sapi5IsSpeaking());
  Sapi5Speak("Bom dia, tudo bem?");
  EXPECT_TRUE(Sapi5IsSpeaking());  // the module takes as long as the sound
  EXPECT_TRUE(platform::HasPostedMessage());
  ASSERT_TRUE(Quiet());
  std::ifstream wav(dir_ / "out/tirlaum.wav", std::ios::binary | std::ios::ate);
  EXPECT_NEAR((static_cast<double>(wav.tellg()) - 44) / 44100, 1.3, 0.4);
  Sapi5Speak("");  // a blank: nothing to hear, and it ends
  ASSERT_TRUE(Quiet());
  Sapi5Speak("\x01\x02");
  ASSERT_TRUE(Quiet());
}

TEST_F(SpeechdTest, StopPurgesEverythingQueued) {
  ASSERT_TRUE(Start(1));
  for (int i = 0; i < 3; ++i) Sapi5Speak("Um texto longo que ainda vai ser falado por um tempo.");
  Sapi5Speak(std::string(64001, 'a'));  // no buffer to overflow: it queues like the others
  EXPECT_TRUE(Sapi5IsSpeaking());
  Sapi5Stop();
  EXPECT_FALSE(Sapi5IsSpeaking());
  platform::PumpFor(300);
  EXPECT_FALSE(Sapi5IsSpeaking());  // late cancel events change nothing
  EXPECT_EQ(Noted("tirlaum").find("tempo.\n"), Noted("tirlaum").rfind("tempo.\n"));  // one began
  Sapi5Speak("ok");
  EXPECT_TRUE(Sapi5IsSpeaking());
  Keep().stop = true;
  EXPECT_FALSE(Sapi5IsSpeaking());
}

TEST_F(SpeechdTest, NoFileOutputAndNoServiceFailTheStart) {
  Sapi5SetOutput(Output(false));
  EXPECT_FALSE(Sapi5Start(1, 0, "saida.wav"));
  EXPECT_NE(Sapi5StartFailure().find("n\xE3o grava arquivos"), std::string::npos);
  Service("stop");
  EXPECT_FALSE(Start(1));
  EXPECT_NE(Sapi5StartFailure().find("n\xE3o est\xE1 rodando"), std::string::npos)
      << Sapi5StartFailure();
}

TEST_F(SpeechdTest, ServiceDyingBetweenTextsIsToldAndSurvived) {
  ASSERT_TRUE(Start(1));
  Sapi5Speak("Bom dia, tudo bem? Como vai?");
  EXPECT_TRUE(Sapi5IsSpeaking());
  Service("stop");
  EXPECT_TRUE(WaitQuiet(Sapi5IsSpeaking, 5));  // its texts will never end: not speaking
  Sapi5Speak("outra");  // refused once the bridge has tried to connect again
  EXPECT_TRUE(WaitQuiet(Sapi5IsSpeaking, 5));
  EXPECT_TRUE(Reported("parou de responder"));
  EXPECT_FALSE(platform::PcmPlayedBlocks().empty());  // the beep
  // back again: the next text connects anew
  ASSERT_EQ(Service("start").rfind("unix_socket:", 0), 0u);
  Sapi5Speak("de volta");
  ASSERT_TRUE(Quiet());
  EXPECT_NE(Noted("tirlaum").find("de volta"), std::string::npos);
}

}  // namespace
}  // namespace bridges_test
