// TIRLA: runs every input/output pair of tests/golden/preproc/*.txt through PreprocessText.
//
// Golden file lines (cp1252): "in  [text]" and "out [text]" pairs, the text between the
// first '[' and the last ']', with \xHH for any byte and \\ for a backslash; "#" comments;
// "@abr PATH" loads an abbreviations file (relative to the source tree), "@abr none" empties
// the table. Each file starts with an empty table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "orvia/uttsPreproc.h"
#include "platform/codepage.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TIRLA_SOURCE_DIR;
const fs::path kGoldenDir = kSourceDir / "tests/golden/preproc";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bracketed text of a golden line with its escapes decoded; false when malformed.
bool Bracketed(const std::string& line, std::string& text) {
  const auto open = line.find('['), close = line.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  text.clear();
  for (std::size_t i = open + 1; i < close; ++i) {
    if (line[i] == '\\' && i + 1 < close && line[i + 1] == '\\') {
      text += '\\';
      ++i;
    } else if (line[i] == '\\' && i + 3 < close && line[i + 1] == 'x' &&
               HexValue(line[i + 2]) >= 0 && HexValue(line[i + 3]) >= 0) {
      text += static_cast<char>(HexValue(line[i + 2]) * 16 + HexValue(line[i + 3]));
      i += 3;
    } else {
      text += line[i];
    }
  }
  return true;
}

std::vector<fs::path> GoldenFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kGoldenDir))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Runs one golden file; returns the number of pairs checked.
int RunGoldenFile(const fs::path& path) {
  uttsPreproc::StartPreproc();
  std::ifstream file(path, std::ios::binary);
  std::string line, input;
  bool haveInput = false;
  int lineNumber = 0, pairs = 0;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string where = path.filename().string() + ":" + std::to_string(lineNumber);
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("@abr ")) {
      const std::string name = line.substr(5);
      if (name == "none") {
        uttsPreproc::StartPreproc();
      } else {
        EXPECT_TRUE(uttsPreproc::LoadAbbreviations((kSourceDir / name).string())) << where;
      }
    } else if (line.starts_with("in ")) {
      EXPECT_TRUE(Bracketed(line, input)) << where;
      haveInput = true;
    } else if (line.starts_with("out ")) {
      std::string expected;
      EXPECT_TRUE(Bracketed(line, expected) && haveInput) << where;
      const std::string got = uttsPreproc::PreprocessText(input);
      EXPECT_EQ(platform::Cp1252ToUtf8(got), platform::Cp1252ToUtf8(expected))
          << where << ": input [" << platform::Cp1252ToUtf8(input) << "]";
      haveInput = false;
      ++pairs;
    } else {
      ADD_FAILURE() << where << ": line not understood";
    }
  }
  return pairs;
}

TEST(GoldenPreproc, EveryTopicFileGivesItsOutputs) {
  const auto files = GoldenFiles();
  ASSERT_GE(files.size(), 8u) << "golden files missing in " << kGoldenDir;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    EXPECT_GT(RunGoldenFile(path), 0) << "no pairs in " << path;
  }
}

}  // namespace
