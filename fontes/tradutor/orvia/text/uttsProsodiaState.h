// TIRLA: ORVIA prosody module state, shared by its files (not for other modules).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "orvia/text/uttsProsodia.h"

namespace uttsProsodia {

struct TDuracao {
  std::string phoneme;  // phoneme name, at most 2 characters, case kept
  int ms = 100;         // base duration in milliseconds
};

struct TChave {
  std::string word;   // upper case
  std::string klass;  // class code, at most 2 characters, upper case
};

struct TProsodia {
  std::string previous, current, next;  // class patterns, at most 3 characters; empty = any
  std::string pitch;                    // three pattern characters
  uint32_t keys[3] = {0, 0, 0};         // the three patterns packed by PackClass; 0 = any
};

// A class pattern or code of at most 3 bytes as one number (its length in the top byte), so
// that equal numbers mean equal texts; 0 for the empty text.
inline uint32_t PackClass(std::string_view text) {
  uint32_t key = static_cast<uint32_t>(text.size()) << 24;
  for (size_t i = 0; i < text.size() && i < 3; ++i)
    key |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (16 - 8 * i);
  return key;
}

// Hash of a diphone name that also takes string views, so lookups need no copy.
struct PairHash {
  using is_transparent = void;
  size_t operator()(std::string_view pair) const { return std::hash<std::string_view>()(pair); }
};
using PairSet = std::unordered_set<std::string, PairHash, std::equal_to<>>;

// How the pitch moves over a sentence, beyond the patterns: [PROSÓDIA] lines DECLINIO,
// TONICAFINAL and INTERROGATIVAS. Without them nothing changes.
struct Contour {
  int declineStep = 0;        // percent the pitch falls per word of a sentence; 0 = none
  int declineLimit = 0;       // most percent it falls
  bool finalStress = false;   // a phrase-final word without a stress mark is stressed on its
                              // last vowel, so that it carries the phrase's pitch target
  std::string questionClass;  // class of the words that open a wh-question; empty = none
};

struct ProsodyState {
  std::vector<TDuracao> durations;    // file order, at most kMaxDurations
  std::vector<short> durationIndex;   // first entry per 1- or 2-byte name key; -1 none
  std::vector<TChave> keywords;       // sorted by word, at most kMaxKeywords
  std::unordered_map<std::string_view, const TChave*> keywordIndex;  // word to its entry
  size_t longestKeyword = 0;          // longer words are never keywords
  std::vector<TProsodia> patterns;    // file order, at most kMaxPatterns
  int hertzBase = 230;                // Hz
  std::array<int, 10> hertzTable{};   // percent of hertzBase per pattern digit
  Contour contour;                    // declination, final stress, wh-questions
  PairSet diphones;                   // "a-b", lower-cased
  std::vector<uint8_t> nameId;        // id (1..255) of each 1-2 byte name by its 16-bit key; 0 none
  std::vector<uint8_t> pairBits;      // 256 x 256: 1 when the voice has the pair of two ids
  std::string lastMessage;            // last loader message
  VoiceShape voice;                   // the voice spoken for (not reset by LoadProsody)

  ProsodyState() = default;
  ProsodyState(const ProsodyState&) = delete;  // the indexes point into the tables
  ProsodyState& operator=(const ProsodyState&) = delete;
  ProsodyState& operator=(ProsodyState&&) = default;
};

// The one instance.
ProsodyState& State();

// Whether the voice has the pair previous-current (case ignored); no string is built for
// pairs of short names.
bool HasPair(std::string_view previous, std::string_view current);

// Gives a loader message to the sink and keeps it as the last message.
void Report(const std::string& message);

// Reads a contour line of [PROSÓDIA] (upper-cased) into the state; false when the line is
// not one (uttsProsodiaContour.cpp).
bool ReadContourLine(const std::string& line);

// Whether the sentence whose tokens start at `sentenceStart` opens as a wh-question: one of
// its first two words has the question class.
bool OpensWhQuestion(const std::vector<std::string>& tokens, size_t sentenceStart);

// Whether a byte is a letter of a word token (ASCII and the accented letters of Portuguese).
bool IsTokenLetter(unsigned char c);

// Class code of a question mark that closes a wh-question.
constexpr const char* kWhQuestionCode = "?Q";

// When the contour asks for it: the word whose comment line is at `comment`, if it is short,
// has no stress mark and ends a phrase, gets the mark on its last vowel (before its
// durations and pitch are given). Only words of up to three letters can lack the mark.
void StressIfPhraseFinal(std::vector<std::string>& phonemes, size_t comment);

// Percent the pitch of a word falls: the word's place in its sentence (0 = first).
int DeclinePercent(int wordIndex);

}  // namespace uttsProsodia
