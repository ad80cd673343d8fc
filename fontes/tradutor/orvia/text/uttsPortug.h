// TIRLA: ORVIA letter-to-sound rules, exceptions dictionary, phoneme list and joining of words.
#pragma once
#include <string>
#include <vector>

namespace uttsPortug {

// A list of text lines (phoneme list, output lines): cp1252, in order.
using Lines = std::vector<std::string>;

// Puts the module in its start state: no rules, no exceptions.
void StartPortug();

// Replaces the rules by those of the rules file ("left(target)right=out&put|remark", ";"
// comments). False when the file cannot be opened or read through (a folder is no file); the
// table is then unusable. Lines whose target is empty are skipped (a rule must consume at least
// one letter); their count is kept.
bool LoadRules(const std::string& fileName);

// Frees every rule and empties the chains.
void ReleaseRules();

// Number of rules loaded, and of rule lines skipped because their target was empty.
int RuleCount();
int SkippedRuleLines();

// Appends the phonemes of an upper-case word to `list`, one per line, ">" in front of the
// first phoneme written at or after the 1-based `stress` letter (below 1: no mark), then an
// empty line that ends the word.
void ApplyRules(const std::string& word, int stress, Lines& list);

// Reads the exceptions file ("WORD=RESPELLING|remark", upper-cased) and sorts it. At most
// 15000 entries; lines beyond are ignored. False when the file cannot be opened or read.
bool LoadExceptions(const std::string& fileName);

// Number of exception entries loaded.
int ExceptionCount();

// Replaces an upper-case word by its respelling; final S and M letters are stripped to find
// the base word and put back after the respelling. Unknown words come back unchanged.
void LookUpException(std::string& word);

// True for words shorter than 3 characters and for POR DAS DOS COM NÃO SIM.
bool IsUnstressedWord(const std::string& word);

// Turns pattern lines ("555|word") into the phoneme list: per token a ";"-comment line, its
// phonemes (or a pause line) and an empty line; a final "__"; then JoinAcrossWords.
// `closing` false leaves out the final "__": more of the text follows.
Lines BuildPhonemeList(const Lines& patternLines, bool closing = true);

// The final pause of a text, and the lines a phrase start (the empty token every text opens
// with) becomes in the phoneme list: its comment, "__" and the empty line.
constexpr const char* kClosingPause = "__";
constexpr size_t kPhraseStartLines = 3;

// A word-final "r2"/"s2" before a word that starts with a vowel phoneme becomes "r"/"z".
void JoinAcrossWords(Lines& list);

}  // namespace uttsPortug
