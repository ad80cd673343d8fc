// TIRLA: ORVIA stress position of a Portuguese word.
#pragma once
#include <string>

namespace uttsTonica {

// 1-based position of the stressed letter of a cp1252 word: the rightmost accented vowel,
// else the Portuguese default rules (paroxytone after final a/e/o(s), am, em; oxytone
// otherwise); 0 when the word has no vowel.
int FindStress(const std::string& word);

}  // namespace uttsTonica
