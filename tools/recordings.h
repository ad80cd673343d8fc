// TIRLA: the manifest of the recorded sounds of the letters folder: which file says what.
#pragma once
#include <string>
#include <vector>

namespace recordings {

struct Recording {
  std::string name;    // file name without ".wav" (ASCII)
  std::string text;    // what ORVIA says (cp1252); empty for a tone or a pause
  int lowHz = 0;       // a telephone tone: its two frequencies
  int highHz = 0;
  int pauseMs = 0;     // a silence of this length
};

// Reads the manifest (cp1252): "NAME = text" lines, "NAME = @tom LOW HIGH" for a tone,
// "NAME = @pausa MS" for a silence, and
// "@caracteres = FIRST-LAST ..." for the sound "_NNN" of every printable character in those
// ranges, said with the name `CharName` gives, or with the text of its own "_NNN" line (which
// wins). ';' starts a comment line. False, with the reason in `error`, for a line it cannot
// read, a character left without a text, or a name given twice.
bool ReadManifest(const std::string& path, std::string (*CharName)(int code),
                  std::vector<Recording>& out, std::string& error);

// Whether code page 1252 has a printable character at `code` (blank included).
bool IsPrintable(int code);

}  // namespace recordings
