// TIRLA: the unit database files.
#include "unit_files.h"

#include <cstdio>

namespace unitfiles {
namespace {

constexpr size_t kMaxName = 8;
constexpr size_t kMaxLength = 0xFFFF;

void Put(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && written;
}

}  // namespace

bool WriteUnitFiles(const std::string& base, const Units& units, std::string& error) {
  std::string index, data;
  for (const auto& [name, samples] : units) {
    if (name.empty() || name.size() > kMaxName || samples.size() > kMaxLength ||
        data.size() + samples.size() > UINT32_MAX) {
      error = "unidade fora dos limites do arquivo: " + name;
      return false;
    }
    Put(index, name.size(), 1);
    index += name;
    index.append(kMaxName - name.size(), ' ');
    Put(index, samples.size(), 2);
    Put(index, data.size(), 4);
    data.append(samples.begin(), samples.end());
  }
  if (!WriteFile(base + ".DIF", data) || !WriteFile(base + ".IND", index)) {
    error = "não foi possível escrever " + base + ".IND/.DIF";
    return false;
  }
  return true;
}

}  // namespace unitfiles
