// TIRLA: the translator's steps on one word (internal to the translator library).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace translator {

inline constexpr std::size_t kMaxWordLength = 256;  // characters a word buffer holds
inline constexpr char kSpellMark = '\x01';          // stands for a character that has no spelling

// One word as the translator holds it.
struct Word {
  std::string Buffer;   // the word's characters, lower case, at most kMaxWordLength
  int VowelCount = 0;   // vowels of the word as read from the text
  bool HasAccent = false;  // an accent mark other than " stood after the word's first character
};

// Normalises a line: w/y beside letters, d' apostrophes, high bytes, control characters.
std::string NormaliseText(std::string_view text);

// Takes the next word of normalised `text` from `pos` into `word`; false when none is left.
// A word longer than kMaxWordLength ends there; the rest is read as the following word.
bool NextWord(std::string_view text, std::size_t& pos, Word& word);

// Replaces the word by its exception value, trying it again with trailing s and m stripped.
void ApplyExceptions(Word& word);

// Upper-cases the stressed vowel of a word that carries no accent mark.
void MarkStress(Word& word);

// True when the word is spelled out: it starts with the spell mark, or holds only
// consonants and punctuation.
bool IsSpelledWord(std::string_view word);

// Appends one group "[ /_" c "]" for each character c of the word.
void SpellWord(std::string_view word, std::string& out);

// Appends the bracketed group of segments that the rules give for the word.
void TranslateWord(std::string_view word, std::string& out);

}  // namespace translator
