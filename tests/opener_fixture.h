// TIRLA: a fake opener first on PATH: "xdg-open" (and any other name made with Fake) records
// its name and arguments, NUL-separated, one record per run, so a test sees exactly what a
// started program was given.
#pragma once
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/test_kit.h"

namespace opener_test {

class FakeOpeners {
 public:
  FakeOpeners() {
    dir_ = support::TestScratch() / "openers";  // a folder of its own: it goes first on PATH
    std::filesystem::create_directories(dir_);
    log_ = dir_ / "log";
    const char* path = getenv("PATH");
    savedPath_ = path ? path : "";
    setenv("PATH", (dir_.string() + ":" + savedPath_).c_str(), 1);
    setenv("TIRLA_OPENER_LOG", log_.c_str(), 1);
    Fake("xdg-open");
  }
  ~FakeOpeners() {
    setenv("PATH", savedPath_.c_str(), 1);
  }

  // A program called `name` in the fake folder; its full path.
  std::string Fake(const std::string& name) {
    const std::filesystem::path program = dir_ / name;
    std::ofstream(program) << "#!/bin/sh\n"
                              "{ printf '%s\\0' \"$(basename \"$0\")\" \"$@\"; printf '\\n'; }"
                              " >>\"$TIRLA_OPENER_LOG\"\n";
    chmod(program.c_str(), 0755);
    return program.string();
  }

  // Waits (5 s at most) for `count` runs and gives each as its name and arguments.
  std::vector<std::vector<std::string>> Runs(size_t count) const {
    std::vector<std::vector<std::string>> runs;
    for (int tries = 0; tries < 500; ++tries) {
      runs = Read();
      if (runs.size() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return runs;
  }

  const std::filesystem::path& Folder() const { return dir_; }

 private:
  std::vector<std::vector<std::string>> Read() const {
    std::ifstream in(log_, std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    std::vector<std::vector<std::string>> runs;
    std::string line;
    while (std::getline(whole, line, '\n')) {
      if (line.empty()) continue;  // a run not yet written out
      std::vector<std::string> words;
      std::stringstream fields(line);
      for (std::string word; std::getline(fields, word, '\0');) words.push_back(word);
      runs.push_back(words);
    }
    return runs;
  }

  std::filesystem::path dir_, log_;
  std::string savedPath_;
};

}  // namespace opener_test
