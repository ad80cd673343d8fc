// TIRLA: what every test runner shares: golden files, a scratch folder per test, the exit code
// of a call that ends the program, and reports kept for a test to read.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace support {

namespace fs = std::filesystem;

// A path in the source tree, from its root ("tests/golden/words").
fs::path SourcePath(std::string_view relative);

// Golden files (cp1252), one format for every topic:
//   # a comment              blank lines are skipped too
//   @name value              a setting of the suite, for the cases that follow
//   in  [text]               one case: its input,
//   out [text]               and its expected output; several out lines hold several lines
// The text is what stands between the first '[' and the last ']' of the line, blanks kept;
// \xHH stands for any byte and \\ for a backslash.
// With TIRLA_UPDATE_GOLDEN=1 in the environment nothing fails: the out lines of every case
// that differs are rewritten with what came out, and the rest of the file is kept as it is.
// Review the diff: the files are the reference, not the program.

// Gives the output of one case's input; several lines are joined by '\n'.
using GoldenRun = std::function<std::string(const std::string& input)>;
// Takes a setting ("@name value"); false when the suite has no such setting.
using GoldenSetting = std::function<bool(const std::string& name, const std::string& value)>;

// The .txt files of `folder`, in name order; its subfolders are not read.
std::vector<fs::path> GoldenFiles(const fs::path& folder);

// Runs every case of `file` through `run` and fails each one whose output differs, naming the
// file and line. The number of cases.
int CheckGoldenFile(const fs::path& file, const GoldenRun& run, const GoldenSetting& setting = {});

// The current test's own folder under the system's temporary folder: made at its first use
// in a test, removed with all it holds when that test ends, passed or failed. Only inside a
// test.
const fs::path& TestScratch();

// Writes `bytes` to `name` in the test's scratch folder; the file's full path.
std::string WriteScratchFile(const std::string& name, std::string_view bytes);

// The code a call ends the program with (the test host throws it), or -1 when it returns.
template <typename Call>
int ExitCodeOf(Call&& call) {
  try {
    call();
  } catch (const platform::ProcessExit& exit) {
    return exit.code;
  }
  return -1;
}

// Keeps every report (cp1252) made while it lives; reports go back to standard error after.
class KeptReports {
 public:
  KeptReports();
  ~KeptReports();
  KeptReports(const KeptReports&) = delete;
  KeptReports& operator=(const KeptReports&) = delete;

  const std::vector<std::string>& texts() const { return texts_; }
  // True when a report holds `piece`.
  bool Mention(std::string_view piece) const;
  // Every report, each ended by '\n'.
  std::string Joined() const;
  void Clear() { texts_.clear(); }

 private:
  std::vector<std::string> texts_;
};

}  // namespace support
