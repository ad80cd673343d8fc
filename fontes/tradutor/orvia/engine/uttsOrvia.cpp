// TIRLA: ORVIA engine start, output file, factors, stop, close and the WAV header.
#include "orvia/engine/uttsOrvia.h"

#include <cstring>

#include "orvia/engine/mbrola.h"
#include "orvia/engine/minireg.h"
#include "orvia/engine/uttsOrviaState.h"
#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsProsodia.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/wav.h"

namespace uttsOrvia {
namespace {

constexpr size_t kLastErrorLength = 255;  // OrviaLastError lives in a 256-byte buffer

// Defaults of the six OrviaStart arguments, in their order.
constexpr const char* kDefaultArguments[6] = {"br4",        "portug.nrl", "portug.exc",
                                              "portug.abr", "portug.pro", "portug.dfn"};

void SetLastError(const char* utf8) {
  OrviaState& s = State();
  s.lastError = platform::Utf8ToCp1252(utf8).substr(0, kLastErrorLength);
}

// Asks MBROLA why it failed, while it is still bound.
void KeepEngineError() {
  OrviaState& s = State();
  char text[512] = "";
  if (mbrola::MbrolaBound()) mbrola::Mbrola().lastErrorStr_MBR(text, sizeof text);
  s.engineError = text;
}

bool Fail(StartFailure step) {
  State().startFailure = step;
  return false;
}

// The voice database string: the registry's answer for the id, else the argument itself,
// else the voice in the shared data folder.
std::string ResolveDatabase(const std::string& database) {
  std::string value;
  std::string resolved = database;
  if (minireg::ReadRegistryString(minireg::kLocalMachine,
                                  std::string(minireg::kMbrolaDatabases) + database + "\\", value))
    resolved = value;
  if (resolved.empty()) resolved = platform::SharedDataPath("orviatts/br4");
  return resolved;
}

// The output file name that means standard output, and the data size its header claims: the
// size that readers of piped WAV (sox, aplay) take for "up to the end", without a warning.
constexpr char kStandardOutput[] = "-";
constexpr size_t kFileBufferBytes = 1 << 18;
constexpr uint32_t kStreamingDataSize = 0x7FFFF000u;

// Creates the output file with an empty header; false on failure.
bool CreateOutputFile() {
  OrviaState& s = State();
  s.standardOutput = s.outputFileName == kStandardOutput;
  s.outputFile = s.standardOutput ? stdout : fopen(s.outputFileName.c_str(), "wb");
  if (!s.outputFile) return false;
  // a file is written in large pieces; standard output keeps its buffer and is flushed
  // whenever a line's sound is complete
  if (!s.standardOutput) setvbuf(s.outputFile, nullptr, _IOFBF, kFileBufferBytes);
  uint8_t header[kWaveHeaderSize];
  BuildWaveHeader(header, kRate, kBits, s.standardOutput ? kStreamingDataSize : 0, kChannels);
  if (fwrite(header, 1, sizeof header, s.outputFile) != sizeof header ||
      fflush(s.outputFile) != 0) {
    SetLastError("Arquivo de saída não pode ser criado");
    if (!s.standardOutput) fclose(s.outputFile);
    s.outputFile = nullptr;
    return false;
  }
  return true;
}

// Writes the final sizes into the output file's header; standard output only when it can be
// rewound (a file, not a pipe).
void CompleteOutputFile() {
  OrviaState& s = State();
  FILE* f = s.outputFile;
  s.outputFile = nullptr;
  if (s.standardOutput) {
    if (!f || fflush(f) != 0 || fseek(f, 0, SEEK_END) != 0) return;
  } else {
    if (f) fclose(f);
    f = fopen(s.outputFileName.c_str(), "r+b");
  }
  if (!f) return;
  long size = 0;
  if (fseek(f, 0, SEEK_END) == 0) size = ftell(f);
  const uint32_t data = size > static_cast<long>(kWaveHeaderSize)
                            ? static_cast<uint32_t>(size - static_cast<long>(kWaveHeaderSize))
                            : 0;
  uint8_t header[kWaveHeaderSize];
  BuildWaveHeader(header, kRate, kBits, data, kChannels);
  if (fseek(f, 0, SEEK_SET) == 0) fwrite(header, 1, sizeof header, f);
  if (s.standardOutput) fflush(f);
  else fclose(f);
}

}  // namespace

OrviaState& State() {
  static OrviaState state;
  return state;
}

void StartOrvia() {
  OrviaState& s = State();
  if (s.outputFile && !s.standardOutput) fclose(s.outputFile);
  mbrola::StartMbrola();
  const platform::AudioSink playback = s.playback;  // the program's, not the engine's
  s = OrviaState{};
  s.playback = playback;
  s.readBuffer.assign(kReadSamples, 0);
}

void BuildWaveHeader(uint8_t* destination, int sampleRate, int bitsPerSample, uint32_t dataSize,
                     int channels) {
  platform::WriteWavHeader(destination, sampleRate, bitsPerSample, channels, dataSize);
}

void OrviaSetOutputFile(const std::string& fileName) { State().outputFileName = fileName; }

void OrviaSetFactors(double durationFactor, double pitchFactor) {
  State().durationFactor = durationFactor;
  State().pitchFactor = pitchFactor;
}

bool OrviaStart(const std::string& database, const std::string& rulesFile,
                const std::string& exceptionsFile, const std::string& abbreviationsFile,
                const std::string& prosodyFile, const std::string& diphoneListFile) {
  OrviaState& s = State();
  s.startFailure = kStarted;
  s.engineError.clear();
  if (s.readBuffer.empty()) StartOrvia();
  if (s.outputFile) {
    if (!s.standardOutput) fclose(s.outputFile);
    s.outputFile = nullptr;
  }
  if (!mbrola::MbrolaBind()) {
    s.engineError = platform::Utf8ToCp1252("o programa mbrola não foi encontrado no PATH");
    return Fail(kNoMbrola);
  }
  std::string args[6] = {database,          rulesFile,   exceptionsFile,
                         abbreviationsFile, prosodyFile, diphoneListFile};
  for (int i = 0; i < 6; ++i)
    if (args[i].empty()) args[i] = kDefaultArguments[i];
  const std::string voice = ResolveDatabase(args[0]);
  const mbrola::EntryPoints& mbr = mbrola::Mbrola();
  if (mbr.init_MBR(voice.c_str()) < 0) {
    KeepEngineError();
    mbrola::MbrolaUnbind();
    return Fail(kNoVoice);
  }
  mbr.setNoError_MBR(1);
  const std::string failure = uttsPortug::LoadTextData({args[1], args[2], args[3], args[4], args[5]});
  if (!failure.empty()) {
    s.lastError = failure.substr(0, kLastErrorLength);
    return Fail(kTextData);
  }
  if (s.outputFileName.empty()) {
    s.fileOutput = false;
    return true;
  }
  if (!CreateOutputFile()) return Fail(kOutputFile);
  s.fileOutput = true;
  return true;
}

void OrviaStop() {
  const platform::AudioSink& sink = State().run.sink;
  if (!State().fileOutput && sink.Stop) sink.Stop(sink.context);
}

bool OrviaIsSpeaking() {
  const platform::AudioSink& sink = State().run.sink;
  return !State().fileOutput && sink.Playing && sink.Playing(sink.context);
}

void OrviaClose() {
  OrviaState& s = State();
  if (s.fileOutput) CompleteOutputFile();
  uttsPortug::ReleaseRules();
  uttsProsodia::ReleaseDiphoneList();
  if (mbrola::MbrolaBound()) mbrola::Mbrola().close_MBR();
  mbrola::MbrolaUnbind();
}

const std::string& OrviaLastError() { return State().lastError; }
StartFailure OrviaStartFailure() { return State().startFailure; }
const std::string& OrviaEngineError() { return State().engineError; }
double DurationFactor() { return State().durationFactor; }
double PitchFactor() { return State().pitchFactor; }
bool FileOutput() { return State().fileOutput; }
const std::string& OutputFileName() { return State().outputFileName; }
void OrviaSetOutput(const platform::SpeechOutput& output) { State().output = output; }
void OrviaSetPlayback(const platform::AudioSink& sink) { State().playback = sink; }

}  // namespace uttsOrvia
