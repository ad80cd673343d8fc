// TIRLA: ORVIA text preprocessing: numbers, abbreviations, vowel-less words and symbols to words.
#pragma once
#include <string>

namespace uttsPreproc {

// Puts the module in its start state: the abbreviations table empty.
void StartPreproc();

// Reads the abbreviations file (cp1252, "KEY = value" lines, ";" comments) into the table,
// replacing the old one, which is dropped even when loading fails. False when the file is
// missing, is no regular file, or cannot be read; true otherwise (malformed lines are kept or
// skipped as documented in uttsPreprocAbbrev.cpp).
bool LoadAbbreviations(const std::string& fileName);

// Rewrites a cp1252 text into the words to be spoken: numbers, ordinals, decimals, dashes,
// abbreviations followed by ". ", vowel-less words and symbols become words; letters, blanks,
// ! ( ) , . : ; ? and "..." pass through. Never fails; any byte string gives a result.
std::string PreprocessText(const std::string& text);

}  // namespace uttsPreproc
