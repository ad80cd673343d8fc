// TIRLA: the engines' folders and names from TOLVAN.INI, read the same way by every program.
#pragma once
#include <string>

namespace platform {

// The unit folder of the diphone synthesizer, which also holds the translator's rules and
// exceptions: [TRADUTOR] DIRDIFONES (at most 79 characters), else SharedDataPath("som/difones").
std::string UnitsFolder();

// The folder of the recorded sounds (letters, symbols, number and clock words): [TRADUTOR]
// dirLetras (at most 255 characters), else SharedDataPath("som/letras").
std::string LettersFolder();

// The folder of ORVIA's data files: [ORVIATTS] DIR, else SharedDataPath("orviatts").
std::string OrviaDataFolder();

// The name of ORVIA's data files without extension: [ORVIATTS] BASE, else "portug".
std::string OrviaBaseName();

// The MBROLA voice of ORVIA, an id or a path: [ORVIATTS] MBROLA_DB, else "br4".
std::string OrviaVoice();

// All of them are file-system text: UTF-8, "@" expanded as in every configuration value, with
// the configuration's '\' turned into '/'. An empty value counts as missing.

}  // namespace platform
