// TIRLA: loading the rules file and the exceptions file into their tables.
#include "diphone/rules.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <utility>

#include "diphone/translator.h"
#include "platform/datafile.h"

namespace translator {
namespace {

struct ExceptionEntry {
  std::string Key;    // a word as the translator stores it, lower case with accent marks
  std::string Value;  // the letters that replace it
};

struct RulesState {
  std::array<std::vector<RuleRecord>, kRuleListCount> RuleTable;  // one list per code 32..95
  std::vector<ExceptionEntry> ExceptionTable;  // sorted by Key after loading
};

RulesState state;

const std::vector<RuleRecord> kNoRules;

// Index of the list for a first match character, or -1 when it has none.
int ListIndex(char first) {
  const int code = static_cast<unsigned char>(first);
  if (code < kFirstListCode || code >= kFirstListCode + kRuleListCount) return -1;
  return code - kFirstListCode;
}

// Takes the part of `line` from `pos` up to `delimiter` (or the end), keeping at most
// `limit` characters; `pos` ends behind the delimiter, or at npos when it was missing.
std::string TakePart(std::string_view line, std::size_t& pos, char delimiter, std::size_t limit) {
  if (pos == std::string_view::npos || pos > line.size()) {
    pos = std::string_view::npos;
    return {};
  }
  const std::size_t end = line.find(delimiter, pos);
  const std::size_t stop = end == std::string_view::npos ? line.size() : end;
  std::string part(line.substr(pos, std::min(stop - pos, limit)));
  pos = end == std::string_view::npos ? std::string_view::npos : end + 1;
  return part;
}

// Reads one line without its line end; false at the end of the file.
bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

void StartRules() {
  for (auto& list : state.RuleTable) list.clear();
  state.ExceptionTable.clear();
}

const std::vector<RuleRecord>& RuleList(char first) {
  const int index = ListIndex(first);
  return index < 0 ? kNoRules : state.RuleTable[index];
}

std::size_t RuleCount() {
  std::size_t count = 0;
  for (const auto& list : state.RuleTable) count += list.size();
  return count;
}

std::size_t ExceptionCount() { return state.ExceptionTable.size(); }

bool ParseRuleLine(std::string_view line, RuleRecord& rule) {
  std::size_t pos = 0;
  rule.Left = TakePart(line, pos, '(', kMaxContext);
  rule.Match = TakePart(line, pos, ')', kMaxContext);
  rule.Right = TakePart(line, pos, '=', kMaxContext);
  rule.Output = TakePart(line, pos, '|', kMaxOutput);
  // A rule that consumes nothing would never let the translator move on.
  return !rule.Match.empty() && ListIndex(rule.Match[0]) >= 0;
}

bool LoadRules(const std::string& path) {
  for (auto& list : state.RuleTable) list.clear();
  state.ExceptionTable.clear();
  std::ifstream in;
  if (!platform::OpenDataFile(path, in)) return false;
  std::string line;
  RuleRecord rule;
  while (ReadLine(in, line)) {
    if (ParseRuleLine(line, rule)) state.RuleTable[ListIndex(rule.Match[0])].push_back(rule);
  }
  return platform::ReadWithoutError(in);
}

bool LoadExceptions(const std::string& path) {
  state.ExceptionTable.clear();
  std::ifstream in;
  if (!platform::OpenDataFile(path, in)) return false;
  std::string line;
  while (state.ExceptionTable.size() < kMaxExceptions && ReadLine(in, line)) {
    if (line.empty()) continue;
    if (line.size() > kMaxExceptionLine) line.resize(kMaxExceptionLine);
    const std::size_t equals = line.find('=');
    ExceptionEntry entry;
    if (equals == std::string::npos) {
      entry.Key = line + '|';  // no word can hold a vertical bar, so this never matches
    } else {
      entry.Key = line.substr(0, equals);
      const std::size_t bar = line.find('|', equals + 1);
      entry.Value = line.substr(equals + 1, bar == std::string::npos ? bar : bar - equals - 1);
    }
    state.ExceptionTable.push_back(std::move(entry));
  }
  std::sort(state.ExceptionTable.begin(), state.ExceptionTable.end(),
            [](const ExceptionEntry& a, const ExceptionEntry& b) { return a.Key < b.Key; });
  return platform::ReadWithoutError(in);
}

void FreeRules() {
  for (auto& list : state.RuleTable) {
    list.clear();
    list.shrink_to_fit();
  }
}

const std::string* FindException(std::string_view key) {
  const auto& table = state.ExceptionTable;
  const auto it = std::lower_bound(table.begin(), table.end(), key,
                                   [](const ExceptionEntry& e, std::string_view k) { return e.Key < k; });
  if (it == table.end() || it->Key != key) return nullptr;
  return &it->Value;
}

}  // namespace translator
