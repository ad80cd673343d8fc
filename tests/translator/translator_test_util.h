// TIRLA: helpers shared by the translator tests: temporary data files and loading them.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "diphone/rules.h"
#include "diphone/translator.h"

namespace translator_test {

// A scratch folder for this test program, emptied at first use.
inline std::filesystem::path ScratchDir() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("tirla_translator_test_" + std::to_string(::getpid()));
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// Writes `lines` with CR LF ends to a scratch file and returns its path.
inline std::string WriteLines(const std::string& name, const std::vector<std::string>& lines) {
  const auto path = ScratchDir() / name;
  std::ofstream out(path, std::ios::binary);
  for (const auto& line : lines) out << line << "\r\n";
  return path.string();
}

// Starts clean and loads the given rules and exceptions.
inline void LoadTables(const std::vector<std::string>& rules,
                       const std::vector<std::string>& exceptions = {}) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadRules(WriteLines("rules.rgr", rules)));
  ASSERT_TRUE(translator::LoadExceptions(WriteLines("exceptions.exc", exceptions)));
}

// The folder of the shipped rules and exceptions, as staged in the build tree.
inline std::string ShippedDataDir() { return std::string(TIRLA_SOURCE_DIR) + "/data/diphone"; }

}  // namespace translator_test
