// TIRLA: Portuguese text to phonetic text for the diphone synthesizer.
#pragma once
#include <string>
#include <string_view>

namespace translator {

// File names of the translator's data inside the unit directory.
inline constexpr const char* kRulesFileName = "regras.rgr";
inline constexpr const char* kExceptionsFileName = "portug.exc";

// Empties the rule and exception tables and the word state (program start, tests).
void StartTranslator();

// A line of cp1252 text of any length to phonetic text: one bracketed group per word.
// With empty tables every letter becomes its default segment " /_" + letter.
std::string TranslateToPhonetic(std::string_view text);

// Empties the rule lists and the exception count, then reads the rules file at `path`.
// False when the file cannot be opened or read through (a folder is no file); the tables are
// then unusable.
bool LoadRules(const std::string& path);

// Reads at most 15000 entries of the exceptions file at `path` and sorts them by key.
// False when the file cannot be opened or read.
bool LoadExceptions(const std::string& path);

// Releases every rule and leaves the 64 lists empty.
void FreeRules();

// Loads `folder`/regras.rgr and then `folder`/portug.exc; false when either cannot be opened.
bool LoadTranslatorFiles(const std::string& folder);

}  // namespace translator
