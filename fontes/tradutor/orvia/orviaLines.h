// TIRLA: what the orvia program does to a text and to its MBROLA lines beyond the engine's
// stages: capital letters and signs said, gaps between words, and the phoneme transcriptions
// it prints (br4 names, a word-by-word trace, IPA).
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace orviaCli {

using Lines = std::vector<std::string>;

// The cp1252 text with the word "maiúscula" before every word that begins with a capital.
std::string WithCapitalWords(std::string_view text);

// The cp1252 text with the name of each of `signs` said before it, the sign kept (its pause
// stays); a point or comma between two digits belongs to the number and is left alone.
std::string WithSignNames(std::string_view text, std::string_view signs);

// A pause of `ms` between two words (none where a phrase mark or a pause stands already).
void PutWordGaps(Lines& lines, int ms);

// The pitch points of each word that begins with a capital, times `factor`.
void RaiseCapitalWords(Lines& lines, double factor);

// A pause line of `ms`.
std::string PauseLine(int ms);

// The transcription of the lines, one line per phrase (ended by a punctuation mark), words
// parted by blanks: br4 names parted by '.' (-x); IPA, UTF-8 (--ipa); or one line per word,
// the word (UTF-8), a tab and its br4 names (-X). Text left after the last mark ends with a
// line end too. Pauses are not written.
std::string Mnemonics(const Lines& lines);
std::string Ipa(const Lines& lines);
std::string Trace(const Lines& lines);

// Loads the table from br4 names to IPA ("name ipa [after-nasal]" lines, UTF-8, ';' comments),
// replacing the one before; the third column is the form after a nasal vowel. Empty on success, else why not (UTF-8). A name missing from it is written
// as it is.
std::string LoadIpaTable(const std::string& file);

}  // namespace orviaCli
