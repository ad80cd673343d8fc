// TIRLA: tests of ORVIA's exceptions dictionary: loading and look-up with S and M endings.
#include <gtest/gtest.h>

#include "orvia/text/uttsPortug.h"
#include "orvia_test_files.h"

namespace {

class Exceptions : public ::testing::Test {
 protected:
  void SetUp() override { uttsPortug::StartPortug(); }

  std::string Look(std::string word) {
    uttsPortug::LookUpException(word);
    return word;
  }
};

TEST_F(Exceptions, MissingFileFailsAndEmptyFileReplacesNothing) {
  EXPECT_FALSE(uttsPortug::LoadExceptions("/nonexistent/portug.exc"));
  ASSERT_TRUE(uttsPortug::LoadExceptions(orvia_test::WriteFile("empty.exc", "")));
  EXPECT_EQ(uttsPortug::ExceptionCount(), 0);
  EXPECT_EQ(Look("CASAS"), "CASAS");
}

TEST_F(Exceptions, FileIsUpperCasedAndRemarksAndCarriageReturnsAreDropped) {
  ASSERT_TRUE(uttsPortug::LoadExceptions(
      orvia_test::WriteFile("a.exc", "ela=\xE9la|open e\r\n\nBOLA=B\xD3LA\nsemigual\n")));
  EXPECT_EQ(uttsPortug::ExceptionCount(), 3);
  EXPECT_EQ(Look("ELA"), "\xC9LA");
  EXPECT_EQ(Look("BOLA"), "B\xD3LA");
  // A line without "=" gives a word ending in "|", which no word matches.
  EXPECT_EQ(Look("SEMIGUAL"), "SEMIGUAL");
}

TEST_F(Exceptions, FinalSAndMAreStrippedOneByOneAndPutBack) {
  ASSERT_TRUE(uttsPortug::LoadExceptions(orvia_test::WriteFile("b.exc", "ERA=\xC9RA\nPA=P\xC1\n")));
  EXPECT_EQ(Look("ERAS"), "\xC9RAS");
  EXPECT_EQ(Look("ERAM"), "\xC9RAM");
  EXPECT_EQ(Look("PASS"), "P\xC1SS");  // two letters stripped
  EXPECT_EQ(Look("PAMS"), "P\xC1MS");
  EXPECT_EQ(Look("PAT"), "PAT");       // only S and M are stripped
  EXPECT_EQ(Look("SSS"), "SSS");       // stripping to nothing gives the word back
  EXPECT_EQ(Look(""), "");
}

TEST_F(Exceptions, TableHoldsAtMostFifteenThousandEntries) {
  std::string text;
  for (int i = 0; i < 15010; ++i) text.append("W").append(std::to_string(i)).append("=X\n");
  ASSERT_TRUE(uttsPortug::LoadExceptions(orvia_test::WriteFile("big.exc", text)));
  EXPECT_EQ(uttsPortug::ExceptionCount(), 15000);
  EXPECT_EQ(Look("W14999"), "X");
  EXPECT_EQ(Look("W15000"), "W15000");
}

}  // namespace
