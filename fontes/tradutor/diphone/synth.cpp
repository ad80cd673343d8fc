// TIRLA: the diphone synthesizer's start, close, settings and speech buffer.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "diphone/synthParts.h"
#include "diphone/translator.h"
#include "diphone/waveout.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
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

// The path of a unit file of the units folder, its name's case ignored (files made on
// Windows).
std::string UnitFilePath(const std::string& extension) {
  const SynthState& s = State();
  return platform::FindFileNoCase(s.unitsDir,
                                  platform::Cp1252ToUtf8(s.unitBaseName) + extension);
}

// Fails the start with `status`, keeping why for StartProblem.
InitStatus Fail(InitStatus status, std::string why) {
  State().startProblem = std::move(why);
  return status;
}

// Why a unit file or folder cannot be used, for the user (cp1252).
std::string UnitFileProblem(const std::string& path, const std::string& why) {
  return "arquivo de unidades \"" + platform::Utf8ToCp1252(path) + "\": " + why;
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
  s.startProblem.clear();
  s.lettersDir = WithSlash(platform::LettersFolder());
  const auto noFolder = [](const std::string& folder) {
    return "a pasta \"" + platform::Utf8ToCp1252(folder) + "\" n\xE3o existe";
  };
  if (!IsFolder(s.lettersDir)) return Fail(kNoUnits, noFolder(s.lettersDir));
  s.unitsDir = WithSlash(platform::UnitsFolder());
  if (!IsFolder(s.unitsDir)) return Fail(kNoUnits, noFolder(s.unitsDir));
  const std::string indexPath = UnitFilePath(".IND"), dataPath = UnitFilePath(".DIF");
  for (const std::string& path : {indexPath, dataPath})
    if (std::string why = platform::DataFileProblem(path); !why.empty())
      return Fail(kNoUnits, UnitFileProblem(path, why));
  const File index(fopen(indexPath.c_str(), "rb"));
  if (!index || !ReadWhole(index.get(), s.index))
    return Fail(kNoUnits, UnitFileProblem(indexPath, platform::SystemReason(errno)));
  s.data = File(fopen(dataPath.c_str(), "rb"));
  struct stat data {};
  if (!s.data || fstat(fileno(s.data.get()), &data) != 0)
    return Fail(kNoUnits, UnitFileProblem(dataPath, platform::SystemReason(errno)));
  // a damaged database would speak fragments of sound and call it success
  if (std::string why = IndexProblem(s.index, static_cast<uint64_t>(data.st_size),
                                     platform::Utf8ToCp1252(dataPath.substr(dataPath.rfind('/') + 1)));
      !why.empty()) {
    s.data.reset();
    s.index.clear();
    return Fail(kNoUnits, UnitFileProblem(indexPath, why));
  }
  // Each unit is one seek and one read: stdio's buffer would only copy twice.
  setvbuf(s.data.get(), nullptr, _IONBF, 0);
  translator::FreeRules();
  if (!translator::LoadTranslatorFiles(s.unitsDir))
    return Fail(kNoTranslatorFiles, "as regras ou as exce\xE7\xF5" "es do tradutor em \"" +
                                        platform::Utf8ToCp1252(s.unitsDir) +
                                        "\" n\xE3o puderam ser lidas");
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
const std::string& StartProblem() { return State().startProblem; }

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
