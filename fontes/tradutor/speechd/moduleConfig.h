// TIRLA: the module's configuration file (orvia.conf), in the server's style: "Key value"
// lines, '#' comments, keys in any case, values optionally in double quotes.
#pragma once
#include <string>
#include <vector>

namespace sdOrvia {

struct ModuleConfig {
  std::string voice;       // DefaultVoice: MBROLA voice id; empty: [ORVIATTS] MBROLA_DB
  std::string dataFolder;  // DataFolder: ORVIA's data files; empty: [ORVIATTS] DIR
  std::string logLevel;    // LogLevel: 0..5; empty: the server's
  std::string debug;       // Debug: non-zero logs everything
  std::string debugFile;   // DebugFile: every log line goes to this file too
  std::vector<std::string> notes;  // lines not understood, for the log
};

// Reads `path`; a missing file gives the defaults (the server names the file even when it
// does not exist), an unreadable one too, with a note.
ModuleConfig ReadModuleConfig(const std::string& path);

// The level the module logs at until the server says more: Debug (non-zero: 5), else
// LogLevel, else the LogLevel of the server's speechd.conf that holds the modules' folder of
// `path`, else 3. The server's LOGLEVEL command sends 0 whatever its own level is.
int ModuleLogLevel(const ModuleConfig& config, const std::string& path);

}  // namespace sdOrvia
