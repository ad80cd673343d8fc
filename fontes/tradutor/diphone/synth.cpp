// TIRLA: the diphone synthesizer's start, close, settings and speech buffer.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "diphone/synthParts.h"
#include "diphone/translator.h"
#include "diphone/waveout.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/settings.h"
#include "platform/wav.h"

namespace synth {
namespace {

bool IsFolder(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// A unit file of the units folder, its name's case ignored (files made on Windows).
File OpenUnitFile(const std::string& extension) {
  const SynthState& s = State();
  const std::string path = platform::FindFileNoCase(
      s.unitsDir, platform::Cp1252ToUtf8(s.unitBaseName) + extension);
  return File(fopen(path.c_str(), "rb"));
}

bool ReadWhole(FILE* file, std::vector<uint8_t>& bytes) {
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  return ferror(file) == 0;
}

}  // namespace

SynthState& State() {
  static SynthState state;
  return state;
}

void StartSynth() {
  CloseDiphoneSynth();
  State() = SynthState{};
  waveout::Flags().FastRate = false;
  waveout::Flags().CompactMode = false;
}

void SetSoundHooks(const SoundHooks& hooks) { State().hooks = hooks; }
void SetUnitObserver(const UnitObserver& observer) { State().observer = observer; }

InitStatus InitDiphoneSynth() {
  SynthState& s = State();
  s.started = false;
  s.index.clear();
  s.data.reset();
  s.speechBuffer.clear();
  // No drives here: each folder only has to exist.
  s.lettersDir = WithSlash(platform::LettersFolder());
  if (!IsFolder(s.lettersDir)) return kNoUnits;
  s.unitsDir = WithSlash(platform::UnitsFolder());
  if (!IsFolder(s.unitsDir)) return kNoUnits;
  const File index = OpenUnitFile(".IND");
  if (!index || !ReadWhole(index.get(), s.index)) return kNoUnits;
  s.data = OpenUnitFile(".DIF");
  if (!s.data) return kNoUnits;
  // Each unit is one seek and one read: stdio's buffer would only copy twice.
  setvbuf(s.data.get(), nullptr, _IONBF, 0);
  translator::FreeRules();
  if (!translator::LoadTranslatorFiles(s.unitsDir)) return kNoTranslatorFiles;
  s.speechBuffer.assign(kSpeechBufferSize, kSilence);
  s.speechFill = kHeaderSize;
  s.started = true;
  return kStarted;
}

void CloseDiphoneSynth() {
  SynthState& s = State();
  s.speechBuffer.clear();
  s.speechBuffer.shrink_to_fit();
  translator::FreeRules();
  s.data.reset();
  s.index.clear();
  s.index.shrink_to_fit();
  s.started = false;
}

bool SynthStarted() { return State().started; }

void SetSynthParameters(int cut, int minimum, int wordPause) {
  SynthState& s = State();
  s.unitCut = cut;
  s.unitMinimum = minimum;
  s.wordPause = wordPause;
}

void SetUnitBaseName(std::string_view name) {
  State().unitBaseName = std::string(name.substr(0, kMaxUnitName));
}
const std::string& UnitBaseName() { return State().unitBaseName; }
const std::string& LettersDir() { return State().lettersDir; }
const std::string& UnitsDir() { return State().unitsDir; }
size_t UnitCount() { return State().index.size() / kIndexEntrySize; }

void FlushSpeech(Flush flush) {
  SynthState& s = State();
  if (s.speechFill <= kHeaderSize) return;
  const auto dataSize = static_cast<uint32_t>(s.speechFill - kHeaderSize);
  if (s.hooks.MakeWaveHeader)
    s.hooks.MakeWaveHeader(s.speechBuffer.data(), dataSize, kSampleRate, 1, 8);
  else
    platform::WriteWavHeader(s.speechBuffer.data(), kSampleRate, 8, 1, dataSize);
  // Waiting until a buffer is heard before the next one is queued would leave the device
  // without sound for that long: only the end of a text waits.
  const auto play = flush == Flush::kQueue && s.hooks.QueueWaveBuffer ? s.hooks.QueueWaveBuffer
                                                                       : s.hooks.PlayWaveBuffer;
  if (play) play(s.speechBuffer.data(), s.speechFill);
  s.speechFill = kHeaderSize;
}

void ReserveSpace(size_t n) {
  if (State().speechFill + n >= kSpeechBufferSize) FlushSpeech(Flush::kQueue);
}

void AppendSilence(int n) {
  constexpr int kBlock = 100;
  SynthState& s = State();
  for (int block = 0; block < n / kBlock; ++block) {
    ReserveSpace(kBlock);
    std::memset(s.speechBuffer.data() + s.speechFill, kSilence, kBlock);
    s.speechFill += kBlock;
  }
}

}  // namespace synth
