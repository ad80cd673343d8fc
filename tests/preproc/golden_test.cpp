// TIRLA: every case of tests/golden/preproc/*.txt through PreprocessText, and of
// tests/golden/normal/*.txt through NormalizeText and then PreprocessText.
//
// Settings: "@abr PATH" loads an abbreviations file (relative to the source tree), "@abr none"
// empties the table; "@nrm PATH" loads a normalisation file; "@utf8" makes the inputs that
// follow UTF-8 text, whose emoji are named before it becomes cp1252; "@punct
// none|some|most|all" sets which signs are read. Each file starts with empty tables and the
// default punctuation.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsPreproc.h"
#include "platform/codepage.h"
#include "support/test_kit.h"

namespace {

// Runs every file of `folder`; the number of cases.
int RunTopics(const char* folder, bool normalize) {
  int cases = 0;
  for (const auto& file : support::GoldenFiles(support::SourcePath(folder))) {
    uttsPreproc::StartPreproc();
    uttsNormal::StartNormal();
    bool utf8 = false;
    auto setting = [&](const std::string& name, const std::string& value) {
      if (name == "abr" && value == "none") {
        uttsPreproc::StartPreproc();
      } else if (name == "abr") {
        EXPECT_TRUE(uttsPreproc::LoadAbbreviations(support::SourcePath(value).string())) << value;
      } else if (name == "nrm") {
        EXPECT_TRUE(uttsNormal::LoadNormalData(support::SourcePath(value).string())) << value;
      } else if (name == "utf8") {
        utf8 = true;
      } else if (name == "punct") {
        const std::string modes[] = {"none", "some", "most", "all"};
        const auto mode = std::find(std::begin(modes), std::end(modes), value);
        if (mode == std::end(modes)) return false;
        uttsPreproc::SetPunctuation(static_cast<uttsPreproc::Punctuation>(mode - std::begin(modes)));
      } else {
        return false;
      }
      return true;
    };
    auto run = [&](const std::string& input) {
      std::string text = utf8 ? platform::Utf8ToCp1252(uttsNormal::NameEmoji(input)) : input;
      if (normalize) text = uttsNormal::NormalizeText(text);
      return uttsPreproc::PreprocessText(text);
    };
    const int checked = support::CheckGoldenFile(file, run, setting);
    EXPECT_GT(checked, 0) << "no cases in " << file;
    cases += checked;
  }
  return cases;
}

TEST(GoldenPreproc, EveryTopicFileGivesItsOutputs) {
  EXPECT_GE(RunTopics("tests/golden/preproc", false), 160);
}

TEST(GoldenNormal, EveryTopicFileGivesItsOutputs) {
  EXPECT_GE(RunTopics("tests/golden/normal", true), 90);
}

}  // namespace
