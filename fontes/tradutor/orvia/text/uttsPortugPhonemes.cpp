// TIRLA: ORVIA phoneme list: tokens with pitch patterns to phonemes, pauses and word joins.
#include <array>
#include <unordered_map>

#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugWordCache.h"
#include "orvia/text/uttsTonica.h"
#include "platform/codepage.h"

namespace uttsPortug {

void ReleaseExceptions();  // uttsPortugExceptions.cpp

namespace {

// Words of three letters or more that carry no stress of their own.
constexpr std::array<std::string_view, 6> kUnstressed = {"POR", "DAS", "DOS", "COM",
                                                         "N\xC3O", "SIM"};

// Pause line of a punctuation token, by its mark; a blank gives nothing.
std::string_view PauseFor(char mark) {
  switch (mark) {
    case '!': return "_!";
    case '(': return "_(";
    case ')': return "_)";
    case ',': return "_,";
    case '.': return "_.";
    case ':': return "_:";
    case ';': return "_;";
    case '?': return "_?";
    default: return {};
  }
}

bool IsPauseMark(char c) { return c == ' ' || !PauseFor(c).empty(); }

// Text repeats its words: the phonemes of a word (after exceptions, stress and rules) are
// kept, so a repeated word costs one look-up. Long words are not kept, and the memory is
// emptied when it is full or when the rules or exceptions change.
constexpr size_t kMaxWordsKept = 20000;
constexpr size_t kLongestWordKept = 40;

struct WordsState {
  std::unordered_map<std::string, Lines> phonemes;  // upper-case word to its phoneme lines
};

WordsState words;

// Appends the phoneme lines of an upper-case word.
void AppendWord(std::string& word, Lines& list) {
  if (word.size() <= kLongestWordKept) {
    auto it = words.phonemes.find(word);
    if (it != words.phonemes.end()) {
      list.insert(list.end(), it->second.begin(), it->second.end());
      return;
    }
  }
  std::string key = word.size() <= kLongestWordKept ? word : std::string();
  size_t first = list.size();
  LookUpException(word);
  int stress = IsUnstressedWord(word) ? 0 : uttsTonica::FindStress(word);
  ApplyRules(word, stress, list);
  if (key.empty()) return;
  if (words.phonemes.size() >= kMaxWordsKept) words.phonemes.clear();
  if (words.phonemes.empty()) words.phonemes.reserve(kMaxWordsKept);
  words.phonemes.emplace(std::move(key), Lines(list.begin() + first, list.end()));
}

// A stressed first phoneme (">a") joins like an unstressed one: the stress mark is skipped,
// then one "¨" marker.
bool StartsWithVowelPhoneme(std::string_view line) {
  if (!line.empty() && line[0] == '>') line.remove_prefix(1);
  if (!line.empty() && line[0] == '\xA8') line.remove_prefix(1);
  return !line.empty() && std::string_view("aeiouwy").find(line[0]) != std::string_view::npos;
}

}  // namespace

void ForgetWords() { words.phonemes.clear(); }

void StartPortug() {
  ReleaseRules();
  ReleaseExceptions();
}

bool IsUnstressedWord(const std::string& word) {
  if (word.size() < 3) return true;
  for (std::string_view w : kUnstressed)
    if (word == w) return true;
  return false;
}

Lines BuildPhonemeList(const Lines& patternLines, bool closing) {
  Lines list;
  list.reserve(patternLines.size() * 8);
  for (const std::string& pattern : patternLines) {
    std::string comment(1, ';');
    comment.append(pattern);
    list.push_back(std::move(comment));
    std::string word = pattern.size() > 4 ? platform::UpperCp1252(std::string_view(pattern).substr(4)) : "";
    if (word.empty()) {
      list.push_back("__");
      list.push_back("");
    } else if (IsPauseMark(word[0])) {
      std::string_view pause = PauseFor(word[0]);
      if (!pause.empty()) list.emplace_back(pause);
    } else {
      AppendWord(word, list);
    }
  }
  if (closing) list.push_back(kClosingPause);
  JoinAcrossWords(list);
  return list;
}

void JoinAcrossWords(Lines& list) {
  size_t i = 3;
  while (i + 1 < list.size()) {
    if (!list[i].empty() && list[i][0] == ';') {
      if (StartsWithVowelPhoneme(list[i + 1])) {
        std::string& last = list[i - 2];
        if (last == "r2" || last == "s2") {  // r2 -> r, s2 -> z
          last[0] = last[0] == 'r' ? 'r' : 'z';
          last.resize(1);
        }
      }
      i += 2;
    } else {
      ++i;
    }
  }
}

}  // namespace uttsPortug
