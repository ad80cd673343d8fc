// TIRLA: ORVIA text preprocessing: numbers, abbreviations, vowel-less words and symbols to words.
#pragma once
#include <string>
#include <string_view>

namespace uttsPreproc {

// Which signs are read aloud by name (a speech service's punctuation setting). kMost is what
// ORVIA always did: every sign but the punctuation that shapes the phrase (! ( ) , . : ; ?).
// kSome reads only symbols with a meaning of their own ($ % @ # + = ...), kNone no sign, and
// kAll the phrase punctuation and the ellipsis too, keeping their pauses.
enum class Punctuation : int { kNone = 0, kSome = 1, kMost = 2, kAll = 3 };

// Puts the module in its start state: the abbreviations table empty, punctuation kMost.
void StartPreproc();

// The signs later texts read; kept until changed or StartPreproc (loading data keeps it).
void SetPunctuation(Punctuation mode);
Punctuation CurrentPunctuation();

// Reads the abbreviations file (cp1252, "KEY = value" lines, ";" comments) into the table,
// replacing the old one, which is dropped even when loading fails. False when the file is
// missing, is no regular file, or cannot be read; true otherwise (malformed lines are kept or
// skipped as documented in uttsPreprocAbbrev.cpp).
bool LoadAbbreviations(const std::string& fileName);

// Whether `word` (cp1252, with or without its point) is in the abbreviations table: a point
// after it ends no sentence.
bool IsAbbreviation(std::string_view word);

// Rewrites a cp1252 text into the words to be spoken: numbers, ordinals, decimals, dashes,
// abbreviations followed by ". ", vowel-less words and symbols become words; letters, blanks,
// ! ( ) , . : ; ? and "..." pass through. Never fails; any byte string gives a result.
std::string PreprocessText(const std::string& text);

// The same for a piece of a longer text: a character alone is a word there ("a", "é"), not a
// character to name.
std::string PreprocessWords(const std::string& text);

}  // namespace uttsPreproc
