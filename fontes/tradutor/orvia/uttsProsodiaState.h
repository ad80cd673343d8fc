// TIRLA: ORVIA prosody module state, shared by its files (not for other modules).
#pragma once
#include <array>
#include <string>
#include <vector>

namespace uttsProsodia {

struct TDuracao {
  std::string phoneme;  // phoneme name, at most 2 characters, case kept
  int ms = 100;         // base duration in milliseconds
};

struct TChave {
  std::string word;   // upper case
  std::string klass;  // class code, at most 2 characters, upper case
};

struct TProsodia {
  std::string previous, current, next;  // class patterns, at most 3 characters; empty = any
  std::string pitch;                    // three pattern characters
};

struct ProsodyState {
  std::vector<TDuracao> durations;    // file order, at most kMaxDurations
  std::vector<TChave> keywords;       // sorted by word, at most kMaxKeywords
  std::vector<TProsodia> patterns;    // file order, at most kMaxPatterns
  int hertzBase = 230;                // Hz
  std::array<int, 10> hertzTable{};   // percent of hertzBase per pattern digit
  std::vector<std::string> diphones;  // "a-b", lower-cased, sorted
  std::string lastMessage;            // last loader message
};

// The one instance.
ProsodyState& State();

// Gives a loader message to the sink and keeps it as the last message.
void Report(const std::string& message);

}  // namespace uttsProsodia
