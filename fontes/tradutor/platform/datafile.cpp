// TIRLA: data files opened only when they are regular files, and read errors kept.
#include "platform/datafile.h"

#include <sys/stat.h>

namespace platform {

bool OpenDataFile(const std::string& path, std::ifstream& in) {
  in.close();
  struct stat info {};
  // Opening a folder succeeds, and every read of it then fails: refused here.
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  in.open(path, std::ios::binary);
  return in.is_open();
}

bool ReadDataFile(const std::string& path, std::string& bytes, size_t limit) {
  std::ifstream in;
  if (!OpenDataFile(path, in)) return false;
  bytes.clear();
  char chunk[65536];
  // read() turns a failing read into badbit instead of throwing out of the stream buffer
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    const size_t n = static_cast<size_t>(in.gcount());
    if (n > limit - bytes.size()) return false;
    bytes.append(chunk, n);
  }
  return ReadWithoutError(in);
}

std::string DataFileProblem(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "n\xE3o existe";
  if (S_ISDIR(info.st_mode)) return "\xE9 uma pasta";
  if (!S_ISREG(info.st_mode)) return "n\xE3o \xE9 um arquivo comum";
  std::ifstream in(path, std::ios::binary);
  return in.is_open() ? std::string() : "n\xE3o p\xF4" "de ser lido";
}

}  // namespace platform
