// TIRLA: runs a fuzz target's code over kept inputs, outside libFuzzer: every file named, and
// every file of every folder named. A crash, a sanitizer report or a hang fails the test, and
// so does a name that is missing or a folder without inputs.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

// The files named and those of the folders named, in order; false, said on standard error,
// when a name is missing or a folder is empty: its inputs would go unreplayed without a word.
bool Inputs(int argc, char** argv, std::vector<fs::path>& files) {
  bool found = true;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg(argv[i]);
    if (!fs::exists(arg)) {
      std::fprintf(stderr, "%s: não existe\n", argv[i]);
      found = false;
    } else if (!fs::is_directory(arg)) {
      files.push_back(arg);
    } else {
      std::vector<fs::path> inside;
      for (const fs::directory_entry& entry : fs::directory_iterator(arg))
        if (entry.is_regular_file()) inside.push_back(entry.path());
      if (inside.empty()) {
        std::fprintf(stderr, "%s: pasta sem entradas\n", argv[i]);
        found = false;
      }
      std::sort(inside.begin(), inside.end());
      files.insert(files.end(), inside.begin(), inside.end());
    }
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> files;
  if (!Inputs(argc, argv, files)) return 1;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("%s\n", file.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu entradas repetidas\n", files.size());
  return 0;
}
