// TIRLA: the speech configuration.
#include "frontend/config.h"

#include <string>

#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/profile.h"

namespace frontend {
namespace {

constexpr size_t kValueSize = 256;        // values are read into 255 characters
constexpr int kDefaultSpeed = 3;
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

// How a number key is read: the whole value must be the number, or its leading number counts
// ("300a" is 300).
enum class Reading { kWhole, kLeading };

// A number key: its value when it is read as one and is in the key's range, else `fallback`;
// an empty value gives `fallback` quietly, a bad one is reported once.
int32_t NumberKey(std::string_view section, std::string_view key, Reading reading,
                  int32_t fallback) {
  const std::string text = ReadConfig(section, key);
  if (text.empty()) return fallback;
  const platform::LeadingNumber n = ConfigNumber(text);
  const std::string fallbackText = "vale o padr\xE3o " + std::to_string(fallback);
  if (!n.whole && (reading == Reading::kWhole || n.value == 0)) {
    platform::TellBadValue(section, key, text, "um n\xFAmero inteiro", fallbackText, ConfigFile());
    return fallback;
  }
  return platform::NumberInRange(section, key, n.value, fallbackText, ConfigFile()) ? n.value
                                                                                    : fallback;
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
  if (platform::ProfileExists(kConfigFileName)) return kConfigFileName;
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
  auto number = [level](const char* key, Reading reading, int32_t fallback) {
    return NumberKey("SINTETIZADOR", LevelKey(key, level), reading, fallback);
  };
  SpeedSettings s;
  s.unitBaseName = read("DIFONES").substr(0, 8);
  s.unitCut = number("CORTEFON", Reading::kLeading, 0);
  s.unitMinimum = number("SOBRAFON", Reading::kWhole, 0);
  s.wordPause = number("INTERPAL", Reading::kWhole, 0);
  s.compactMode = ConfigYes(read("CORTAFALA"));
  s.fastRate = ConfigYes(read("RAPIDINHO"));
  s.periodPauseMs = number("PAUSAPONTO", Reading::kWhole, 250);
  s.commaPauseMs = number("PAUSAVIRG", Reading::kWhole, 150);
  s.colonPauseMs = number("PAUSADOISPONTOS", Reading::kWhole, 200);
  return s;
}

int ConfiguredSpeed() {
  return NumberKey("TRADUTOR", "VELOCIDADE", Reading::kLeading, kDefaultSpeed);
}

EngineChoice ReadEngineChoice() {
  EngineChoice choice;
  choice.wanted = ConfigYes(ReadConfig("TRADUTOR", "SAPI"));
  if (!choice.wanted) return choice;
  choice.voice = NumberKey("ROREVAZO", "VOZ", Reading::kLeading, 0);
  choice.speed = NumberKey("ROREVAZO", "VELOCIDADE", Reading::kLeading, 0);
  choice.pitch = NumberKey("ROREVAZO", "TOM", Reading::kLeading, 0);
  choice.type = NumberKey("ROREVAZO", "TIPOSAPI", Reading::kLeading, 0);
  if (choice.type != kDefaultEngineType && choice.speed > kFastestEngineSpeed) choice.speed = 0;
  return choice;
}

}  // namespace frontend
