// TIRLA: what the number and clock word files share.
#pragma once
#include <string>
#include <string_view>

#include "words/words.h"

namespace words {

struct WordsState {
  std::string lettersFolder;  // where the recordings are
  WordsOutput output;         // how they are played
};

WordsState& State();

// Plays one fixed word's recording (its name starts with "_").
void PlayWord(std::string_view name);

}  // namespace words
