// TIRLA: runs every input/output pair of tests/golden/preproc/*.txt through PreprocessText,
// and of tests/golden/normal/*.txt through NormalizeText and then PreprocessText.
//
// Golden file lines (cp1252): "in  [text]" and "out [text]" pairs, the text between the
// first '[' and the last ']', with \xHH for any byte and \\ for a backslash; "#" comments;
// "@abr PATH" loads an abbreviations file (relative to the source tree), "@abr none" empties
// the table; "@nrm PATH" loads a normalisation file; "@utf8" makes the inputs that follow
// UTF-8 text, whose emoji are named before it becomes cp1252; "@punct none|some|most|all" sets
// which signs are read. Each file starts with empty tables and the default punctuation.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsPreproc.h"
#include "platform/codepage.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = TIRLA_SOURCE_DIR;
const fs::path kGoldenDir = kSourceDir / "tests/golden/preproc";
const fs::path kNormalDir = kSourceDir / "tests/golden/normal";

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

std::vector<fs::path> GoldenFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Runs one golden file; returns the number of pairs checked.
int RunGoldenFile(const fs::path& path, bool normalize) {
  uttsPreproc::StartPreproc();
  uttsNormal::StartNormal();
  bool utf8 = false;
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
    } else if (line.starts_with("@nrm ")) {
      EXPECT_TRUE(uttsNormal::LoadNormalData((kSourceDir / line.substr(5)).string())) << where;
    } else if (line.starts_with("@punct ")) {
      const std::string modes[] = {"none", "some", "most", "all"};
      const auto mode = std::find(std::begin(modes), std::end(modes), line.substr(7));
      if (mode == std::end(modes)) {
        ADD_FAILURE() << where << ": unknown punctuation setting";
        continue;
      }
      uttsPreproc::SetPunctuation(static_cast<uttsPreproc::Punctuation>(mode - std::begin(modes)));
    } else if (line == "@utf8") {
      utf8 = true;
    } else if (line.starts_with("in ")) {
      EXPECT_TRUE(Bracketed(line, input)) << where;
      haveInput = true;
    } else if (line.starts_with("out ")) {
      std::string expected;
      EXPECT_TRUE(Bracketed(line, expected) && haveInput) << where;
      std::string text = utf8 ? platform::Utf8ToCp1252(uttsNormal::NameEmoji(input)) : input;
      if (normalize) text = uttsNormal::NormalizeText(text);
      const std::string got = uttsPreproc::PreprocessText(text);
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
  const auto files = GoldenFiles(kGoldenDir);
  ASSERT_GE(files.size(), 8u) << "golden files missing in " << kGoldenDir;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    EXPECT_GT(RunGoldenFile(path, false), 0) << "no pairs in " << path;
  }
}

TEST(GoldenNormal, EveryTopicFileGivesItsOutputs) {
  const auto files = GoldenFiles(kNormalDir);
  ASSERT_GE(files.size(), 7u) << "golden files missing in " << kNormalDir;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    EXPECT_GT(RunGoldenFile(path, true), 0) << "no pairs in " << path;
  }
}

}  // namespace
