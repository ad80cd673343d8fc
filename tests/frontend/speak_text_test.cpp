// TIRLA: tests of the front-end's voicing of text, observed on what reaches the sound device:
// each recording holds "#<its name>#" as samples, so the played blocks tell which played.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/config.h"
#include "frontend/speech.h"
#include "platform/messages.h"
#include "platform/pcm.h"
#include "platform/video_memory.h"
#include "platform/wav.h"

namespace {

namespace fs = std::filesystem;

class SpeakTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tirla-speak-text-" + std::to_string(getpid()));
    fs::create_directories(dir_ / "letras");
    fs::create_directories(dir_ / "difones");
    for (const char* file : {"regras.rgr", "portug.exc"})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, dir_ / "difones" / file);
    std::ofstream(dir_ / "difones/DIFONES3.IND");  // no units: phrases give noise or nothing
    std::ofstream(dir_ / "difones/DIFONES3.DIF");
    for (int code = 33; code < 256; ++code) Record("_" + std::to_string(code));
    for (const char* word : {"_zero", "_MENOS", "_cinco", "_cento", "_vinte", "_e", "_tres"})
      Record(word);
    std::ofstream(dir_ / "TOLVAN.INI")
        << "[TRADUTOR]\nDIRDIFONES=" << (dir_ / "difones").string() << "\ndirLetras="
        << (dir_ / "letras").string() << "\n[SINTETIZADOR]\nDIFONES3=DIFONES3\nINTERPAL3=0\n";
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
    frontend::StartSpeech(3, "");
  }
  void TearDown() override {
    frontend::EndSpeech();
    platform::PcmUseMemoryDevice(false);
    setenv("TOLVAN_WINDIR", saved_.c_str(), 1);
    fs::remove_all(dir_);
  }
  void Record(const std::string& name) {
    std::ofstream(dir_ / "letras" / (name + ".wav"), std::ios::binary)
        << platform::MakeWavImage(11025, 8, 1, "#" + name.substr(1) + "#.");  // the device
                                                                            // silences the last byte
  }
  // What played since the last call: recordings by name, a run of other sound as "~".
  static std::vector<std::string> Played() {
    std::vector<std::string> names;
    for (const auto& block : platform::PcmPlayedBlocks()) {
      const std::string bytes(block.bytes.begin(), block.bytes.end());
      if (bytes.size() > 2 && bytes[0] == '#') {
        for (size_t at = 0; at < bytes.size() && bytes[at] == '#';) {  // joined recordings
          const size_t end = bytes.find('#', at + 1);
          if (end == std::string::npos) break;
          names.push_back(bytes.substr(at + 1, end - at - 1));
          at = end + 2;
        }
      } else if (names.empty() || names.back() != "~") {
        names.push_back("~");
      }
    }
    platform::PcmForgetPlayed();
    return names;
  }
  fs::path dir_;
  std::string saved_;
};

TEST_F(SpeakTextTest, RunsAreVoicedByTheirKind) {
  struct Case {
    const char* text;
    std::vector<std::string> played;
  };
  const Case cases[] = {
      {"bom dia, tudo bem.", {"~", "44", "~", "46"}},  // the last blank says nothing
      {"123", {"cento", "e", "vinte", "e", "tres"}},
      {"1234567", {"49", "50", "51", "52", "53", "54", "55"}},
      {"12-34", {"49", "50", "45", "51", "52"}},
      {"0", {"zero"}},
      {"00", {"zero", "zero"}},
      {"-5", {"MENOS", "cinco"}},
      {"www.", {"119", "119", "119", "46"}},
      {"a://bom", {"~", "58", "47", "47", "~"}},
      {"!!!!!!", {"33", "33", "33", "33", "~"}},  // then two clicks
  };
  for (const Case& c : cases) {
    Played();
    frontend::SpeakText(c.text);
    std::vector<std::string> played = Played();
    // a phrase of noise and the clicks both show as "~": a run of them counts once
    EXPECT_EQ(played, c.played) << c.text;
  }
}

TEST_F(SpeakTextTest, PausesFollowPunctuationWithABlankAfterIt) {
  const long before = platform::MemoryVideo().slept_ms;
  frontend::SpeakText("a, b.c");  // comma and blank: 150 ms; the full stop has no blank
  EXPECT_EQ(platform::MemoryVideo().slept_ms - before, 150);
  EXPECT_EQ(frontend::UpperCaseLatin1("a\xE7\xFF" "z1"), "A\xC7\xDF" "Z1");
}

TEST_F(SpeakTextTest, AWaitingKeyStopsTheTextAndStaysQueued) {
  platform::PushChar('x');
  frontend::SpeakText("bom dia 123");
  EXPECT_TRUE(Played().empty());
  EXPECT_TRUE(console::KeyWaiting());
}

}  // namespace
