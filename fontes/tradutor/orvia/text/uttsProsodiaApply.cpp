// TIRLA: ORVIA durations, pitch points and filler phonemes: the lines written to MBROLA.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsProsodiaState.h"

namespace uttsProsodia {
namespace {

constexpr int kStressedPercent = 145;    // duration of a stressed phoneme and those after it
constexpr int kLongWordLength = 13;      // above: unstressed phonemes cut to 80 %
constexpr int kMediumWordLength = 9;     // above: unstressed phonemes cut to 90 %
constexpr const char* kFillerMs = " 50";  // duration of a filler phoneme
constexpr char kStressMark = '>';        // in front of the stressed phoneme
constexpr char kDropMark = '\xA8';       // "¨": back to the normal duration
// MBROLA gives up after about 250 phonemes without a pitch point (a very long word): one
// phoneme in this many without a point gets the last pitch again.
constexpr int kMaxPhonemesWithoutPitch = 100;

// Where the word's pitch points stand.
enum StressState { kNoPoint = 0, kFirstPoint = 1, kAtStress = 2, kStressPoint = 3 };

struct Walk {
  int percent = 100;          // duration percentage
  std::string pattern = "555";  // pitch digits of the current word
  int stress = kNoPoint;        // StressState of the current word
  int wordLength = 0;         // 1 + length of the token text
  std::string previous = "_";  // last phoneme of a non-empty line
  std::string current;        // phoneme of this line, empty after an empty line
  int withoutPitch = 0;       // phonemes written since the last pitch point
  long long lastHz = 0;       // the last pitch written; 0 before the first
  int wordIndex = 0;          // words since the sentence began
  int decline = 0;            // percent the current word's pitch lies below its pattern
};

// Writes a blank and an integer in decimal at `out`; gives the end.
char* PutNumber(char* out, long long value) {
  char digits[24];
  int n = 0;
  unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v);
  *out++ = ' ';
  if (value < 0) *out++ = '-';
  while (n) *out++ = digits[--n];
  return out;
}

// Product rounded to the nearest integer, halves to even, then divided by 100. Factors that
// are not numbers count as 0 and huge products are held to a bound, so no overflow.
long long Scaled(double product) {
  constexpr double kBound = 1e12;
  if (!(product > -kBound)) product = std::isnan(product) ? 0 : -kBound;
  if (product > kBound) product = kBound;
  long long whole = static_cast<long long>(product);  // toward zero; exact below 2^52
  double rest = product - static_cast<double>(whole);
  if (rest > 0.5 || (rest == 0.5 && (whole & 1))) ++whole;
  else if (rest < -0.5 || (rest == -0.5 && (whole & 1))) --whole;
  return whole / 100;
}

// Fillers tried in turn: a short i, a pause, then the vowels every voice has. The voices lack
// different pairs (br2 and br3 have no _-w), so a short vowel must sometimes bridge a gap.
constexpr const char* kFillers[] = {"y", "_", "u", "i", "w", "e", "a"};

// The filler between `previous` and `current`: "_" after r2 when the voice has r2-_, else
// "y" when it follows `previous`, else "_"; but a candidate the voice has on both sides is
// preferred, so that the filler itself does not make a missing pair, and when no one filler
// joins both sides two may (br3 has neither r2-u nor _-w: "r2 _ u w"). `second` is empty
// when one filler is enough.
void FillersBetween(const std::string& previous, const std::string& current, std::string& first,
                    std::string& second) {
  auto has = [&](const char* f) { return HasPair(previous, f) && HasPair(f, current); };
  second.clear();
  if (previous == "r2" && has("_")) {
    first = "_";
    return;
  }
  for (const char* filler : kFillers)
    if (has(filler)) {
      first = filler;
      return;
    }
  for (const char* one : kFillers)
    for (const char* two : kFillers)
      if (HasPair(previous, one) && HasPair(one, two) && HasPair(two, current)) {
        first = one;
        second = two;
        return;
      }
  if (previous == "r2" && HasPair("r2", "_")) first = "_";
  else if (HasPair(previous, "y")) first = "y";
  else first = "_";
}

// The voice's own name for an ORVIA phoneme, in place.
void Rename(std::string& name) {
  for (const auto& [orvia, voice] : State().voice.renames)
    if (name == orvia) {
      name = voice;
      return;
    }
}

// Rewrites a phoneme line into "name duration [position pitch]".
void Phoneme(std::string& line, bool lastBeforeBreak, double durationFactor, double pitchFactor,
             Walk& w) {
  if (!line.empty() && line[0] == kStressMark) {
    w.percent = kStressedPercent;
    line.erase(0, 1);
    if (!line.empty() && line[0] == kDropMark) line.erase(0, 1);
    w.stress = kAtStress;
  } else if (!line.empty() && line[0] == kDropMark) {
    line.erase(0, 1);
    w.percent = 100;
  }
  long long base;
  if (!line.empty() && line[0] == '_') {
    // "_" alone lasts 100 ms; "_ N" lasts N ms (100 when N is not an integer).
    if (line.size() == 1) base = 100;
    else if (line[1] == ' ') base = uttsPortug::ParseInteger(std::string_view(line).substr(2)).value_or(100);
    else base = DurationOf(line);
    line.resize(1);
  } else {
    base = DurationOf(line);
    if (w.stress < kAtStress) {
      if (w.wordLength > kLongWordLength) base = base * 80 / 100;
      else if (w.wordLength > kMediumWordLength) base = base * 90 / 100;
    }
  }
  if (!State().voice.renames.empty()) Rename(line);
  w.current = line;
  // MBROLA refuses durations below 1 ms (a negative factor or table entry would give them).
  long long ms = std::max(1LL, Scaled(static_cast<double>(base) * w.percent * durationFactor));
  char numbers[80];  // " ms position hz"
  char* end = PutNumber(numbers, ms);

  char digit = 0;
  int position = 50;
  if (w.stress == kNoPoint) {
    digit = w.pattern[0];
    w.stress = kFirstPoint;
  } else if (w.stress == kAtStress) {
    digit = w.pattern[1];
    position = 80;
    w.stress = kStressPoint;
  } else if (w.stress == kStressPoint && lastBeforeBreak) {
    digit = w.pattern[2];
  }
  long long hz = 0;  // a level of 0, or a pitch below 1 Hz, gives no point
  if (digit >= '0' && digit <= '9' && HertzPercent(digit - '0') != 0) {
    double product = static_cast<double>(HertzPercent(digit - '0')) * pitchFactor * HertzBase();
    if (w.decline != 0) product = product * (100 - w.decline) / 100;
    hz = Scaled(product);
  }
  if (hz >= 1) {
    end = PutNumber(end, position);
    end = PutNumber(end, hz);
    w.lastHz = hz;
    w.withoutPitch = 0;
  } else if (++w.withoutPitch >= kMaxPhonemesWithoutPitch && w.lastHz > 0) {
    end = PutNumber(end, 50);
    end = PutNumber(end, w.lastHz);
    w.withoutPitch = 0;
  }
  line.append(numbers, end - numbers);
}

}  // namespace

std::string VoiceName(const std::string& orviaName) {
  std::string name = orviaName;
  Rename(name);
  return name;
}

Lines ApplyProsody(const Lines& phonemes, double durationFactor, double pitchFactor) {
  return ApplyProsody(Lines(phonemes), durationFactor, pitchFactor);
}

Lines ApplyProsody(Lines&& phonemes, double durationFactor, double pitchFactor) {
  // The lines are rewritten where they stand; the few fillers are put in afterwards.
  if (State().voice.durationPercent != 100) durationFactor *= State().voice.durationPercent / 100.0;
  Lines& lines = phonemes;
  std::vector<std::pair<size_t, std::string>> fillers;  // filler line, to stand before index
  Walk w;
  for (size_t i = 0; i < lines.size(); ++i) {
    bool lastBeforeBreak = i + 1 == lines.size() || lines[i + 1].empty();
    std::string& line = lines[i];
    if (line.empty()) {
      w.percent = 100;
      w.current.clear();
    } else if (line[0] == ';' && line.size() >= 5 && line[4] == '|') {
      // A boundary (no text) starts a sentence; each word lies lower than the one before.
      if (line.size() == 5) {
        w.wordIndex = 0;
        w.decline = 0;
      } else if (IsTokenLetter(static_cast<unsigned char>(line[5]))) {
        w.decline = DeclinePercent(w.wordIndex++);
        StressIfPhraseFinal(lines, i);
      }
      w.pattern.assign(line, 1, 3);
      line.erase(1, 4);
      w.wordLength = static_cast<int>(line.size());
      w.stress = kNoPoint;
    } else {
      Phoneme(line, lastBeforeBreak, durationFactor, pitchFactor, w);
    }
    if (!w.current.empty() && !HasPair(w.previous, w.current)) {
      std::string first, second;
      FillersBetween(w.previous, w.current, first, second);
      fillers.emplace_back(i, first + kFillerMs);
      if (!second.empty()) fillers.emplace_back(i, second + kFillerMs);
    }
    if (!w.current.empty() && !line.empty()) w.previous = w.current;
  }
  // From the back, each line moves down by the number of fillers before it.
  size_t source = lines.size();
  lines.resize(lines.size() + fillers.size());
  size_t target = lines.size();
  for (size_t k = fillers.size(); k-- > 0;) {
    while (source > fillers[k].first) lines[--target] = std::move(lines[--source]);
    lines[--target] = std::move(fillers[k].second);
  }
  return std::move(lines);
}

}  // namespace uttsProsodia
