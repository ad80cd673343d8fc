// TIRLA: shared set-up of the speech tests: clean modules, a memory sound device, a memory
// console, a scratch folder, and the fake or real mbrola program on PATH.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "orvia/engine/mbrola.h"
#include "orvia/engine/minireg.h"
#include "orvia/engine/uttsOrvia.h"
#include "platform/audio/pcm.h"
#include "platform/memory/video_memory.h"
#include "platform/messages.h"
#include "support/test_kit.h"

namespace speak_test {

namespace fs = std::filesystem;

// The installed br4 voice, when the machine has it.
inline const char* kRealVoice = "/usr/share/mbrola/br4/br4";

class SpeakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    unsetenv("FAKE_MBROLA");
    platform::ResetMessages();
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
    platform::PcmUseMemoryDevice(true);
    waveout::StartWaveOut();
    // wired as tirla wires them: a key stops the sound, reports reach the console
    waveout::SetStopToken({.context = nullptr, .Requested = [](void*) { return console::KeyWaiting(); }});
    platform::SetReportSink(console::ConsoleReportSink());
    minireg::StartMinireg();
    uttsOrvia::StartOrvia();
    uttsOrvia::OrviaSetPlayback(waveout::EngineSink());
  }

  void TearDown() override {
    uttsOrvia::StartOrvia();
    waveout::StartWaveOut();
    platform::PcmUseMemoryDevice(false);
    platform::ResetMessages();
    platform::SetStandardErrorSink();
    setenv("PATH", savedPath_.c_str(), 1);
    unsetenv("FAKE_MBROLA");
  }

  // A PATH whose only mbrola is the fake one (the real one stays reachable otherwise).
  void UseFakeMbrola() {
    const fs::path bin = dir_ / "bin";
    fs::create_directories(bin);
    fs::create_symlink(fs::path(TIRLA_SOURCE_DIR) / "tests/speak/fake_mbrola.py", bin / "mbrola");
    setenv("PATH", (bin.string() + ":" + savedPath_).c_str(), 1);
  }

  // A PATH without any mbrola.
  void HideMbrola() { setenv("PATH", (dir_ / "nothing").c_str(), 1); }

  // A file the fake program accepts as a voice.
  std::string FakeVoice() {
    const std::string voice = (dir_ / "voice").string();
    std::ofstream(voice) << "voice";
    return voice;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string file = (dir_ / name).string();
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  static std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dir_;
  std::string savedPath_;
};

inline uint32_t Le32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8 |
         static_cast<uint8_t>(s[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}
inline uint16_t Le16(const std::string& s, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

inline std::string U32(uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}
inline std::string U16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// A WAV file image: header with `fmtBody` (16 bytes or more), `between` chunks, then a data
// chunk that claims `claimed` bytes and holds `data`.
inline std::string WavBytes(int rate, int bits, int channels, const std::string& data,
                            const std::string& between = "", std::string fmtBody = "",
                            int64_t claimed = -1) {
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  if (fmtBody.empty())
    fmtBody = U16(1) + U16(static_cast<uint16_t>(channels)) + U32(static_cast<uint32_t>(rate)) +
              U32(static_cast<uint32_t>(rate) * align) + U16(align) +
              U16(static_cast<uint16_t>(bits));
  const uint32_t dataSize = claimed < 0 ? static_cast<uint32_t>(data.size())
                                        : static_cast<uint32_t>(claimed);
  std::string body = "WAVEfmt " + U32(static_cast<uint32_t>(fmtBody.size())) + fmtBody + between +
                     "data" + U32(dataSize) + data;
  return "RIFF" + U32(static_cast<uint32_t>(body.size())) + body;
}

// Sizes of the blocks the memory device took.
inline std::vector<size_t> PlayedSizes() {
  std::vector<size_t> sizes;
  for (const auto& block : platform::PcmPlayedBlocks()) sizes.push_back(block.bytes.size());
  return sizes;
}

}  // namespace speak_test
