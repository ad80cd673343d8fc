// TIRLA: unit names to MBROLA renderings.
#include "unit_plan.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "orvia/text/uttsProsodia.h"

namespace unitplan {
namespace {

constexpr double kStressedPercent = 145;  // a stressed vowel, as ORVIA lengthens it
constexpr double kLeadingSilenceMs = 100;
constexpr double kContextSilenceMs = 60;
constexpr double kTrailingSilenceMs = 120;
// Neutral vowels that may stand beside a consonant, in order of preference: before it a mid
// vowel, after it the short i that Brazilian speech itself puts after a lone consonant.
constexpr const char* kLeftContexts[] = {"e", "a", "i", "o"};
constexpr const char* kRightContexts[] = {"y", "e", "a", "i"};

// Letters of unit names (upper case) and the voice phoneme of each; "" for none.
struct Letter {
  const char* phone;
  bool vowel;
};
constexpr std::array<Letter, 26> kLetters = {{
    {"a", true}, {"b", false}, {"k", false}, {"d", false}, {"ee", true}, {"f", false},
    {"g", false}, {"h", false}, {"i", true}, {"j", false}, {"k", false}, {"l", false},
    {"m", false}, {"n", false}, {"oo", true}, {"p", false}, {"k", false}, {"r", false},
    {"s", false}, {"t", false}, {"u", true}, {"v", false}, {"w", true}, {"x", false},
    {"y", true}, {"z", false},
}};

// Letter groups that are one sound (or two, for ks), tried before single letters.
struct Combination {
  std::string_view letters;
  const char* phones[2];
};
constexpr Combination kCombinations[] = {
    {"TCH", {"t", nullptr}}, {"DJ", {"d", nullptr}}, {"NH", {"nh", nullptr}},
    {"LH", {"lh", nullptr}}, {"RR", {"rr", nullptr}}, {"KS", {"k", "s"}},
};

// The closed and nasal forms of the vowels.
struct VowelForms {
  const char* vowel;
  const char* closed;
  const char* nasal;
};
constexpr VowelForms kVowelForms[] = {
    {"a", "a", "an"}, {"ee", "e", "en"}, {"e", "e", "en"}, {"i", "i", "in"}, {"oo", "o", "on"},
    {"o", "o", "on"}, {"u", "u", "un"},  {"w", "w", "un"}, {"y", "y", "in"},
};

// Consonants at the end of a syllable take the voice's coda forms.
struct Coda {
  const char* phone;
  const char* coda;
};
constexpr Coda kCodas[] = {{"r", "r2"}, {"s", "s2"}};

const VowelForms* FormsOf(const std::string& vowel) {
  for (const VowelForms& f : kVowelForms)
    if (vowel == f.vowel) return &f;
  return nullptr;
}

bool IsGlide(const Phone& p) { return p.name == "w" || p.name == "y"; }

// Whether the voice has the pair, under its own names.
bool Has(const std::string& a, const std::string& b) {
  return uttsProsodia::HasDiphone(uttsProsodia::VoiceName(a) + "-" + uttsProsodia::VoiceName(b));
}

// Applies "CIRC" or "TIL" to the last vowel (a nasal diphthong nasalises the vowel before
// its glide, and a~w is the voice's own @ w).
bool Mark(std::vector<Phone>& phones, bool nasal) {
  int target = -1;
  for (int i = static_cast<int>(phones.size()) - 1; i >= 0 && target < 0; --i)
    if (phones[static_cast<size_t>(i)].vowel) target = i;
  if (target < 0) return false;
  if (nasal && IsGlide(phones[static_cast<size_t>(target)]) && target > 0 &&
      phones[static_cast<size_t>(target) - 1].vowel && !IsGlide(phones[static_cast<size_t>(target) - 1])) {
    Phone& v = phones[static_cast<size_t>(target) - 1];
    v.name = (v.name == "a" && phones[static_cast<size_t>(target)].name == "w") ? "@" : FormsOf(v.name)->nasal;
    return true;
  }
  Phone& v = phones[static_cast<size_t>(target)];
  const VowelForms* forms = FormsOf(v.name);
  if (!forms) return false;
  v.name = nasal ? forms->nasal : forms->closed;
  return true;
}

double BaseMs(const Phone& p, bool nucleus) {
  const double ms = uttsProsodia::DurationOf(p.name);
  return nucleus ? ms * kStressedPercent / 100 : ms;
}

// Whole milliseconds, as the lines give them to MBROLA.
double Ms(double ms) { return std::max(1.0, std::round(ms)); }

}  // namespace

bool UnitPhones(std::string_view name, std::vector<Phone>& phones) {
  phones.clear();
  if (!name.starts_with('$')) return false;
  name.remove_prefix(1);
  bool closed = false, nasal = false;
  if (name.ends_with("CIRC")) {
    closed = true;
    name.remove_suffix(4);
  } else if (name.ends_with("TIL")) {
    nasal = true;
    name.remove_suffix(3);
  }
  while (!name.empty()) {
    bool combined = false;
    for (const Combination& c : kCombinations) {
      if (!name.starts_with(c.letters)) continue;
      for (const char* p : c.phones)
        if (p) phones.push_back({p, 0, false});
      name.remove_prefix(c.letters.size());
      combined = true;
      break;
    }
    if (combined) continue;
    const char letter = name.front();
    if (letter < 'A' || letter > 'Z') return false;
    const Letter& l = kLetters[static_cast<size_t>(letter - 'A')];
    // a repeated consonant is one longer sound ("$NN", the nasal after a closed vowel)
    if (!l.vowel && !phones.empty() && phones.back().name == l.phone) {
      name.remove_prefix(1);
      continue;
    }
    phones.push_back({l.phone, 0, l.vowel});
    name.remove_prefix(1);
  }
  if (phones.empty()) return false;
  if ((closed || nasal) && !Mark(phones, nasal)) return false;
  // consonants after the last vowel (or all of a lone consonant unit) close a syllable
  for (auto p = phones.rbegin(); p != phones.rend() && !p->vowel; ++p)
    for (const Coda& c : kCodas)
      if (p->name == c.phone) p->name = c.coda;
  return true;
}

bool PlanUnit(std::string_view name, double scale, Plan& plan) {
  std::vector<Phone> own;
  if (!UnitPhones(name, own)) return false;
  // The nucleus: the first full vowel, else the first glide (final unstressed o and e).
  int nucleus = -1;
  for (size_t i = 0; i < own.size() && nucleus < 0; ++i)
    if (own[i].vowel && !IsGlide(own[i])) nucleus = static_cast<int>(i);
  for (size_t i = 0; i < own.size() && nucleus < 0; ++i)
    if (own[i].vowel) nucleus = static_cast<int>(i);
  for (size_t i = 0; i < own.size(); ++i)
    own[i].ms = Ms(BaseMs(own[i], static_cast<int>(i) == nucleus) * scale);
  const bool consonantsOnly = nucleus < 0;

  plan = Plan{};
  const std::string& head = own.front().name;
  const std::string& tail = own.back().name;
  // Before the unit: silence, or a neutral vowel the consonant can follow.
  std::vector<Phone> left = {{"_", Ms(kLeadingSilenceMs * scale), false}};
  if (consonantsOnly || !Has("_", head)) {
    for (const char* v : kLeftContexts) {
      if (Has("_", v) && Has(v, head)) {
        left = {{"_", Ms(kContextSilenceMs * scale), false}, {v, Ms(uttsProsodia::DurationOf(v) * scale), true}};
        break;
      }
    }
  }
  // After it: silence, whose fade the unit keeps, or a neutral vowel cut off at the boundary.
  std::vector<Phone> right = {{"_", Ms(kTrailingSilenceMs * scale), false}};
  plan.fadesOut = true;
  if (consonantsOnly || !Has(tail, "_")) {
    for (const char* v : kRightContexts) {
      if (Has(tail, v) && Has(v, "_")) {
        right = {{v, Ms(uttsProsodia::DurationOf(v) * scale), true}, {"_", Ms(kContextSilenceMs * scale), false}};
        plan.fadesOut = false;
        break;
      }
    }
  }
  for (size_t i = 1; i < own.size(); ++i)
    if (!Has(own[i - 1].name, own[i].name)) ++plan.missingPairs;
  plan.phones = left;
  plan.first = plan.phones.size();
  plan.phones.insert(plan.phones.end(), own.begin(), own.end());
  plan.last = plan.phones.size();
  plan.phones.insert(plan.phones.end(), right.begin(), right.end());
  return true;
}

std::string PhoLines(const Plan& plan, int hertz) {
  std::string lines;
  char line[64];
  for (const Phone& p : plan.phones) {
    snprintf(line, sizeof line, "%s %.0f 50 %d\n", uttsProsodia::VoiceName(p.name).c_str(), p.ms,
             hertz);
    lines += line;
  }
  return lines;
}

}  // namespace unitplan
