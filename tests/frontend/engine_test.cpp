// TIRLA: tests of the engine choice: a configured bridge speaking through the wave output, and
// a bridge that cannot start telling why while the built-in synthesizer takes over.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bridges/library.h"
#include "console/console.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/config.h"
#include "frontend/dispatch.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "platform/audio/pcm.h"
#include "platform/memory/video_memory.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;

class EngineChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    fs::create_directories(dir_ / "difones");
    for (const char* file : {"regras.rgr", "portug.exc"})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, dir_ / "difones" / file);
    std::ofstream(dir_ / "difones/DIFONES3.IND") << std::string(15, '\0');  // no units
    std::ofstream(dir_ / "difones/DIFONES3.DIF");
    const char* saved = getenv("TOLVAN_WINDIR");
    saved_ = saved ? saved : "";
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
    platform::ResetMessages();
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
    platform::PcmUseMemoryDevice(true);
    waveout::StartWaveOut();
    synth::StartSynth();
    frontend::StartConfig();
    frontend::StartFrontEnd();
  }
  void TearDown() override {
    frontend::EndSpeech();
    bridges::HideLibrary("");
    platform::PcmUseMemoryDevice(false);
    setenv("TOLVAN_WINDIR", saved_.c_str(), 1);
  }
  // Starts speech with [TRADUTOR] SAPI on and engine `type`.
  void StartWith(int type) {
    std::ofstream(dir_ / "TOLVAN.INI") << "[TRADUTOR]\nDIRDIFONES=" << (dir_ / "difones").string()
                                       << "\nSAPI=S\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n"
                                       << "[ROREVAZO]\nTIPOSAPI=" << type << "\nVOZ=0\n";
    frontend::StartSpeech(3, "");
  }
  fs::path dir_;
  std::string saved_;
  support::KeptReports reports_;  // from before SetUp to after TearDown
};

TEST_F(EngineChoiceTest, AConfiguredBridgeSpeaksThroughTheWaveOutput) {
  StartWith(4);
  ASSERT_TRUE(frontend::EngineActive()) << (reports_.texts().empty() ? "" : reports_.texts()[0]);
  frontend::SpeakText("Bom dia, tudo bem?");
  frontend::WaitEngineSpeech();
  size_t bytes = 0;
  for (const auto& block : platform::PcmPlayedBlocks()) {
    EXPECT_EQ(block.format.rate, 22050);
    EXPECT_EQ(block.format.bits, 16);
    bytes += block.bytes.size();
  }
  EXPECT_NEAR(bytes / 2.0 / 22050, 1.3, 0.4);  // the sentence lasts about 1.3 s
}

TEST_F(EngineChoiceTest, ABridgeThatCannotStartSaysWhichAndWhy) {
  bridges::HideLibrary("libRHVoice");
  StartWith(54);
  EXPECT_FALSE(frontend::EngineActive());
  ASSERT_EQ(reports_.texts().size(), 1u);
  EXPECT_EQ(reports_.texts()[0], "o servi\xE7o de fala RHVoice n\xE3o iniciou: a biblioteca libRHVoice.so.5 "
                        "n\xE3o est\xE1 instalada; fala o sintetizador interno.");
}

}  // namespace
