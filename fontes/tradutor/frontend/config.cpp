// TIRLA: the speech configuration.
#include "frontend/config.h"

#include <unistd.h>

#include <string>

#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/profile.h"

namespace frontend {
namespace {

constexpr size_t kValueSize = 256;        // values are read into 255 characters
constexpr int kDefaultSpeed = 3;
constexpr int kFastestSpeed = 5;
constexpr int kFastestEngineSpeed = 10;   // above it, engines but the default one start at 0
constexpr int kDefaultEngineType = 4;

struct ConfigState {
  std::string startDirectory;  // cp1252, no trailing '/'
  bool started = false;
};

ConfigState& State() {
  static ConfigState state;
  return state;
}

int32_t NumberOr(std::string_view value, int32_t fallback) {
  const platform::LeadingNumber n = ConfigNumber(value);
  return n.whole ? n.value : fallback;
}

std::string LevelKey(const char* key, int level) { return key + std::to_string(level); }

}  // namespace

void StartConfig() { State() = ConfigState{}; }

const std::string& StartDirectory() {
  ConfigState& s = State();
  if (!s.started) {
    s.started = true;
    s.startDirectory = platform::CurrentDirectory();
  }
  return s.startDirectory;
}

std::string ConfigFile() {
  const std::string inConfigFolder = platform::ProfilePath(kConfigFileName);
  if (access(inConfigFolder.c_str(), R_OK) == 0) return kConfigFileName;
  return platform::JoinPath(platform::Cp1252ToUtf8(StartDirectory()), kConfigFileName);
}

std::string ReadConfig(std::string_view section, std::string_view key) {
  const std::string file = ConfigFile();
  return platform::ExpandRootShorthand(
      platform::GetProfileString(section.empty() ? "TOLVAN" : section, key, "", kValueSize, file),
      file, StartDirectory());
}

bool ConfigYes(std::string_view value) {
  return !value.empty() && value[0] != 'N' && value[0] != 'n';
}

SpeedSettings ReadSpeedSettings(int level) {
  auto read = [level](const char* key) { return ReadConfig("SINTETIZADOR", LevelKey(key, level)); };
  SpeedSettings s;
  s.unitBaseName = read("DIFONES").substr(0, 8);
  s.unitCut = ConfigNumber(read("CORTEFON")).value;
  s.unitMinimum = NumberOr(read("SOBRAFON"), 0);
  s.wordPause = NumberOr(read("INTERPAL"), 0);
  s.compactMode = ConfigYes(read("CORTAFALA"));
  s.fastRate = ConfigYes(read("RAPIDINHO"));
  s.periodPauseMs = NumberOr(read("PAUSAPONTO"), 250);
  s.commaPauseMs = NumberOr(read("PAUSAVIRG"), 150);
  s.colonPauseMs = NumberOr(read("PAUSADOISPONTOS"), 200);
  return s;
}

int ConfiguredSpeed() {
  const int speed = ConfigNumber(ReadConfig("TRADUTOR", "VELOCIDADE")).value;
  return speed < 1 || speed > kFastestSpeed ? kDefaultSpeed : speed;
}

EngineChoice ReadEngineChoice() {
  EngineChoice choice;
  choice.wanted = ConfigYes(ReadConfig("TRADUTOR", "SAPI"));
  if (!choice.wanted) return choice;
  choice.voice = ConfigNumber(ReadConfig("ROREVAZO", "VOZ")).value;
  choice.speed = ConfigNumber(ReadConfig("ROREVAZO", "VELOCIDADE")).value;
  choice.pitch = ConfigNumber(ReadConfig("ROREVAZO", "TOM")).value;
  choice.type = ConfigNumber(ReadConfig("ROREVAZO", "TIPOSAPI")).value;
  if (choice.type != kDefaultEngineType && choice.speed > kFastestEngineSpeed) choice.speed = 0;
  return choice;
}

}  // namespace frontend
