// TIRLA: the translator's rule table and exception table, and their loaders.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace translator {

// Field limits of one rule line and the capacity of the exception table.
inline constexpr std::size_t kMaxContext = 5;      // characters kept of left, match and right
inline constexpr std::size_t kMaxOutput = 11;      // characters kept of the output
inline constexpr std::size_t kMaxExceptions = 15000;
inline constexpr std::size_t kMaxExceptionLine = 252;  // characters kept of an exceptions line
inline constexpr int kFirstListCode = 32;          // blank: the first rule list
inline constexpr int kRuleListCount = 64;          // lists for codes 32 to 95

// One letter-to-sound rule.
struct RuleRecord {
  std::string Left;    // left context, matched from right to left
  std::string Match;   // the letters consumed, upper case; never empty
  std::string Right;   // right context, matched from left to right
  std::string Output;  // the phonetic segment that replaces Match
};

// The rules whose Match begins with `first`, in file order; empty outside codes 32 to 95.
const std::vector<RuleRecord>& RuleList(char first);

// Number of rules held in all 64 lists.
std::size_t RuleCount();

// Number of exception entries held.
std::size_t ExceptionCount();

// The value of the exception whose key is exactly `key`, or nullptr.
const std::string* FindException(std::string_view key);

// Splits one rules line into a rule; false when its match part is empty or has no list.
bool ParseRuleLine(std::string_view line, RuleRecord& rule);

// Empties both tables (program start, tests).
void StartRules();

}  // namespace translator
