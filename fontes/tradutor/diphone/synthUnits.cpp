// TIRLA: units and recorded sounds into the speech buffer, and the fallbacks for missing ones.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "diphone/synthParts.h"
#include "platform/codepage.h"
#include "platform/wav.h"

namespace synth {
namespace {

constexpr double kShorterPart = 0.9;  // factor of the first half of a split unit
constexpr int kNoiseBase = 88;        // noise samples: 88 plus 0..79
constexpr int kNoiseSpread = 80;
constexpr size_t kShortName = 2;      // names up to this long sound as noise when missing
constexpr size_t kMinCircName = 7;    // a CIRC name this long is split before its vowel
constexpr size_t kCutReach = 22;      // 2 ms: how far back a cut looks for a zero crossing
constexpr size_t kCutFade = 28;       // 2.5 ms: the fade that ends a cut unit

struct Entry {
  std::string_view name;  // upper-case, at most 8 bytes
  uint16_t length;        // samples
  uint32_t offset;        // first sample in the .DIF
};

Entry EntryAt(const std::vector<uint8_t>& index, size_t i) {
  const uint8_t* p = index.data() + i * kIndexEntrySize;
  const size_t nameLength = std::min<size_t>(p[0], kMaxUnitName);
  return {std::string_view(reinterpret_cast<const char*>(p + 1), nameLength),
          static_cast<uint16_t>(p[9] | p[10] << 8),
          static_cast<uint32_t>(p[11] | p[12] << 8 | p[13] << 16 | static_cast<uint32_t>(p[14]) << 24)};
}

// Binary search of the index, whose names are in byte order with prefixes first (the start
// checked that).
bool FindEntry(std::string_view name, Entry& found) {
  const std::vector<uint8_t>& index = State().index;
  size_t low = 0, high = index.size() / kIndexEntrySize;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const Entry e = EntryAt(index, middle);
    const int order = e.name.compare(name);
    if (order == 0) {
      found = e;
      return true;
    }
    if (order < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return false;
}

// A unit's name as a message shows it: a damaged index may hold any byte.
std::string Shown(std::string_view name) {
  std::string shown(name);
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7F') c = '?';
  return shown;
}

}  // namespace

std::string IndexProblem(const std::vector<uint8_t>& index, uint64_t dataSize,
                         std::string_view dataName) {
  if (index.empty()) return "est\xE1 vazio";
  if (index.size() % kIndexEntrySize != 0)
    return "tem " + std::to_string(index.size()) +
           " bytes, o que n\xE3o \xE9 um n\xFAmero inteiro de entradas de " +
           std::to_string(kIndexEntrySize) + " bytes";
  const size_t count = index.size() / kIndexEntrySize;
  for (size_t i = 0; i < count; ++i) {
    const std::string place = "a entrada " + std::to_string(i + 1);
    if (index[i * kIndexEntrySize] > kMaxUnitName)
      return place + " tem um nome de " + std::to_string(index[i * kIndexEntrySize]) +
             " bytes (no m\xE1ximo " + std::to_string(kMaxUnitName) + ")";
    const Entry e = EntryAt(index, i);
    // the binary search needs each name strictly after the one before it
    if (i > 0 && EntryAt(index, i - 1).name.compare(e.name) >= 0)
      return place + " (" + Shown(e.name) + ") est\xE1 fora da ordem";
    if (uint64_t{e.offset} + e.length > dataSize)
      return place + " (" + Shown(e.name) + ") vai at\xE9 o byte " +
             std::to_string(uint64_t{e.offset} + e.length) + ", al\xE9m do fim de \"" +
             std::string(dataName) + "\" (" + std::to_string(dataSize) + " bytes)";
  }
  return {};
}

namespace {

// Reads up to `count` bytes at `offset` of the .DIF into the buffer (only what the file has);
// returns how many.
size_t AppendFromFile(FILE* file, uint64_t offset, size_t count) {
  SynthState& s = State();
  count = std::min(count, kMaxSamples);  // a unit longer than the buffer keeps what fits
  if (count == 0 || !file) return 0;
  ReserveSpace(count);
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
  const size_t got = fread(s.speechBuffer.data() + s.speechFill, 1, count, file);
  s.speechFill += got;
  return got;
}

void AppendNoise(int n) {
  SynthState& s = State();
  std::uniform_int_distribution<int> spread(0, kNoiseSpread - 1);
  ReserveSpace(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i)
    s.speechBuffer[s.speechFill++] = static_cast<uint8_t>(kNoiseBase + spread(s.noise));
}

void TellMissed(std::string_view name, UnitOutcome outcome) {
  const UnitObserver& o = State().observer;
  if (o.Missed) o.Missed(o.context, name, outcome);
}

}  // namespace

void PlayUnit(std::string_view name, int mode, double x) {
  name = name.substr(0, 12);
  const bool found = name.starts_with('_') ? PlayRecordedSound(name) : ReadUnit(name, mode, x);
  if (found) return;
  const size_t n = name.size();
  if (n <= kShortName) {
    AppendNoise(kNoiseSamples);
    return TellMissed(name, UnitOutcome::kNoise);
  }
  const char last = name[n - 1];
  if (kUnitVowels.Has(last)) {
    PlayUnit(name.substr(0, n - 1), mode, kShorterPart * x);
    return PlayUnit(std::string("$") + last, mode, x);
  }
  if (name.ends_with("CIRC") && n >= kMinCircName) {
    PlayUnit(name.substr(0, n - 5), mode, kShorterPart * x);
    return PlayUnit("$" + std::string(name.substr(n - 5)), mode, x);
  }
  if (name.ends_with("TIL")) {
    const std::string_view base = name.substr(0, n - 3);
    const unsigned char vowel = platform::UpperCp1252(static_cast<unsigned char>(base.back()));
    if (vowel == 'I' || vowel == 'U')
      PlayUnit(base, mode, kShorterPart * x);
    else
      PlayUnit(std::string(base) + "CIRC", 2, kShorterPart * x);
    return PlayUnit("$nn", 1, kShorterPart);
  }
  TellMissed(name, UnitOutcome::kDropped);
}

bool ReadUnit(std::string_view name, int mode, double x) {
  SynthState& s = State();
  std::string upper(name);
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  if (s.observer.Collect) return s.observer.Collect(s.observer.context, upper);
  Entry e;
  if (upper.size() > kMaxUnitName || !FindEntry(upper, e)) return false;
  long h = e.length;
  if (mode < 2 && name.size() > kShortName) {
    h = e.length - static_cast<long>(s.unitCut);
    if (h < s.unitMinimum) h = std::min<long>(e.length, s.unitMinimum);
    h = std::clamp<long>(h, 0, e.length);  // a negative cut never reaches the next unit
  }
  const double taken = std::trunc(static_cast<double>(h) * std::clamp(x, 0.0, 1.0));
  const size_t got = AppendFromFile(s.data.get(), e.offset, static_cast<size_t>(taken));
  if (got < e.length) EndCutUnit(got);  // the builder's fade at the unit's end is gone
  return true;
}

size_t EndCutUnit(size_t count) {
  SynthState& s = State();
  uint8_t* unit = s.speechBuffer.data() + s.speechFill - count;
  const auto level = [&](size_t i) { return static_cast<int>(unit[i]) - kSilence; };
  // the last sample kept is the one of the crossing nearer to silence
  size_t kept = count;
  const size_t lowest = count > kCutReach ? count - kCutReach : 1;
  for (size_t k = count; k > lowest; --k) {
    const int before = level(k - 2), last = level(k - 1);
    if (last == 0 || (before < 0) != (last < 0)) {
      kept = std::abs(before) < std::abs(last) ? k - 1 : k;
      break;
    }
  }
  s.speechFill -= count - kept;
  const size_t fade = std::min(kept, kCutFade);
  for (size_t i = 0; i < fade; ++i) {  // i counts from the last sample
    const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i + 1) / (fade + 1));
    const double v = level(kept - 1 - i) * gain;
    // rounded away from silence, so that a faded sample stays on its side of the wave
    unit[kept - 1 - i] = static_cast<uint8_t>(kSilence + (v < 0 ? std::floor(v) : std::ceil(v)));
  }
  return kept;
}

bool PlayRecordedSound(std::string_view name) {
  SynthState& s = State();
  if (s.observer.Collect) return s.observer.Collect(s.observer.context, name);
  const std::string file = platform::Cp1252ToUtf8(s.lettersDir + std::string(name) + ".wav");
  const File f(fopen(file.c_str(), "rb"));
  if (!f) return false;
  const uint64_t size = FindWavData(f.get());
  if (size == 0) return false;
  // Read where the header left the file: one read, cut to the buffer, only what it holds.
  const size_t count = static_cast<size_t>(std::min<uint64_t>(size, kMaxSamples));
  ReserveSpace(count);
  s.speechFill += fread(s.speechBuffer.data() + s.speechFill, 1, count, f.get());
  return true;
}

uint64_t FindWavData(FILE* file) {
  platform::WavInfo info;
  if (!platform::ReadWavFile(file, info)) return 0;
  // Other formats would be heard as noise when joined to 8-bit mono speech.
  if (info.bits != 8 || info.channels != 1) return 0;
  return info.dataSize;
}

}  // namespace synth
