// TIRLA: the module's configuration file (orvia.conf), in the server's style: "Key value"
// lines, '#' comments, keys in any case, values optionally in double quotes.
#pragma once
#include <string>
#include <vector>

namespace sdOrvia {

struct ModuleConfig {
  std::string voice;       // DefaultVoice: MBROLA voice id; empty: [ORVIATTS] MBROLA_DB
  std::string dataFolder;  // DataFolder: ORVIA's data files; empty: [ORVIATTS] DIR
  std::vector<std::string> notes;  // lines not understood, for the log
};

// Reads `path`; a missing file gives the defaults (the server names the file even when it
// does not exist), an unreadable one too, with a note.
ModuleConfig ReadModuleConfig(const std::string& path);

}  // namespace sdOrvia
