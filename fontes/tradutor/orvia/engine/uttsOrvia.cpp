// TIRLA: ORVIA engine start, output file, factors, stop, close and the WAV header.
#include "orvia/engine/uttsOrvia.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "orvia/engine/mbrola.h"
#include "orvia/engine/minireg.h"
#include "orvia/engine/uttsOrviaState.h"
#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsVoices.h"
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

// The voice table's row for the voice asked for (null when there is no table: the voice is
// spoken as br4); false, with the failure kept, when the table fails or lacks the voice.
bool DescribeVoice(const std::string& asked, const std::string& diphoneList,
                   const uttsVoices::Voice*& described) {
  described = nullptr;
  const std::string table = uttsVoices::VoiceTableFor(diphoneList);
  if (!std::filesystem::exists(table)) return true;
  const std::string failure = uttsVoices::LoadVoices(table);
  if (!failure.empty()) {
    State().lastError = failure.substr(0, kLastErrorLength);
    return Fail(kTextData);
  }
  described = uttsVoices::FindVoice(asked);
  // a database path the table does not know is spoken as br4, as without a table
  return described != nullptr || asked.find('/') != std::string::npos || Fail(kUnknownVoice);
}

// The output file name that means standard output, and the data size its header claims: the
// size that readers of piped WAV (sox, aplay) take for "up to the end", without a warning.
constexpr char kStandardOutput[] = "-";
constexpr uint32_t kStreamingDataSize = 0x7FFFF000u;
// Offsets of the RIFF size and the data size in the header.
constexpr long long kRiffSizeAt = 4, kDataSizeAt = 40;

// Writes all of `count` bytes at the file's position; false on failure.
bool WriteAll(int fd, const void* bytes, size_t count) {
  const auto* at = static_cast<const uint8_t*>(bytes);
  while (count > 0) {
    const ssize_t n = write(fd, at, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

// Writes a little-endian 32-bit value at `offset`.
bool Put32At(int fd, long long offset, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return pwrite(fd, bytes, 4, static_cast<off_t>(offset)) == 4;
}

// Creates the output file with an empty header; false on failure. The header's sizes can be
// kept right only in a regular file not opened for appending (where every write goes to the
// end); a pipe gets the size that means "up to the end".
bool CreateOutputFile() {
  OrviaState& s = State();
  s.standardOutput = s.outputFileName == kStandardOutput;
  s.outputFd = s.standardOutput
                   ? STDOUT_FILENO
                   : open(s.outputFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (s.outputFd < 0) {
    s.outputError = errno;
    return false;
  }
  struct stat info {};
  const int flags = fcntl(s.outputFd, F_GETFL);
  s.headerAt = fstat(s.outputFd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
                       (flags & O_APPEND) == 0
                   ? lseek(s.outputFd, 0, SEEK_CUR)
                   : -1;
  s.outputBytes = 0;
  uint8_t header[kWaveHeaderSize];
  BuildWaveHeader(header, s.rate, kBits, s.headerAt < 0 ? kStreamingDataSize : 0, kChannels);
  if (!WriteAll(s.outputFd, header, sizeof header)) {
    s.outputError = errno;
    SetLastError("Arquivo de saída não pode ser criado");
    if (!s.standardOutput) close(s.outputFd);
    s.outputFd = -1;
    return false;
  }
  return true;
}

void CloseOutputFile() {
  OrviaState& s = State();
  if (s.outputFd >= 0 && !s.standardOutput) close(s.outputFd);
  s.outputFd = -1;
}

}  // namespace

// The samples go straight to the file and the header's sizes follow each piece, so that a
// program ended at any moment (killed, the machine off) leaves a file whose sizes match what
// it holds. The signals that end a program are held between the two writes.
bool WriteOutput(const void* bytes, size_t count) {
  OrviaState& s = State();
  if (s.outputFd < 0) return false;
  sigset_t ending, before;
  sigemptyset(&ending);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&ending, signal);
  const bool rewrite = s.headerAt >= 0;
  if (rewrite) pthread_sigmask(SIG_BLOCK, &ending, &before);
  bool written = WriteAll(s.outputFd, bytes, count);
  if (written) s.outputBytes += count;
  if (written && rewrite) {
    const uint32_t data = static_cast<uint32_t>(
        std::min<uint64_t>(s.outputBytes, UINT32_MAX - (kWaveHeaderSize - 8)));
    written = Put32At(s.outputFd, s.headerAt + kRiffSizeAt,
                      data + static_cast<uint32_t>(kWaveHeaderSize - 8)) &&
              Put32At(s.outputFd, s.headerAt + kDataSizeAt, data);
  }
  if (!written) s.outputError = errno;
  if (rewrite) pthread_sigmask(SIG_SETMASK, &before, nullptr);
  return written;
}

OrviaState& State() {
  static OrviaState state;
  return state;
}

void StartOrvia() {
  OrviaState& s = State();
  CloseOutputFile();
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
  s.outputError = 0;
  if (s.readBuffer.empty()) StartOrvia();
  CloseOutputFile();
  if (!mbrola::MbrolaBind()) {
    s.engineError = platform::Utf8ToCp1252("o programa mbrola não foi encontrado no PATH");
    return Fail(kNoMbrola);
  }
  std::string args[6] = {database,          rulesFile,   exceptionsFile,
                         abbreviationsFile, prosodyFile, diphoneListFile};
  for (int i = 0; i < 6; ++i)
    if (args[i].empty()) args[i] = kDefaultArguments[i];
  const uttsVoices::Voice* described = nullptr;
  if (!DescribeVoice(database, args[5], described)) return false;
  // a path names the database itself; a name or alias, the table's voice id
  const bool path = database.find('/') != std::string::npos;
  const std::string voice = ResolveDatabase(described && !path ? described->name : args[0]);
  s.rate = described ? described->rate : kRate;
  const mbrola::EntryPoints& mbr = mbrola::Mbrola();
  if (mbr.init_MBR(voice.c_str()) < 0) {
    KeepEngineError();
    mbrola::MbrolaUnbind();
    return Fail(kNoVoice);
  }
  mbr.setNoError_MBR(1);
  std::string failure = uttsPortug::LoadTextData({args[1], args[2], args[3], args[4], args[5]});
  if (failure.empty() && described)
    failure = uttsVoices::UseVoice(
        *described, std::filesystem::path(args[5]).parent_path().string(), args[5]);
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
  if (s.fileOutput) CloseOutputFile();
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
int OrviaOutputError() { return State().outputError; }
int OrviaRate() { return State().rate; }
const std::string& OutputFileName() { return State().outputFileName; }
void OrviaSetOutput(const platform::SpeechOutput& output) { State().output = output; }
void OrviaSetPlayback(const platform::AudioSink& sink) { State().playback = sink; }

}  // namespace uttsOrvia
