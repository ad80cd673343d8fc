// TIRLA: programs started with their arguments as given: nothing in an argument runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../opener_fixture.h"
#include "platform/process.h"

namespace {

using Argv = std::vector<std::string>;

TEST(ProcessTest, EachArgumentArrivesWholeAndNothingElseRuns) {
  opener_test::FakeOpeners openers;
  const std::filesystem::path marker = openers.Folder() / "ran";
  const std::string hostile[] = {
      "a;b", "$(touch " + marker.string() + ")", "`touch " + marker.string() + "`",
      "x' \"y", "com espa\xE7o", "| cat",
  };
  std::string error;
  for (const std::string& argument : hostile)
    EXPECT_TRUE(platform::OpenDocument(argument, &error)) << error;
  EXPECT_TRUE(platform::OpenDocument("-rf", &error));  // never an option
  const std::string viewer = openers.Fake("leitor");
  EXPECT_TRUE(platform::RunProgram(viewer, {"-v", "a b"}, &error));

  // The programs run side by side: their records come in any order.
  auto runs = openers.Runs(8);
  std::vector<Argv> expected = {{"xdg-open", "./-rf"}, {"leitor", "-v", "a b"}};
  for (const std::string& argument : hostile)
    expected.push_back({"xdg-open", argument == hostile[4] ? "com espa\xC3\xA7o" : argument});
  std::sort(runs.begin(), runs.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(runs, expected);
  EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(ProcessTest, AProgramThatCannotStartIsReported) {
  std::string error;
  EXPECT_FALSE(platform::RunProgram("/nonexistent/tirla-programa", {}, &error));
  EXPECT_NE(error.find("tirla-programa"), std::string::npos) << error;
  EXPECT_FALSE(platform::RunProgram("", {"x"}, &error));
}

}  // namespace
