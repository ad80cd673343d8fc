// TIRLA: tests of the normalisation stage's file and of any text through it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsPreproc.h"
#include "platform/report.h"
#include "support/test_kit.h"

namespace {

const std::string kShipped = std::string(TIRLA_SOURCE_DIR) + "/data/orvia/portug.nrm";

class Normal : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsNormal::StartNormal();
    uttsPreproc::StartPreproc();
  }
  void TearDown() override { platform::SetReportSink({}); }
};

TEST_F(Normal, WithoutItsFileTheStageChangesNothing) {
  EXPECT_FALSE(uttsNormal::LoadNormalData((support::TestScratch() / "missing.nrm").string()));
  EXPECT_EQ(uttsNormal::NormalizeText("R$ 10 em 05/10/2026, IBGE"), "R$ 10 em 05/10/2026, IBGE");
}

TEST_F(Normal, LinesItCannotUseAreReportedAndSkipped) {
  support::KeptReports reports;
  ASSERT_TRUE(uttsNormal::LoadNormalData(support::WriteScratchFile(
      "bad.nrm", "[MESES]\n13 = demais\n10 = outubro\n[OUTRA]\nx = y\n[UNIDADES]\nkm = um\n"
                 "km = quil\xF4metro, quil\xF4metros\n[ROMANOS]\ns\xE9" "culo = x\n[SIGLAS]\nA = B\n")));
  for (const char* line : {"13 = demais", "[OUTRA]", "km = um", "culo = x", "A = B"})
    EXPECT_TRUE(reports.Mention(line)) << line;
  EXPECT_EQ(uttsNormal::NormalizeText("1 km em 05/10"), "1 quil\xF4metro em 5 de outubro");
}

TEST_F(Normal, AnyBytesEndWithoutHarm) {
  ASSERT_TRUE(uttsNormal::LoadNormalData(kShipped));
  std::mt19937 random(7);
  const std::string pieces[] = {"R$", "US$", "\x80", "1", "05", "/", ":", "h", "min", ".", ",",
                                "\xBA", "\xAA", "IBGE", "XIV", "s\xE9" "culo", " ", "km", "-",
                                "2026", "\xF0\x9F\x98\x80", "\xE2\x9D\xA4", "\xFE\xFF"};
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int k = random() % 12; k > 0; --k) text += pieces[random() % std::size(pieces)];
    for (int k = random() % 3; k > 0; --k) text += static_cast<char>(random() % 256);
    const std::string out = uttsNormal::NormalizeText(text);
    EXPECT_LE(out.size(), text.size() * 40 + 40) << text;
    uttsNormal::NameEmoji(text);
  }
}

}  // namespace
