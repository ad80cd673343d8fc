// TIRLA: finding the configuration and data folders, files by name, and the engines' settings.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/folders.h"
#include "platform/install_dirs.h"
#include "platform/settings.h"
#include "support/test_kit.h"

namespace {

constexpr const char* kVariables[] = {"TOLVAN_WINDIR", "TOLVAN_DATADIR", "TOLVAN_PREFIX"};

// A temporary folder, and the environment as it was, put back afterwards.
class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    for (int i = 0; i < 3; ++i) {
      if (const char* value = getenv(kVariables[i])) saved_[i] = value;
      unsetenv(kVariables[i]);
    }
  }
  void TearDown() override {
    for (int i = 0; i < 3; ++i) {
      if (saved_[i]) setenv(kVariables[i], saved_[i]->c_str(), 1);
      else unsetenv(kVariables[i]);
    }
  }
  // `text` with "$T" standing for the temporary folder and "$config" and "$data" for the
  // compiled-in folders.
  std::string Expand(std::string text) const {
    if (text == "$config") return platform::kInstallConfigDir;
    if (text == "$data") return platform::kInstallDataDir;
    if (text.rfind("$T", 0) == 0) text.replace(0, 2, dir_.string());
    return text;
  }
  std::filesystem::path dir_;
  std::optional<std::string> saved_[3];
};

TEST_F(FoldersTest, EnvironmentThenBesideTheProgramThenCompiledIn) {
  struct Case {
    const char* env[3];  // kVariables' values; nullptr: unset
    const char* layout;  // folders made under $T: 'e' etc/tolvan, 's' share/tolvan
    const char* config;  // expected
    const char* data;
  };
  const Case cases[] = {
      {{nullptr, nullptr, nullptr}, "", "$config", "$data"},
      {{nullptr, nullptr, nullptr}, "es", "$T/etc/tolvan", "$T/share/tolvan"},
      {{nullptr, nullptr, nullptr}, "s", "$config", "$T/share/tolvan"},
      {{nullptr, nullptr, nullptr}, "e", "$T/etc/tolvan", "$data"},
      {{"", "", ""}, "es", "$T/etc/tolvan", "$T/share/tolvan"},  // empty is unset
      {{"/w", nullptr, nullptr}, "es", "/w", "$T/share/tolvan"},
      {{nullptr, "/d", nullptr}, "", "$config", "/d"},
      {{nullptr, nullptr, "/p"}, "es", "/p/etc/tolvan", "/p/share/tolvan"},  // need not exist
      {{nullptr, nullptr, "/usr"}, "", "/etc/tolvan", "/usr/share/tolvan"},
      {{"/w", "/d", "/p"}, "es", "/w", "/d"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir_);
    for (int i = 0; i < 3; ++i) {
      if (c.env[i]) setenv(kVariables[i], c.env[i], 1);
      else unsetenv(kVariables[i]);
    }
    const std::string layout = c.layout;
    if (layout.find('e') != std::string::npos) create_directories(dir_ / "etc/tolvan");
    if (layout.find('s') != std::string::npos) create_directories(dir_ / "share/tolvan");
    const platform::DataFolders found = platform::FindDataFolders(Expand("$T/bin/program"));
    const std::string row = "layout '" + layout + "', expected " + c.config;
    EXPECT_EQ(found.config, Expand(c.config)) << row;
    EXPECT_EQ(found.data, Expand(c.data)) << row;
  }
}

TEST_F(FoldersTest, FilesAreFoundWithoutRegardToCase) {
  std::ofstream(dir_ / "TOLVAN.INI") << "";
  std::ofstream(dir_ / "portug.nrl") << "";
  const struct {
    const char* folder;
    const char* name;
    const char* expected;  // the plain join when nothing matches
  } cases[] = {
      {"$T", "tolvan.ini", "$T/TOLVAN.INI"},
      {"$T", "PORTUG.NRL", "$T/portug.nrl"},
      {"$T/", "portug.nrl", "$T/portug.nrl"},
      {"$T", "portug.nr", "$T/portug.nr"},
      {"$T/nada", "tolvan.ini", "$T/nada/tolvan.ini"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::FindFileNoCase(Expand(c.folder), c.name), Expand(c.expected)) << c.name;
}

TEST_F(FoldersTest, EngineSettingsComeFromTheConfigurationOrTheirDefaults) {
  setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
  setenv("TOLVAN_DATADIR", "/d", 1);
  const std::string folder100(100, 'p');
  const std::string folder255(255, 'l');
  const std::string root = "[TOLVAN]\nPGMTOLVAN=/opt/t\n";
  const std::string here = std::filesystem::current_path().string();
  const struct {
    std::string ini;
    std::string (*setting)();
    std::string expected;
  } cases[] = {
      {"", platform::UnitsFolder, "/d/som/difones"},
      {"[tradutor]\ndirdifones=C:\\Som\\Dif\xF5" "es\r\n", platform::UnitsFolder, "C:/Som/Difões"},
      {"[TRADUTOR]\nDIRDIFONES=" + folder100, platform::UnitsFolder, folder100.substr(0, 79)},
      {"[ORVIATTS]\nDIR=\n", platform::OrviaDataFolder, "/d/orviatts"},
      {"[TRADUTOR]\ndirLetras=" + folder255, platform::LettersFolder, folder255},
      // "@" is the root folder in the engines' values as in every other value
      {root + "[ORVIATTS]\nDIR=@\\orvia\\" + folder100, platform::OrviaDataFolder,
       "/opt/t/orvia/" + folder100},
      {"[ORVIATTS]\nDIR=@\\orvia", platform::OrviaDataFolder, here + "/orvia"},
      {root + "[ORVIATTS]\nMBROLA_DB=@\\vozes\\br4", platform::OrviaVoice, "/opt/t/vozes/br4"},
      {root + "[ORVIATTS]\nBASE=@/b/portug", platform::OrviaBaseName, "/opt/t/b/portug"},
      {"[ORVIATTS]\n", platform::OrviaBaseName, "portug"},
      {"[ORVIATTS]\nBASE=Outra\n", platform::OrviaBaseName, "Outra"},
      {"[ORVIATTS]\nMBROLA_DB=\n", platform::OrviaVoice, "br4"},
      {"[ORVIATTS]\nMBROLA_DB=br1\n", platform::OrviaVoice, "br1"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir_ / "TOLVAN.INI", std::ios::binary | std::ios::trunc) << c.ini;
    EXPECT_EQ(c.setting(), c.expected) << c.ini;
  }
}

}  // namespace
