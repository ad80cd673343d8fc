// TIRLA: helpers for the ORVIA tests: temporary data files and the shipped data folder.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace orvia_test {

// Writes `content` (cp1252 bytes) to a fresh file in the test's temporary folder.
inline std::string WriteFile(const std::string& name, const std::string& content) {
  auto folder = std::filesystem::temp_directory_path() / "tirla_orvia_tests";
  std::filesystem::create_directories(folder);
  auto path = folder / (std::to_string(::getpid()) + "_" + name);
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
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
