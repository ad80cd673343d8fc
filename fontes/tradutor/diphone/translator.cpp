// TIRLA: a line of text to phonetic text, word by word.
#include "diphone/translator.h"

#include "diphone/rules.h"
#include "diphone/translator_word.h"
#include "platform/folders.h"

namespace translator {
namespace {

struct TranslatorState {
  Word CurrentWord;         // the word being translated, replaced by each NextWord
  std::size_t ReadPos = 0;  // 0-based read position in the normalised line
};

TranslatorState state;

}  // namespace

void StartTranslator() {
  state = TranslatorState{};
  StartRules();
}

std::string TranslateToPhonetic(std::string_view text) {
  std::string result;
  const std::string normal = NormaliseText(text);
  state.ReadPos = 0;
  Word& word = state.CurrentWord;
  while (NextWord(normal, state.ReadPos, word)) {
    ApplyExceptions(word);
    MarkStress(word);
    if (IsSpelledWord(word.Buffer)) {
      SpellWord(word.Buffer, result);
    } else {
      TranslateWord(word.Buffer, result);
    }
  }
  return result;
}

bool LoadTranslatorFiles(const std::string& folder) {
  const bool rules = LoadRules(platform::JoinPath(folder, kRulesFileName));
  const bool exceptions = rules && LoadExceptions(platform::JoinPath(folder, kExceptionsFileName));
  return rules && exceptions;
}

}  // namespace translator
