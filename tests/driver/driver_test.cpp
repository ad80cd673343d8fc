// TIRLA: the driver's two modes on the in-memory window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "driver/driver.h"
#include "platform/audio/pcm.h"
#include "platform/keys.h"
#include "platform/memory/video_memory.h"
#include "platform/report.h"
#include "support/test_kit.h"

namespace {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
    platform::PcmUseMemoryDevice(true);  // spoken lines are recorded, not played
    platform::PcmForgetPlayed();
  }
  void TearDown() override { platform::PcmUseMemoryDevice(false); }
  static std::string Row(int row) {
    std::string text = platform::MemoryRowText(row);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
};

TEST_F(DriverTest, CommandLineWritesTheTextInAThreeRowWindow) {
  const int code = support::ExitCodeOf([] { driver::RunCommandLine("/usr/bin/tirla bom dia"); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(platform::MemoryVideo().rows, 3);
  EXPECT_EQ(platform::MemoryVideo().title, "TIRLA");
  EXPECT_EQ(Row(0), "bom dia");
}

TEST_F(DriverTest, InteractiveLinesGetTheirPhoneticTextAndFimEnds) {
  // An empty line repeats the previous one; "Fim" and " fim" do not end the loop.
  platform::PushTyped("casa\r\rFim\r fim\rfim\r");
  const int code = support::ExitCodeOf([] { driver::RunInteractive(); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Row(0), "Teste do sintetizador do Tolvan");
  EXPECT_EQ(Row(1), "Tecle fim para terminar");
  // Each line is written over its echo, followed by its transcription.
  EXPECT_EQ(Row(2).rfind("casa[", 0), 0u) << Row(2);
  EXPECT_EQ(Row(2).back(), ']') << Row(2);
  EXPECT_EQ(Row(3), Row(2));  // the empty line repeats the previous one
  EXPECT_EQ(Row(4).rfind("Fim[", 0), 0u) << Row(4);
  EXPECT_EQ(Row(5).rfind(" fim[", 0), 0u) << Row(5);
  EXPECT_EQ(Row(6).rfind("fim[", 0), 0u) << Row(6);
  EXPECT_EQ(Row(7), "");
  // every line was spoken by the diphone synthesizer: 8-bit sound at 11025 per second
  ASSERT_GE(platform::PcmPlayedBlocks().size(), 5u);
  for (const auto& block : platform::PcmPlayedBlocks()) {
    EXPECT_EQ(block.format.rate, 11025);
    EXPECT_EQ(block.format.bits, 8);
  }
}

TEST_F(DriverTest, ALongLineIsWrittenOverItsWrappedEcho) {
  const std::string line(100, 'a');
  // Typed in pieces, as a person types: the key queue holds 64 codes.
  std::string rest = line + "\rfim\r";
  platform::MemoryVideo().on_wait = [&rest] {
    if (rest.empty()) return;
    platform::PushTyped(rest.substr(0, 40));
    rest.erase(0, 40);
  };
  EXPECT_EQ(support::ExitCodeOf([] { driver::RunInteractive(); }), 0);
  EXPECT_EQ(Row(2), line.substr(0, 80));
  EXPECT_EQ(Row(3).rfind(line.substr(80) + "[", 0), 0u) << Row(3);
  // The next line starts on the row after the transcription, written over its echo too.
  int fim_row = 4;
  while (fim_row < 24 && Row(fim_row).rfind("fim", 0) != 0) ++fim_row;
  EXPECT_EQ(Row(fim_row).rfind("fim[", 0), 0u) << Row(fim_row);
  EXPECT_EQ(Row(fim_row + 1), "");
}

TEST_F(DriverTest, InteractiveWithoutRuleFilesSaysSoEveryWayAndFails) {
  // No configured unit directory, and a default one without files.
  const char* saved = getenv("TOLVAN_PREFIX");
  setenv("TOLVAN_PREFIX", "/nonexistent", 1);
  platform::SetReportSink(console::ConsoleReportSink());  // as the program does
  testing::internal::CaptureStderr();
  const int code = support::ExitCodeOf([] { driver::RunInteractive(); });
  const std::string error = testing::internal::GetCapturedStderr();
  platform::SetStandardErrorSink();
  if (saved) setenv("TOLVAN_PREFIX", saved, 1); else unsetenv("TOLVAN_PREFIX");
  EXPECT_EQ(code, 1);  // a failed start is no success
  EXPECT_EQ(Row(0), "Erro de inicializa\xE7\xE3o");
  EXPECT_EQ(Row(1).rfind("verifique os arquivos", 0), 0u);
  EXPECT_NE(error.find("verifique os arquivos"), std::string::npos) << error;
  EXPECT_FALSE(platform::PcmPlayedBlocks().empty());  // the error beep at least
}

TEST_F(DriverTest, TheGreetingIsHeardBeforeTheFirstKey) {
  bool heard = false;
  bool typed = false;
  platform::MemoryVideo().on_wait = [&] {
    if (typed) return;
    heard = !platform::PcmPlayedBlocks().empty();
    typed = true;
    platform::PushTyped("fim\r");
  };
  EXPECT_EQ(support::ExitCodeOf([] { driver::RunInteractive(); }), 0);
  EXPECT_TRUE(heard);
}

TEST_F(DriverTest, LinesComeFromTheLineEditor) {
  // Its own configuration, with unit files (empty) for the synthesizer to start on.
  namespace fs = std::filesystem;
  const fs::path dir = support::TestScratch();
  fs::create_directories(dir / "letras");
  fs::create_directories(dir / "difones");
  for (const char* file : {"regras.rgr", "portug.exc"})
    fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, dir / "difones" / file);
  // no units: each index one nameless entry, never looked up
  for (const char* file : {"DIFONES2.IND", "DIFONES2.DIF", "DIFONES3.IND", "DIFONES3.DIF"})
    std::ofstream(dir / "difones" / file) << std::string(std::string(file).ends_with(".IND") ? 15 : 0, '\0');
  std::ofstream(dir / "TOLVAN.INI") << "[TRADUTOR]\nDIRDIFONES=" << (dir / "difones").string()
                                    << "\nDIRLETRAS=" << (dir / "letras").string()
                                    << "\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n";
  const char* saved = getenv("TOLVAN_WINDIR");
  const std::string saved_dir = saved ? saved : "";
  setenv("TOLVAN_WINDIR", dir.c_str(), 1);
  // A Left arrow moves in the line instead of typing a letter; Escape gives an empty line,
  // which repeats the one before.
  platform::PushTyped("ab");
  platform::PushKeyDown(platform::vk::kLeft);
  platform::PushTyped("c\rxyz");
  platform::PushChar(27);
  platform::PushTyped("fim\r");
  const int code = support::ExitCodeOf([] { driver::RunInteractive(); });
  setenv("TOLVAN_WINDIR", saved_dir.c_str(), 1);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Row(2).rfind("acb[", 0), 0u) << Row(2);
  EXPECT_EQ(Row(3), Row(2));
  EXPECT_EQ(Row(4).rfind("fim[", 0), 0u) << Row(4);
  EXPECT_EQ(Row(5), "");
}

}  // namespace
