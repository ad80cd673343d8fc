// TIRLA: cutting the program path off the command line.
#include <gtest/gtest.h>

#include "driver/driver.h"

namespace {

TEST(CommandLine, CutsPlainAndQuotedProgramPaths) {
  EXPECT_EQ(driver::CutProgramPath("/usr/bin/tirla bom dia"), "bom dia");
  EXPECT_EQ(driver::CutProgramPath("\"/opt/meus programas/tirla\" bom dia"), "bom dia");
  // Only the first blank goes: the text keeps the others.
  EXPECT_EQ(driver::CutProgramPath("/usr/bin/tirla   bom dia"), "  bom dia");
}

TEST(CommandLine, UnclosedQuoteOrNoTextLeavesNothing) {
  EXPECT_EQ(driver::CutProgramPath("\"/opt/meus programas/tirla bom dia"), "");
  EXPECT_EQ(driver::CutProgramPath("\""), "");
  EXPECT_EQ(driver::CutProgramPath("/usr/bin/tirla"), "");
  EXPECT_EQ(driver::CutProgramPath(""), "");
}

TEST(CommandLine, BuildsTheProcessLineInTheConsoleCodePage) {
  char path[] = "/opt/meus programas/tirla";
  char word1[] = "ol\xC3\xA1";  // "olá" in UTF-8
  char word2[] = "voc\xC3\xAA";
  char* argv[] = {path, word1, word2};
  const std::string line = driver::ProcessCommandLine(3, argv);
  EXPECT_EQ(line, "\"/opt/meus programas/tirla\" ol\xE1 voc\xEA");
  EXPECT_EQ(driver::CutProgramPath(line), "ol\xE1 voc\xEA");
}

}  // namespace

TEST(CommandLine, ChoosesTheTerminalWhenAskedOrWhenThereIsNoDisplay) {
  struct Row {
    bool option, display, input_terminal;
    driver::Screen expected;
  };
  using enum driver::Screen;
  const Row rows[] = {
      // --terminal  display named  stdin a terminal  screen
      {true,         true,          false,            kTerminal},
      {false,        false,         true,             kTerminal},
      {false,        true,          true,             kWindow},
      {false,        false,         false,            kWindow},  // the window says it cannot open
  };
  for (const Row& row : rows)
    EXPECT_EQ(driver::ChooseScreen(row.option, row.display, row.input_terminal), row.expected)
        << row.option << row.display << row.input_terminal;
}
