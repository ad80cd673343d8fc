// TIRLA: tests of the speech configuration: the "@" shorthand, values, speed levels, engines.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bridges/library.h"
#include "frontend/config.h"
#include "frontend/dispatch.h"
#include "platform/profile.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    fs::create_directories(dir_ / "etc");
    const char* saved = getenv("TOLVAN_WINDIR");
    saved_ = saved ? saved : "";
    setenv("TOLVAN_WINDIR", (dir_ / "etc").c_str(), 1);
    frontend::StartConfig();
    platform::StartProfile();
  }
  void TearDown() override {
    setenv("TOLVAN_WINDIR", saved_.c_str(), 1);
  }
  void Ini(const std::string& text) { std::ofstream(dir_ / "etc" / "tolvan.ini") << text; }
  fs::path dir_;
  std::string saved_;
};

TEST_F(ConfigTest, TheRootFolderShorthandIsExpandedAndBounded) {
  const std::string start = frontend::StartDirectory();
  struct Case {
    const char* root;   // [TOLVAN] PGMTOLVAN
    const char* value;  // [X] K
    std::string expected;
  };
  const Case cases[] = {
      {"/opt/selbor", "@/som", "/opt/selbor/som"},
      {"", "@/som", start + "/som"},
      {"@/x", "@/som", start + "/som"},             // a root that starts with @ is not used
      {"/opt/selbor", "a@/b@/c", "a/opt/selbor/b/opt/selbor/c"},
      {"/r", "@\\som", "/r\\som"},                  // written on Windows
      {"/r", "sem@atalho", "sem@atalho"},
      {"/r@/", "x@/y", ""},                          // endless: only bounded
  };
  for (const Case& c : cases) {
    Ini(std::string("[TOLVAN]\nPGMTOLVAN=") + c.root + "\n[X]\nK=" + c.value + "\n");
    const std::string got = frontend::ReadConfig("X", "K");
    if (c.expected.empty())
      EXPECT_LE(got.size(), 4096u) << c.value;
    else
      EXPECT_EQ(got, c.expected) << c.root << " " << c.value;
  }
  Ini("[TOLVAN]\nK=v\n");
  EXPECT_EQ(frontend::ReadConfig("", "K"), "v");  // the empty section is TOLVAN
}

TEST_F(ConfigTest, SpeedLevelsEnginesAndTheirDefaults) {
  Ini("[TRADUTOR]\nVELOCIDADE=4x\nSAPI=Sim\n"
      "[SINTETIZADOR]\nDIFONES4=DIFONES4LONGO\nCORTEFON4=300a\nSOBRAFON4=12a\nINTERPAL4=$10\n"
      "CORTAFALA4=sim\nRAPIDINHO4=Nao\nPAUSAPONTO4=0\nPAUSAVIRG4=12a\n"
      "[ROREVAZO]\nVOZ=2\nVELOCIDADE=15\nTOM=0x3\nTIPOSAPI=5\n");
  EXPECT_EQ(frontend::ConfiguredSpeed(), 4);
  const frontend::SpeedSettings s = frontend::ReadSpeedSettings(4);
  EXPECT_EQ(s.unitBaseName, "DIFONES4");
  EXPECT_EQ(s.unitCut, 300);
  EXPECT_EQ(s.unitMinimum, 0);
  EXPECT_EQ(s.wordPause, 16);
  EXPECT_TRUE(s.compactMode);
  EXPECT_FALSE(s.fastRate);
  EXPECT_EQ(s.periodPauseMs, 0);
  EXPECT_EQ(s.commaPauseMs, 150);
  EXPECT_EQ(s.colonPauseMs, 200);
  const frontend::EngineChoice e = frontend::ReadEngineChoice();
  EXPECT_TRUE(e.wanted);
  EXPECT_EQ(e.voice, 2);
  EXPECT_EQ(e.speed, 0);  // above 10 for type 5
  EXPECT_EQ(e.pitch, 3);
  EXPECT_EQ(e.type, 5);
  for (const char* speed : {"0", "6", "-1", "rapido"}) {
    Ini(std::string("[TRADUTOR]\nVELOCIDADE=") + speed + "\nSAPI=n\n[ROREVAZO]\nVELOCIDADE=15\n");
    EXPECT_EQ(frontend::ConfiguredSpeed(), 3) << speed;
    EXPECT_FALSE(frontend::ReadEngineChoice().wanted);
  }
  Ini("[TRADUTOR]\nSAPI=x\n[ROREVAZO]\nVELOCIDADE=15\nTIPOSAPI=4\n");
  EXPECT_EQ(frontend::ReadEngineChoice().speed, 15);  // the default engine takes it as it is
  Ini("");
  EXPECT_EQ(frontend::ReadSpeedSettings(3).periodPauseMs, 250);
  EXPECT_EQ(frontend::ReadSpeedSettings(3).unitBaseName, "");
}

TEST_F(ConfigTest, NumbersOutsideTheirRangeTakeTheDefaultAndAreToldOnce) {
  Ini("[TRADUTOR]\nVELOCIDADE=9\nSAPI=S\n"
      "[SINTETIZADOR]\nINTERPAL3=2147483647\nCORTEFON3=-5\nSOBRAFON3=11025\n"
      "PAUSAPONTO3=99999\nPAUSAVIRG3=5000\nPAUSADOISPONTOS3=abc\n"
      "[ROREVAZO]\nTOM=5000\nVOZ=3\n");
  support::KeptReports reports;
  for (int round = 0; round < 2; ++round) {  // settings are read again at each speed change
    EXPECT_EQ(frontend::ConfiguredSpeed(), 3);
    const frontend::SpeedSettings s = frontend::ReadSpeedSettings(3);
    EXPECT_EQ(s.wordPause, 0);
    EXPECT_EQ(s.unitCut, 0);
    EXPECT_EQ(s.unitMinimum, 11025);
    EXPECT_EQ(s.periodPauseMs, 250);
    EXPECT_EQ(s.commaPauseMs, 5000);
    EXPECT_EQ(s.colonPauseMs, 200);
    const frontend::EngineChoice e = frontend::ReadEngineChoice();
    EXPECT_EQ(e.pitch, 0);
    EXPECT_EQ(e.voice, 3);
  }
  EXPECT_EQ(reports.texts().size(), 6u) << reports.Joined();
  for (const char* key : {"VELOCIDADE=9", "INTERPAL3=2147483647", "CORTEFON3=-5",
                          "PAUSAPONTO3=99999", "PAUSADOISPONTOS3=abc", "TOM=5000"})
    EXPECT_TRUE(reports.Mention(key)) << key;
}

TEST_F(ConfigTest, EngineTypesFindTheirRows) {
  frontend::StartDispatch();
  ASSERT_NE(frontend::EngineRowFor(3), nullptr);
  EXPECT_STREQ(frontend::EngineRowFor(3)->name, "orvia");
  const struct {
    int type;
    const char* name;
  } rows[] = {{4, "eSpeak NG"}, {0, "eSpeak NG"}, {7, "eSpeak NG"}, {-1, "eSpeak NG"},
              {5, "Speech Dispatcher"}, {54, "RHVoice"}};
  for (const auto& row : rows) EXPECT_STREQ(frontend::EngineRowFor(row.type)->name, row.name);
  // a bridge whose library is missing fails its start, and nothing else happens
  bridges::HideLibrary("lib");
  for (int type : {0, 4, 5, 54, 99}) {
    EXPECT_FALSE(frontend::EngineStart(0, 0, 0, "", type)) << type;
    EXPECT_EQ(frontend::EngineType(), type);
    EXPECT_FALSE(frontend::EngineIsSpeaking(0));
    EXPECT_NE(frontend::EngineStartFailure(type).find("n\xE3o est\xE1 instalada"),
              std::string::npos);
  }
  bridges::HideLibrary("");
}

}  // namespace
