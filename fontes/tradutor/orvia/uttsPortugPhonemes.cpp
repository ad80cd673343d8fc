// TIRLA: ORVIA phoneme list: tokens with pitch patterns to phonemes, pauses and word joins.
#include <array>

#include "orvia/uttsPortug.h"
#include "orvia/uttsPortugCase.h"
#include "orvia/uttsTonica.h"

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

// A stressed first phoneme (">a") joins like an unstressed one: the stress mark is skipped,
// then one "¨" marker.
bool StartsWithVowelPhoneme(std::string_view line) {
  if (!line.empty() && line[0] == '>') line.remove_prefix(1);
  if (!line.empty() && line[0] == '\xA8') line.remove_prefix(1);
  return !line.empty() && std::string_view("aeiouwy").find(line[0]) != std::string_view::npos;
}

}  // namespace

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

Lines BuildPhonemeList(const Lines& patternLines) {
  Lines list;
  list.reserve(patternLines.size() * 8);
  for (const std::string& pattern : patternLines) {
    std::string comment(1, ';');
    comment.append(pattern);
    list.push_back(std::move(comment));
    std::string word = pattern.size() > 4 ? UpperAnsi(std::string_view(pattern).substr(4)) : "";
    if (word.empty()) {
      list.push_back("__");
      list.push_back("");
    } else if (IsPauseMark(word[0])) {
      std::string_view pause = PauseFor(word[0]);
      if (!pause.empty()) list.emplace_back(pause);
    } else {
      LookUpException(word);
      int stress = IsUnstressedWord(word) ? 0 : uttsTonica::FindStress(word);
      ApplyRules(word, stress, list);
    }
  }
  list.push_back("__");
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
