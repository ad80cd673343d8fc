// TIRLA: helpers for the ORVIA tests: data files written for a test, the shipped data folder.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_kit.h"

namespace orvia_test {

// Writes `content` (cp1252 bytes) to a file in the test's scratch folder; its path.
inline std::string WriteFile(const std::string& name, const std::string& content) {
  return support::WriteScratchFile(name, content);
}

// The data folder of the source tree.
inline std::string DataFolder() { return std::string(TIRLA_SOURCE_DIR) + "/data/orvia"; }

// Only the phoneme names of output or phoneme-list lines: no comments, no empty lines.
inline std::vector<std::string> Names(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == ';') continue;
    names.push_back(line.substr(0, line.find(' ')));
  }
  return names;
}

}  // namespace orvia_test
