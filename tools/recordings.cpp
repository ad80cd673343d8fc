// TIRLA: reading the manifest of the recorded sounds.
#include "recordings.h"

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/text.h"

namespace recordings {
namespace {

constexpr char kToneWord[] = "@tom";
constexpr char kPauseWord[] = "@pausa";
constexpr char kCharactersKey[] = "@caracteres";

std::string Trimmed(std::string_view text) {
  return std::string(platform::Trim(text, platform::kSpaceTabLineEnd));
}

bool ReadRanges(const std::string& value, std::set<int>& codes) {
  std::istringstream in(value);
  for (std::string range; in >> range;) {
    int first = 0, last = 0;
    char dash = 0;
    std::istringstream r(range);
    if (!(r >> first >> dash >> last) || dash != '-' || first < 0 || last > 255 || first > last)
      return false;
    for (int c = first; c <= last; ++c)
      if (IsPrintable(c)) codes.insert(c);
  }
  return true;
}

}  // namespace

bool IsPrintable(int code) {
  // code page 1252 leaves 129, 141, 143, 144 and 157 empty; below 32 and 127 are controls
  if (code < 32 || code == 127 || code > 255) return false;
  return code != 129 && code != 141 && code != 143 && code != 144 && code != 157;
}

bool ReadManifest(const std::string& path, std::string (*CharName)(int code),
                  std::vector<Recording>& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "manifesto não encontrado: " + path;
    return false;
  }
  std::set<int> characters;
  std::map<std::string, size_t> seen;  // name -> index in `out`
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    const size_t equals = trimmed.find('=');
    const std::string name = equals == std::string::npos ? "" : Trimmed(trimmed.substr(0, equals));
    const std::string value = equals == std::string::npos ? "" : Trimmed(trimmed.substr(equals + 1));
    const std::string where = path + ":" + std::to_string(number);
    if (name.empty() || value.empty()) {
      error = where + ": esperava NOME = texto";
      return false;
    }
    if (name == kCharactersKey) {
      if (!ReadRanges(value, characters)) {
        error = where + ": faixa de códigos inválida";
        return false;
      }
      continue;
    }
    Recording r{.name = name, .text = value};
    if (value.starts_with(kToneWord)) {
      std::istringstream tone(value.substr(sizeof kToneWord - 1));
      if (!(tone >> r.lowHz >> r.highHz) || r.lowHz <= 0 || r.highHz <= 0) {
        error = where + ": tom sem duas frequências";
        return false;
      }
      r.text.clear();
    } else if (value.starts_with(kPauseWord)) {
      std::istringstream pause(value.substr(sizeof kPauseWord - 1));
      if (!(pause >> r.pauseMs) || r.pauseMs <= 0) {
        error = where + ": pausa sem duração";
        return false;
      }
      r.text.clear();
    }
    if (!seen.emplace(name, out.size()).second) {
      error = where + ": nome repetido " + name;
      return false;
    }
    out.push_back(r);
  }
  // The characters without a line of their own take ORVIA's names.
  for (const int code : characters) {
    const std::string name = "_" + std::to_string(code);
    if (seen.count(name)) continue;
    const std::string text = Trimmed(CharName(code));
    if (text.empty()) {
      error = path + ": o caractere " + std::to_string(code) + " não tem nome: falta a linha " + name;
      return false;
    }
    out.push_back({.name = name, .text = text});
  }
  return true;
}

}  // namespace recordings
