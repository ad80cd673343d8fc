// TIRLA: helpers shared by the translator tests: data files written for a test, and loading them.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diphone/rules.h"
#include "diphone/translator.h"
#include "support/test_kit.h"

namespace translator_test {

// Writes `lines` with CR LF ends to the test's scratch folder; the file's path.
inline std::string WriteLines(const std::string& name, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return support::WriteScratchFile(name, text);
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
