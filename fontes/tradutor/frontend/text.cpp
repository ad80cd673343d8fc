// TIRLA: voicing text: runs of words, numbers, punctuation and other characters.
#include <string>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/translator.h"
#include "frontend/dispatch.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "frontend/state.h"
#include "platform/byteset.h"
#include "platform/messages.h"
#include "words/words.h"

namespace frontend {
namespace {

// Word characters: the blank, the letters and every code from 128 (accented letters).
constexpr platform::ByteSet kWordCharacters =
    platform::ByteSet(" ").AddRange('A', 'Z').AddRange('a', 'z').AddRange(128, 255);
constexpr platform::ByteSet kLetters =
    platform::ByteSet().AddRange('A', 'Z').AddRange('a', 'z').AddRange(128, 255);
constexpr platform::ByteSet kNumberCharacters = platform::ByteSet("-").AddRange('0', '9');

constexpr size_t kLongestSaidNumber = 6;  // longer digit runs are spelled
constexpr size_t kLongestPhrase = 999;    // characters of a phrase given to the translator
constexpr int kMostRepeats = 3;           // then a repeated symbol only clicks
constexpr int kWaitSliceMs = 50;

bool Has(const platform::ByteSet& set, char c) { return set.Has(static_cast<unsigned char>(c)); }

// The longest run of `set` at the start of `text`.
std::string_view RunOf(std::string_view text, const platform::ByteSet& set) {
  size_t n = 0;
  while (n < text.size() && Has(set, text[n])) ++n;
  return text.substr(0, n);
}

void SpeakNumberRun(std::string_view run) {
  if (run.find('-') != std::string_view::npos || run.size() > kLongestSaidNumber) {
    SpellText(run);
    return;
  }
  words::SpeakWords(words::NumberToWords(static_cast<uint32_t>(std::stoul(std::string(run)))),
                    false);
}

void SpeakPhrase(std::string_view run) {
  if (UpperCaseLatin1(run) == "WWW") {
    SpellText(run);
    return;
  }
  const std::string phonetic = translator::TranslateToPhonetic(run.substr(0, kLongestPhrase));
  synth::SpeakPhonetic(phonetic, false);
}

// What a minus sign says depends on what follows it.
void SpeakMinus(std::string_view text) {
  const char next = text.size() < 3 ? ' ' : text[1];
  if (next == ' ' || next == '-')
    SpeakPunctuation(text);
  else if (next >= '0' && next <= '9')
    SpeakSoundFile("_MENOS");
  else
    SpeakCharSound('-');
}

// The repeat state of the symbols of one SpeakText.
struct Repeats {
  char last = ' ';
  int count = 0;
};

// One character that is neither a word nor a number.
void SpeakSymbol(std::string_view text, Repeats& repeats) {
  char c = text[0];
  if (c == repeats.last) {
    if (++repeats.count > kMostRepeats) {
      Click();
      c = ' ';
    }
  } else {
    repeats.count = 0;
    repeats.last = c;
  }
  if (c != ' ' && text[0] == '-') {
    SpeakMinus(text);
  } else if (c != ' ' && text.substr(0, 3) == "://") {
    SpellText(":");
  } else {
    switch (c) {
      case '(': case ')': case ',': case '.': case ':': case ';':
        SpeakPunctuation(text);
        break;
      case ' ': case '\t':
        break;
      default:
        if (!console::KeyWaiting()) SpeakCharSound(static_cast<unsigned char>(c));
    }
  }
}

void SpeakThroughEngine(std::string_view text) {
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
  if (console::KeyWaiting()) return;
  EngineSpeak(text);
  State().enginePending = true;
}

}  // namespace

void SpeakPunctuation(std::string_view text) {
  if (text.empty() || console::KeyWaiting()) return;
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
  const FrontEndState& s = State();
  const char mark = text[0];
  const bool blankFollows = text.size() > 1 && text[1] == ' ';
  SpeakCharSound(static_cast<unsigned char>(mark));
  switch (mark) {
    case '(': case ')': case ':': case ';':
      SpeechPause(s.colonPauseMs);
      break;
    case ',': case '-':
      if (blankFollows) SpeechPause(s.commaPauseMs);
      break;
    case '.':
      if (blankFollows) SpeechPause(s.periodPauseMs);
      break;
    default:
      break;
  }
}

void SpeakText(std::string_view input) {
  FrontEndState& s = State();
  if (s.engineActive) {
    SpeakThroughEngine(input);
    return;
  }
  std::string text(input);
  text += ' ';
  Repeats repeats;
  s.stopRequested = false;
  std::string_view rest = text;
  while (!s.stopRequested && !rest.empty()) {
    if (console::KeyWaiting()) {
      StopSpeaking();
      return;
    }
    while (!rest.empty() && rest[0] == '0') {
      SpeakSoundFile("_zero");
      rest.remove_prefix(1);
    }
    if (rest.empty()) break;
    if (rest[0] >= '1' && rest[0] <= '9') {
      const std::string_view run = RunOf(rest, kNumberCharacters);
      SpeakNumberRun(run);
      rest.remove_prefix(run.size());
    } else if (Has(kWordCharacters, rest[0])) {
      const std::string_view run = RunOf(rest, kWordCharacters);
      SpeakPhrase(run);
      rest.remove_prefix(run.size());
      if (rest.size() >= 2 && rest[0] == '-' && Has(kLetters, rest[1])) rest.remove_prefix(1);
    } else {
      SpeakSymbol(rest, repeats);
      rest.remove_prefix(1);
    }
  }
}

unsigned char SpeakKey() {
  const unsigned char key = console::ReadKeyCode();
  StopSpeaking();
  SpeakCharSound(key);
  return key;
}

void WriteAndSpeak(std::string_view text) {
  console::ConsoleWrite(text);
  SpeakText(text);
}

void WriteAndSpeakLine(std::string_view text) {
  WriteAndSpeak(text);
  console::ConsoleWrite("\r\n");
}

std::string UpperCaseLatin1(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || byte >= 224) c = static_cast<char>(byte - 32);
  }
  return upper;
}

}  // namespace frontend
