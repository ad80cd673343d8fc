// TIRLA: phonetic text to units: groups, their split into units, and the units' names.
#include <string>

#include "diphone/synthParts.h"
#include "platform/byteset.h"

namespace synth {
namespace {

constexpr size_t kMaxGroup = 40;      // characters kept of one group
constexpr size_t kClosingGroup = 9;   // a group this long is closed at the next '/'
constexpr size_t kMaxEmitted = 12;    // characters kept of an emitted group and of a name
constexpr char kDashGroup[] = "_TRACO";

constexpr platform::ByteSet kUnitConsonants("bcdfgjklmnpqrstvxz");
constexpr platform::ByteSet kSemivowels("wy");
constexpr platform::ByteSet kVowelMarks("^~");
constexpr platform::ByteSet kStressedVowels("AEIOU");

// Consonant pairs (and the triple "tch") that stay together at the start of a group.
bool JoinedConsonants(std::string_view u) {
  const std::string_view two = u.substr(0, 2);
  return two == "dj" || two == "nh" || two == "rr" || two == "ks" || u.substr(0, 3) == "tch";
}

// The pause of a punctuation mark spelled as "_c", or 0 for other groups.
int PunctuationPause(const std::string& group) {
  struct MarkPause {
    char mark;
    int samples;
  };
  static constexpr MarkPause kPauses[] = {
      {',', kCommaPause}, {'.', kPeriodPause}, {':', kColonPause}, {';', kSemicolonPause}};
  if (group.size() != 2 || group[0] != '_') return 0;
  for (const MarkPause& p : kPauses)
    if (group[1] == p.mark) return p.samples;
  return 0;
}

void Append(std::string& group, char c) {
  if (group.size() < kMaxGroup) group += c;
}

}  // namespace

void SpeakPhonetic(std::string_view text, bool spellPunctuation) {
  SynthState& s = State();
  if (!s.started && !s.observer.Collect) return;
  if (s.speechBuffer.empty()) s.speechBuffer.assign(kSpeechBufferSize, kSilence);
  s.speechFill = kHeaderSize;
  s.groupMode = 1;
  size_t readPos = 0;
  while (readPos < text.size()) {
    if (platform::StopRequested(s.hooks.stop)) {
      // what was made is dropped; the sound that plays is silenced by the still-speaking test
      s.speechFill = kHeaderSize;
      if (s.hooks.IsSpeaking) s.hooks.IsSpeaking();
      return;
    }
    SplitGroup(NextUnitGroup(text, readPos, spellPunctuation), 1.0);
    if (readPos < text.size() && readPos > 0 && text[readPos - 1] != ' ')
      AppendSilence(s.wordPause);
  }
  FlushSpeech(Flush::kLastOfText);
}

std::string NextUnitGroup(std::string_view text, size_t& readPos, bool spellPunctuation) {
  SynthState& s = State();
  if (readPos < text.size() && text[readPos] == '[') {
    s.groupMode = 1;
    ++readPos;
  }
  std::string group;
  // Text that ends inside a group ends the group: it is played like any other.
  while (readPos < text.size()) {
    const char c = text[readPos++];
    if (c == ' ' || c == ']') break;
    if (c == '/') {
      if (group.size() >= kClosingGroup) break;
    } else if (c == '_') {
      Append(group, c);
      if (readPos < text.size()) Append(group, text[readPos++]);
    } else if (c == '|') {
      group = kDashGroup;
    } else {
      Append(group, c);
    }
  }
  if (!spellPunctuation) {
    if (const int pause = PunctuationPause(group)) {
      group.clear();
      AppendSilence(pause);
    }
  }
  return group;
}

void SplitGroup(std::string_view u, double x) {
  const size_t n = u.size();
  if (n == 0) return;
  if (n == 1) return EmitGroup(u, x);
  if (n > 2) {
    if (kUnitConsonants.Has(u[0]) && kUnitConsonants.Has(u[1]) && !JoinedConsonants(u)) {
      EmitGroup(u.substr(0, 1), 1.0);
      return SplitGroup(u.substr(1), x);
    }
    if (u.ends_with("rr")) {
      SplitGroup(u.substr(0, n - 2), x);
      return EmitGroup("rr", x);
    }
    if (kUnitConsonants.Has(u[n - 1])) {
      SplitGroup(u.substr(0, n - 1), x);
      return SplitGroup(u.substr(n - 1), x);
    }
  }
  if (kSemivowels.Has(u[n - 1])) {
    if (kUnitVowels.Has(u[n - 2]) && n > 2) {
      SplitGroup(u.substr(0, n - 1), 0.6);
      return EmitGroup(u.substr(n - 2), x);
    }
    if (kVowelMarks.Has(u[n - 2])) {
      if (n > 3) {
        if (u[n - 2] == '~')
          SplitGroup(std::string(u.substr(0, n - 2)) + "^", 0.6);
        else
          SplitGroup(u.substr(0, n - 1), 0.6);
        return EmitGroup(std::string{u[n - 3], u[n - 1], u[n - 2]}, x);
      }
      // vowel, mark, glide: the glide goes before the mark; a mark and a glide alone (no
      // vowel to name) swap the same way
      return EmitGroup(n == 3 ? std::string{u[0], u[2], u[1]} : std::string{u[1], u[0]}, x);
    }
  }
  if (u != "_s" && u[n - 1] == 's') {
    SplitGroup(u.substr(0, n - 1), 0.7);
    return EmitGroup("s", x);
  }
  EmitGroup(u, x);
}

void EmitGroup(std::string_view v, double x) {
  SynthState& s = State();
  v = v.substr(0, kMaxEmitted);
  if (v.starts_with('_')) {
    // The vertical bar's group is a named sound; "_c" is the sound of c; a lone "_" names
    // nothing and plays nothing.
    if (v.starts_with(kDashGroup))
      PlayUnit(kDashGroup, s.groupMode, x);
    else if (v.size() >= 2)
      PlayUnit(std::string(1, '_').append(std::to_string(static_cast<unsigned char>(v[1]))),
               s.groupMode, x);
    return;
  }
  std::string name = "$";
  bool stressed = false;
  for (const char c : v) {
    if (kStressedVowels.Has(c)) {
      s.groupMode = 2;
      stressed = true;
    }
    if (c == '^' || c == '~') {
      PlayUnit(name + (c == '^' ? "CIRC" : "TIL"), s.groupMode, x);
      name.assign(1, '$');
    } else if (name.size() < kMaxEmitted) {
      name += c;
    }
  }
  if (name != "$") PlayUnit(name, s.groupMode, x);
  if (stressed) s.groupMode = 0;
}

}  // namespace synth
