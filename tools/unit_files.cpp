// TIRLA: the unit database files.
#include "unit_files.h"

#include <algorithm>
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

bool ReadFile(const std::string& path, std::string& bytes) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  bytes.clear();
  char chunk[65536];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, got);
  const bool read = ferror(f) == 0;
  fclose(f);
  return read;
}

uint64_t Get(const std::string& in, size_t at, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return value;
}

}  // namespace

bool ReadUnitFiles(const std::string& base, Units& units, std::string& error) {
  std::string index, data;
  if (!ReadFile(base + ".IND", index) || !ReadFile(base + ".DIF", data)) {
    error = "não foi possível ler " + base + ".IND/.DIF";
    return false;
  }
  units.clear();
  constexpr size_t kEntry = 1 + kMaxName + 2 + 4;
  for (size_t at = 0; at + kEntry <= index.size(); at += kEntry) {
    const std::string name = index.substr(at + 1, std::min<size_t>(Get(index, at, 1), kMaxName));
    const size_t length = Get(index, at + 1 + kMaxName, 2), offset = Get(index, at + 3 + kMaxName, 4);
    if (offset + length > data.size()) {
      error = "unidade além do fim de " + base + ".DIF: " + name;
      return false;
    }
    units[name].assign(data.begin() + static_cast<long>(offset), data.begin() + static_cast<long>(offset + length));
  }
  return true;
}

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
