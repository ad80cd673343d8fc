// TIRLA: code page conversion and profile file reading.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/profile.h"
#include "support/test_kit.h"

namespace {

TEST(CodePage, RoundTripsEveryByteThroughUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

TEST(CodePage, MapsPortugueseAndTypographicCharacters) {
  EXPECT_EQ(platform::Utf8ToCp1252("ação"), "a\xE7\xE3o");
  EXPECT_EQ(platform::Utf8ToCp1252("€ “x” …"), "\x80 \x93x\x94 \x85");
  EXPECT_EQ(platform::Cp1252ToUtf8("\x80"), "€");
}

TEST(CodePage, DropsCharactersOutsideTheCodePageAndKeepsStrayBytes) {
  EXPECT_EQ(platform::Utf8ToCp1252("a\xE4\xB8\xAD" "b"), "ab");    // a CJK character
  EXPECT_EQ(platform::Utf8ToCp1252("a\xF0\x9F\x98\x80" "b"), "ab");  // an emoji
  EXPECT_EQ(platform::Utf8ToCp1252("caf\xE9"), "caf\xE9");           // Latin-1 input
  EXPECT_EQ(platform::Utf8ToCp1252("\xC3"), "\xC3");                // cut sequence
  EXPECT_EQ(platform::Utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");        // overlong form
}

TEST(CodePage, ChangesTheCaseOfLettersOnly) {
  EXPECT_EQ(platform::UpperCp1252("a\xE7\xE3o \x9A\xFF \xF7 1"), "A\xC7\xC3O \x8A\x9F \xF7 1");
  EXPECT_EQ(platform::LowerCp1252("A\xC7\xC3O \x8A\x9F \xD7 Z"), "a\xE7\xE3o \x9A\xFF \xD7 z");
  for (int b = 0; b < 256; ++b) {  // lower after upper gives back every lower-case letter
    const auto c = static_cast<unsigned char>(b);
    if (platform::UpperCp1252(c) != c) {
      EXPECT_EQ(platform::LowerCp1252(platform::UpperCp1252(c)), c);
    }
  }
}

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }
  std::filesystem::path dir_;
};

TEST_F(ProfileTest, FollowsTheProfileRules) {
  Write("tolvan.ini",
        "; comment\r\n[video]\r\n corfundo =  1  \r\nCORFUNDO=2\r\nfonte=\"Deja Vu\"\r\n"
        "vazio=\r\n;corletra=3\r\n[Outra]\r\ncorletra=9\r\n");
  using platform::GetProfileString;
  EXPECT_EQ(GetProfileString("VIDEO", "CORFUNDO", "0", 80, "TOLVAN.INI"), "1");
  EXPECT_EQ(GetProfileString("VIDEO", "FONTE", "", 80, "TOLVAN.INI"), "Deja Vu");
  EXPECT_EQ(GetProfileString("VIDEO", "VAZIO", "x", 80, "TOLVAN.INI"), "");
  EXPECT_EQ(GetProfileString("VIDEO", "CORLETRA", "15", 80, "TOLVAN.INI"), "15");
  EXPECT_EQ(GetProfileString("VIDEO", "FONTE", "", 3, "TOLVAN.INI"), "De");
  EXPECT_EQ(GetProfileString("VIDEO", "FONTE", "", 0, "TOLVAN.INI"), "");
  EXPECT_TRUE(platform::ProfileHasKey("video", "vazio", "TOLVAN.INI"));
  EXPECT_FALSE(platform::ProfileHasKey("video", "nada", "TOLVAN.INI"));
}

TEST_F(ProfileTest, UnreadableFileGivesTheFallbackAndIsSaidOnce) {
  support::KeptReports reports;
  std::filesystem::create_directories(dir_ / "TOLVAN.INI");
  EXPECT_EQ(platform::GetProfileString("VIDEO", "FONTE", "padrão", 80, "TOLVAN.INI"), "padrão");
  EXPECT_FALSE(platform::ProfileHasKey("VIDEO", "FONTE", "TOLVAN.INI"));
  ASSERT_EQ(reports.texts().size(), 1u);
  EXPECT_TRUE(reports.Mention("TOLVAN.INI " + platform::Utf8ToCp1252("é uma pasta"))) << reports.Joined();
}

TEST_F(ProfileTest, MissingFileGivesTheFallback) {
  EXPECT_EQ(platform::GetProfileString("VIDEO", "AMPLIF", "2", 2, "NADA.INI"), "2");
}

}  // namespace
