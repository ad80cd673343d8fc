// TIRLA fuzz target: the test driver's command line: arguments joined into one line, and the
// program path cut off it. What is left is always the end of the line.
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string cut = driver::CutProgramPath(bytes);
  if (cut.size() > bytes.size() || bytes.compare(bytes.size() - cut.size(), cut.size(), cut) != 0)
    std::abort();
  // the same bytes as an argument vector, split at zero bytes
  std::vector<std::string> words(1);
  for (char c : bytes) {
    if (c == '\0') words.emplace_back();
    else words.back() += c;
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  driver::CutProgramPath(driver::ProcessCommandLine(static_cast<int>(words.size()), argv.data()));
  return 0;
}
