// TIRLA: the driver's two modes on the in-memory window.
#include <gtest/gtest.h>

#include "console/console.h"
#include "driver/driver.h"
#include "platform/video_memory.h"

namespace {

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
  }
  // Runs a mode that ends the program; returns its exit code.
  template <typename Mode>
  int RunToExit(Mode mode) {
    try {
      mode();
    } catch (const platform::ProcessExit& exit) {
      return exit.code;
    }
    ADD_FAILURE() << "the mode returned";
    return -1;
  }
  static std::string Row(int row) {
    std::string text = platform::MemoryRowText(row);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
};

TEST_F(DriverTest, CommandLineWritesTheTextInAThreeRowWindow) {
  const int code = RunToExit([] { driver::RunCommandLine("/usr/bin/tirla bom dia"); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(platform::MemoryVideo().rows, 3);
  EXPECT_EQ(platform::MemoryVideo().title, "TIRLA");
  EXPECT_EQ(Row(0), "bom dia");
}

TEST_F(DriverTest, InteractiveLinesGetTheirPhoneticTextAndFimEnds) {
  // An empty line repeats the previous one; "Fim" and " fim" do not end the loop.
  platform::PushTyped("casa\r\rFim\r fim\rfim\r");
  const int code = RunToExit([] { driver::RunInteractive(); });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Row(0), "Teste do sintetizador do Tolvan");
  EXPECT_EQ(Row(1), "Tecle fim para terminar");
  // Each line is echoed as typed, then written with its transcription after it.
  EXPECT_EQ(Row(2), "casa");
  EXPECT_EQ(Row(3).rfind("casa[", 0), 0u) << Row(3);
  EXPECT_EQ(Row(3).back(), ']') << Row(3);
  EXPECT_EQ(Row(4), "");     // the empty line's echo
  EXPECT_EQ(Row(5), Row(3));  // the previous line again
  EXPECT_EQ(Row(6), "Fim");
  EXPECT_EQ(Row(8), " fim");
  EXPECT_EQ(Row(10), "fim");
  EXPECT_EQ(Row(11).rfind("fim", 0), 0u);
  EXPECT_GT(Row(11).size(), 3u);
}

TEST_F(DriverTest, InteractiveWithoutRuleFilesSaysSoAndEnds) {
  // No configured unit directory, and a default one without files.
  const char* saved = getenv("TOLVAN_PREFIX");
  setenv("TOLVAN_PREFIX", "/nonexistent", 1);
  const int code = RunToExit([] { driver::RunInteractive(); });
  if (saved) setenv("TOLVAN_PREFIX", saved, 1); else unsetenv("TOLVAN_PREFIX");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Row(0), "Erro de inicializa\xE7\xE3o");
  EXPECT_EQ(Row(1).rfind("verifique os arquivos", 0), 0u);
}

}  // namespace
