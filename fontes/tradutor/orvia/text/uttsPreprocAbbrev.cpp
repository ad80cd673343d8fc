// TIRLA: the abbreviations table: loading the ".abr" file and looking words up.
//
// File format (cp1252): one "KEY = expansion" per line; blanks and control characters around
// key and value are ignored; empty lines and lines starting with ';' are skipped. Keys are
// compared upper-cased. A line without '=' becomes an entry with an empty key, which no word
// matches. Expansions longer than 999 characters are cut. The table holds 2000 entries:
// further lines are ignored and a message on standard error says how many were left out.
// When a key appears twice, the first entry wins.
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"
#include "platform/report.h"
#include "platform/text.h"

namespace uttsPreproc {
namespace {

// One abbreviation: upper-cased key and its expansion.
struct Abbreviation {
  std::string key;
  std::string value;
};

// Module state.
struct State {
  std::vector<Abbreviation> table;                     // entries in file order, at most 2000
  std::unordered_map<std::string, std::size_t> first;  // key -> index of its first entry
};

State state;

constexpr char kCommentMark = ';';

// The text without blanks and control characters (DEL included) at both ends.
std::string_view Trim(std::string_view text) {
  return platform::Trim(text, platform::kSpaceControlsDel);
}

Abbreviation ParseLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {{}, std::string(line)};
  std::string_view value = line.substr(equals + 1);
  value = Trim(value.substr(0, MaxExpansionLength));
  return {UpperCase(Trim(line.substr(0, equals))), std::string(value)};
}

void Add(Abbreviation entry) {
  state.first.emplace(entry.key, state.table.size());
  state.table.push_back(std::move(entry));
}

// The file itself, or a file of the same folder whose name differs only in case (files
// written on Windows keep names like "PORTUG.ABR").
std::string FindFile(const std::string& fileName) {
  if (fileName.empty()) return fileName;
  const std::filesystem::path path(fileName);
  return platform::FindFileNoCase(path.parent_path().string(), path.filename().string());
}

}  // namespace

void StartPreproc() {
  state = State{};
  SetPunctuation(Punctuation::kMost);
}

std::string UpperCase(std::string_view text) { return platform::UpperCp1252(text); }

bool LoadAbbreviations(const std::string& fileName) {
  state = State{};
  const std::string path = FindFile(fileName);
  std::ifstream file;
  if (!platform::OpenDataFile(path, file)) return false;
  std::size_t ignored = 0;
  std::string line;
  while (std::getline(file, line)) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == kCommentMark) continue;
    if (state.table.size() >= MaxAbbreviations) {
      ++ignored;
      continue;
    }
    Add(ParseLine(trimmed));
  }
  if (ignored > 0) {
    platform::Report(platform::Severity::kWarning,
                     fileName + ": o arquivo de abreviaturas tem mais de " +
                         std::to_string(MaxAbbreviations) + " entradas; " +
                         std::to_string(ignored) + " foram ignoradas.");
  }
  return platform::ReadWithoutError(file);
}

const std::string& LookupAbbreviation(std::string_view word) {
  static const std::string none;
  if (state.first.empty()) return none;
  const auto found = state.first.find(UpperCase(word));
  return found == state.first.end() ? none : state.table[found->second].value;
}

bool IsAbbreviation(std::string_view word) {
  if (!word.empty() && word.back() == '.' && !LookupAbbreviation(word).empty()) return true;
  if (!word.empty() && word.back() == '.') word.remove_suffix(1);
  return !word.empty() && !LookupAbbreviation(word).empty();
}

std::size_t AbbreviationCount() { return state.table.size(); }

}  // namespace uttsPreproc
