// TIRLA: the speech configuration: where TOLVAN.INI is, values read with the "@" shorthand
// for the environment's root folder, and the tuning values of each speed level.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace frontend {

// The configuration file's name.
inline constexpr const char* kConfigFileName = "TOLVAN.INI";

// Forgets the start directory (tests); the next read takes the current one again.
void StartConfig();

// The folder a relative configuration and the "@" shorthand fall back to: the current
// directory when the program started.
const std::string& StartDirectory();

// The file ReadConfig reads: TOLVAN.INI of the configuration folders (the user's read over the
// environment-wide one, key by key) when either exists, else the one in the start directory.
std::string ConfigFile();

// One value of the configuration (cp1252), "" when missing. An empty section means "TOLVAN".
// A leading "@" and every "@/" (or "@\") become the root folder: [TOLVAN] PGMTOLVAN, or the
// start directory when that is empty or itself starts with "@". The expansion is bounded, so
// a root folder holding "@/" cannot make it go on for ever.
std::string ReadConfig(std::string_view section, std::string_view key);

// Yes/no values: yes when not empty and the first character is not N or n.
bool ConfigYes(std::string_view value);

// Integer values: see platform::ParseLeadingNumber ("$" and "0x" for hexadecimal).
inline platform::LeadingNumber ConfigNumber(std::string_view value) {
  return platform::ParseLeadingNumber(value);
}

// The tuning values of one speed level ([SINTETIZADOR] keys with the level's digit). A number
// outside its range (platform::NumberRanges) counts as an error; errors are reported once.
struct SpeedSettings {
  std::string unitBaseName;   // DIFONESn, 8 characters at most
  int32_t unitCut = 0;        // CORTEFONn: leading number, 0 when none
  int32_t unitMinimum = 0;    // SOBRAFONn: 0 on any error
  int32_t wordPause = 0;      // INTERPALn: 0 on any error
  bool compactMode = false;   // CORTAFALAn
  bool fastRate = false;      // RAPIDINHOn
  int32_t periodPauseMs = 250;  // PAUSAPONTOn, 250 on any error
  int32_t commaPauseMs = 150;   // PAUSAVIRGn, 150 on any error
  int32_t colonPauseMs = 200;   // PAUSADOISPONTOSn, 200 on any error
};
SpeedSettings ReadSpeedSettings(int level);

// [TRADUTOR] VELOCIDADE's leading number when it is 1..5, else 3 (reported when not empty).
int ConfiguredSpeed();

// What [TRADUTOR] SAPI and [ROREVAZO] ask for: whether an engine speaks, and how it starts.
struct EngineChoice {
  bool wanted = false;  // SAPI means yes
  int32_t voice = 0;    // VOZ
  int32_t speed = 0;    // VELOCIDADE, 0 when above 10 for any engine type but 4
  int32_t pitch = 0;    // TOM
  int32_t type = 4;     // TIPOSAPI (0 when missing, which selects the same engine as 4)
};  // each number 0 when missing or outside its range
EngineChoice ReadEngineChoice();

}  // namespace frontend
