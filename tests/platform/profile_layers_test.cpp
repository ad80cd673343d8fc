// TIRLA: the configuration in layers (the user's file over the system's, key by key) and the
// ranges of its number keys, which the shipped file must document.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/profile.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;

// Sets (or with null unsets) environment variables for one test, and puts them back.
class Environment {
 public:
  void Set(const char* name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = getenv(name);
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~Environment() {
    for (const auto& [name, value] : saved_)
      value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

TEST(ProfileLayers, TheUsersKeysStandOverTheSystemsOneByOne) {
  const fs::path root = support::TestScratch();
  const fs::path system = root / "prefix/etc/tolvan/TOLVAN.INI";
  const fs::path xdg = root / "xdg/tolvan/tolvan.ini";  // the name's case does not matter
  const fs::path home = root / "home/.config/tolvan/TOLVAN.INI";
  WriteFile(system, "[VIDEO]\nCORFUNDO=0\nCORLETRA=15\n[SINTETIZADOR]\nDIFONES3=DIFONES3\n");
  WriteFile(xdg, "[video]\ncorfundo=1\n");
  WriteFile(home, "[VIDEO]\nCORLETRA=2\n");
  Environment env;
  env.Set("TOLVAN_PREFIX", (root / "prefix").c_str());
  env.Set("HOME", (root / "home").c_str());
  env.Set("TOLVAN_WINDIR", nullptr);
  struct Case {
    const char* xdg_config_home;  // null: unset
    const char* windir;           // null: unset; else a folder under the scratch root
    const char* section;
    const char* key;
    const char* value;
    const fs::path* from;  // the layer it comes from, null when none holds it
  };
  const fs::path relative = "xdg";
  const std::string xdg_home = (root / "xdg").string();
  const Case cases[] = {
      {xdg_home.c_str(), nullptr, "VIDEO", "CORFUNDO", "1", &xdg},        // the user's
      {xdg_home.c_str(), nullptr, "VIDEO", "CORLETRA", "15", &system},    // the system's
      {xdg_home.c_str(), nullptr, "SINTETIZADOR", "DIFONES3", "DIFONES3", &system},
      {xdg_home.c_str(), nullptr, "VIDEO", "NENHUMA", "padrao", nullptr},
      {nullptr, nullptr, "VIDEO", "CORLETRA", "2", &home},                // ~/.config
      {"xdg", nullptr, "VIDEO", "CORLETRA", "2", &home},                  // relative: ignored
      {xdg_home.c_str(), "prefix/etc/tolvan", "VIDEO", "CORFUNDO", "0", &system},  // one-off
  };
  for (const Case& c : cases) {
    env.Set("XDG_CONFIG_HOME", c.xdg_config_home);
    env.Set("TOLVAN_WINDIR", c.windir ? (root / c.windir).c_str() : nullptr);
    const std::string label = std::string(c.key) + " " + (c.xdg_config_home ? "xdg" : "-");
    EXPECT_EQ(platform::GetProfileString(c.section, c.key, "padrao", 80, "TOLVAN.INI"), c.value)
        << label;
    EXPECT_EQ(platform::ProfileValueFile(c.section, c.key, "TOLVAN.INI"),
              c.from ? c.from->string() : "")
        << label;
  }
  env.Set("TOLVAN_WINDIR", (root / "nada").c_str());
  EXPECT_FALSE(platform::ProfileExists("TOLVAN.INI"));
  env.Set("TOLVAN_WINDIR", nullptr);
  EXPECT_TRUE(platform::ProfileExists("TOLVAN.INI"));
}

TEST(ProfileLayers, ABadValueIsToldOnceNamingItsFileSectionAndKey) {
  const std::string ini = support::WriteScratchFile("x.ini", "[SINTETIZADOR]\nINTERPAL3=9\n");
  platform::StartProfile();
  support::KeptReports reports;
  const struct {
    const char* key;
    int64_t value;
    bool inside;
  } cases[] = {
      {"INTERPAL3", 2147483647, false}, {"INTERPAL3", 2147483647, false},  // told once
      {"INTERPAL3", -1, false},         {"interpal5", 11025, true},
      {"INTERPAL", 99999, true},        // not a level key: no range
      {"PAUSAPONTO1", 5001, false},     {"CORTEFON9", 0, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::NumberInRange("SINTETIZADOR", c.key, c.value, "vale o padr\xE3o 0", ini),
              c.inside)
        << c.key << " " << c.value;
  ASSERT_EQ(reports.texts().size(), 3u) << reports.Joined();
  EXPECT_EQ(reports.texts()[0], ini +
                                    ": [SINTETIZADOR] INTERPAL3=2147483647 n\xE3o \xE9 um "
                                    "n\xFAmero de 0 a 11025; vale o padr\xE3o 0");
  platform::TellBadValue("VIDEO", "CORFUNDO", "", "um n\xFAmero inteiro", "x", ini);
  EXPECT_EQ(reports.texts().size(), 3u);  // an empty value is no fault
}

// Every range of the table is written beside its key in the shipped file, in its own section,
// as "(lowest a highest)", so what the file says is what the program does.
TEST(ProfileLayers, TheShippedFileDocumentsEveryRange) {
  std::ifstream in(support::SourcePath("data/TOLVAN.INI"));
  std::map<std::string, std::string> comments;  // section -> its comment lines
  std::string line, section;
  while (std::getline(in, line)) {
    if (line.rfind("[", 0) == 0) section = line.substr(1, line.find(']') - 1);
    else if (line.rfind(";", 0) == 0) comments[section] += line + "\n";
  }
  for (const platform::NumberRange& range : platform::NumberRanges()) {
    std::string key = range.key;
    if (key.back() == '#') key.back() = 'n';
    const std::string& text = comments[range.section];
    const std::string bounds =
        std::to_string(range.lowest) + " a " + std::to_string(range.highest) + ")";
    bool found = false;
    for (size_t at = text.find(key); at != std::string::npos && !found; at = text.find(key, at + 1))
      found = text.find(bounds, at) < text.find('\n', at);
    EXPECT_TRUE(found) << "[" << range.section << "] " << key << " sem (" << bounds;
  }
}

}  // namespace
