// TIRLA: the engines' settings from TOLVAN.INI.
#include "platform/settings.h"

#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/profile.h"

namespace platform {
namespace {

constexpr const char* kConfigFile = "TOLVAN.INI";
constexpr size_t kUnitsFieldSize = 80;  // the unit folder is kept to 79 characters
constexpr size_t kValueSize = 256;      // other values are read into 255 characters

// One value as file-system text, "@" expanded, or `fallback` when it is empty or missing.
std::string Setting(const char* section, const char* key, size_t size,
                    const std::string& fallback) {
  const std::string value = GetProfileString(section, key, "", size, kConfigFile);
  if (value.empty()) return fallback;
  return SlashPath(Cp1252ToUtf8(ExpandRootShorthand(value, kConfigFile, CurrentDirectory())));
}

}  // namespace

std::string UnitsFolder() {
  return Setting("TRADUTOR", "DIRDIFONES", kUnitsFieldSize, SharedDataPath("som/difones"));
}

std::string LettersFolder() {
  return Setting("TRADUTOR", "dirLetras", kValueSize, SharedDataPath("som/letras"));
}

std::string OrviaDataFolder() {
  return Setting("ORVIATTS", "DIR", kValueSize, SharedDataPath("orviatts"));
}

std::string OrviaBaseName() { return Setting("ORVIATTS", "BASE", kValueSize, "portug"); }

std::string OrviaVoice() { return Setting("ORVIATTS", "MBROLA_DB", kValueSize, "br4"); }

}  // namespace platform
