// TIRLA: ORVIA sentence contour beyond the pitch patterns: declination over a sentence, a
// pitch target on a phrase-final word that has no stress mark, and wh-questions told apart
// from yes/no questions. The prosody file turns each on:
//   DECLINIO=2,14      each word of a sentence 2 % lower than the one before, 14 % at most
//   TONICAFINAL=SIM    a phrase-final word of one or two letters is stressed on its last vowel
//   INTERROGATIVAS=QU  a question opened by a word of class QU closes with the class "?Q"
#include <algorithm>
#include <string_view>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsProsodiaState.h"
#include "platform/byteset.h"

namespace uttsProsodia {
namespace {

constexpr std::string_view kDecline = "DECLINIO=";
constexpr std::string_view kFinalStress = "TONICAFINAL=";
constexpr std::string_view kQuestionClass = "INTERROGATIVAS=";
constexpr int kWordsOfAnOpening = 2;
constexpr size_t kLongestUnstressed = 3;  // letters of the longest word without a stress mark  // a question word among these opens a wh-question
constexpr char kStressMark = '>';
constexpr char kDropMark = '\xA8';

// Phoneme names of vowels that can carry a stress: a an @ e ee en i in o oo on u un (not the
// glides w and y).
bool IsStressableVowel(std::string_view name) {
  if (!name.empty() && name[0] == kDropMark) name.remove_prefix(1);
  if (name.empty() || std::string_view("aeiou@").find(name[0]) == std::string_view::npos)
    return false;
  return name.size() == 1 ||
         (name.size() == 2 && (name[1] == 'n' || name[1] == name[0]) && name[0] != '@');
}

bool IsComment(const std::string& line) { return line.size() >= 5 && line[0] == ';' && line[4] == '|'; }

// Marks that end a phrase: a word before one of them is phrase-final.
constexpr platform::ByteSet kPhraseEnds(".!?,;:");

void Complain(const std::string& line) {
  Report("Configura\xE7\xE3o da pros\xF3" "dia: valor errado: " + line);
}

}  // namespace

bool ReadContourLine(const std::string& line) {
  Contour& c = State().contour;
  std::string_view rest(line);
  if (rest.starts_with(kDecline)) {
    rest.remove_prefix(kDecline.size());
    size_t comma = rest.find(',');
    auto step = uttsPortug::ParseInteger(rest.substr(0, comma));
    auto limit = comma == std::string_view::npos ? std::optional<int>()
                                                 : uttsPortug::ParseInteger(rest.substr(comma + 1));
    if (step && limit && *step >= 0 && *limit >= 0 && *limit < 100) {
      c.declineStep = *step;
      c.declineLimit = *limit;
    } else {
      Complain(line);
    }
    return true;
  }
  if (rest.starts_with(kFinalStress)) {
    std::string value = uttsPortug::Trim(rest.substr(kFinalStress.size()));
    c.finalStress = !value.empty() && value[0] != 'N';
    return true;
  }
  if (rest.starts_with(kQuestionClass)) {
    c.questionClass = uttsPortug::Trim(rest.substr(kQuestionClass.size())).substr(0, 2);
    return true;
  }
  return false;
}

bool OpensWhQuestion(const std::vector<std::string>& tokens, size_t sentenceStart) {
  const std::string& wanted = State().contour.questionClass;
  if (wanted.empty()) return false;
  int words = 0;
  for (size_t i = sentenceStart; i < tokens.size() && words < kWordsOfAnOpening; ++i) {
    const std::string& token = tokens[i];
    if (token.size() < 5 || token[0] != '[') continue;  // a boundary has no text
    if (!IsTokenLetter(static_cast<unsigned char>(token[4]))) continue;
    if (token.compare(1, 2, wanted) == 0 || (wanted.size() == 1 && token[1] == wanted[0]))
      return true;
    ++words;
  }
  return false;
}

void StressIfPhraseFinal(std::vector<std::string>& phonemes, size_t comment) {
  const std::string& line = phonemes[comment];
  if (!State().contour.finalStress || line.size() <= 5 || line.size() > 5 + kLongestUnstressed ||
      !IsTokenLetter(static_cast<unsigned char>(line[5])))
    return;
  size_t lastVowel = 0, next = comment + 1;
  for (bool inWord = true; next < phonemes.size() && !IsComment(phonemes[next]); ++next) {
    const std::string& phoneme = phonemes[next];
    if (phoneme.empty()) inWord = false;
    if (!inWord) continue;
    if (phoneme[0] == kStressMark) return;  // it has its own stress
    if (IsStressableVowel(phoneme)) lastVowel = next;
  }
  const bool phraseEnd = next == phonemes.size() || phonemes[next].size() == 5 ||
                         kPhraseEnds.Has(phonemes[next][5]);
  if (phraseEnd && lastVowel != 0)
    phonemes[lastVowel].insert(phonemes[lastVowel].begin(), kStressMark);
}

int DeclinePercent(int wordIndex) {
  const Contour& c = State().contour;
  return std::min(c.declineLimit, c.declineStep * wordIndex);
}

}  // namespace uttsProsodia
