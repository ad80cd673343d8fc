// TIRLA: the fonetica program: UTF-8 lines in, phonetic text out, and its failure exit.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "translator_test_util.h"

namespace {

struct ProgramRun {
  std::string out;  // standard output and standard error together
  int status = -1;  // exit status
};

ProgramRun RunFonetica(const std::string& folder, const std::string& input) {
  const std::string in = (support::TestScratch() / "fonetica_in.txt").string();
  FILE* f = std::fopen(in.c_str(), "wb");
  std::fwrite(input.data(), 1, input.size(), f);
  std::fclose(f);
  const std::string command = std::string(TIRLA_BUILD_DIR) + "/bin/fonetica '" + folder + "' < '" +
                              in + "' 2>&1";
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

TEST(Fonetica, PrintsOneLineOfPhoneticTextPerInputLine) {
  const ProgramRun run = RunFonetica(translator_test::ShippedDataDir(), "casa\r\nn\xC3\xA3o\n\nbcd\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "[ k/A/ z/a]\n[ n/A~w]\n\n[ /_b][ /_c][ /_d]\n");
}

TEST(Fonetica, MissingRulesFileFailsWithAMessage) {
  const ProgramRun run = RunFonetica((support::TestScratch() / "nada").string(), "casa\n");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.out.find("arquivo de regras"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("[ k"), std::string::npos);
}


TEST(Fonetica, RulesFileThatIsAFolderFailsSayingSo) {
  const std::filesystem::path folder = support::TestScratch() / "pasta-regras";
  std::filesystem::create_directories(folder / "regras.rgr");
  const ProgramRun run = RunFonetica(folder.string(), "casa\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.out.find("regras.rgr: é uma pasta"), std::string::npos) << run.out;
}

TEST(Fonetica, InputWithoutLineEndsIsTranslatedInPieces) {
  const ProgramRun run = RunFonetica(translator_test::ShippedDataDir(),
                                     std::string(3u << 20, 'a'));  // three pieces of 1 MiB
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
}

}  // namespace
