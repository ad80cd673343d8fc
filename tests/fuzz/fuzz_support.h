// TIRLA: what the fuzz targets share: the libFuzzer entry points, a scratch folder for inputs
// that the real loaders read from a file, the project's data files and a sample text.
#pragma once
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/report.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// A folder of this process's own, in memory when the machine has /dev/shm; removed at exit.
// The name is never freed, so that the exit handler can still read it.
inline const std::string& ScratchFolder() {
  static const std::string* folder = [] {
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    auto* path = new std::string(std::string(base) + "/tirla-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(*path);
    std::atexit([] { std::filesystem::remove_all(ScratchFolder()); });
    return path;
  }();
  return *folder;
}

// Writes the input as `name` in the scratch folder; its full path.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  const std::string path = ScratchFolder() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();  // the scratch folder must work, or nothing is tested
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

// A data file of the project (data/...), read where the sources are.
inline std::string DataFile(const char* relative) {
  return std::string(TIRLA_SOURCE_DIR) + "/data/" + relative;
}

// Loaders report every odd line; thousands of runs a second would only drown the findings.
inline void QuietReports() { platform::SetReportSink({}); }

// A sentence with something for every stage: abbreviations, numbers, ordinals, decimals,
// money, symbols, accents, nasal vowels, punctuation (cp1252).
inline constexpr std::string_view kSampleText =
    "Bom dia, Sr. Jo\xE3o! S\xE3o 10h30 do dia 25/12/2023; o 2\xBA andar custa R$ 1.234,56 "
    "(cerca de 15% a mais). A\xE7\xF5" "es, p\xE3o, banho, ningu\xE9m: \"ok\" -- fim... "
    "E-mail: ana@exemplo.com.br & cia. N\xBA 7, XYZ?";

}  // namespace fuzz
