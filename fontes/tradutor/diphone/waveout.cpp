// TIRLA: the wave output's device, buffers and queue.
#include "diphone/waveout.h"

#include <array>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/audio/pcm.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/wav.h"

namespace waveout {
namespace {

constexpr int kBuffers = 4;             // device buffers
constexpr int kOpenAttempts = 100;      // tries while the device is busy
constexpr uint16_t kBusyPauseMs = 100;  // between those tries
constexpr int kFullQueueRounds = 40;    // waits for a free buffer before a block is dropped
constexpr uint16_t kFullQueuePauseMs = 50;
constexpr uint16_t kPlayPollMs = 10;    // PlayPcm's wait for a free buffer
constexpr int kInvalidHandle = 5;       // unprepare: not one of our buffers
constexpr int kStallGraceMs = 3000;     // beyond the longest buffer, before a stall is declared

struct DeviceError {
  int code;
  const char* message;
};

// Unprepare errors and what the user is told.
constexpr DeviceError kDeviceErrors[] = {
    {5, "Specified device handle is invalid."},
    {6, "No device driver is present."},
    {7, "Unable to allocate or lock memory."},
    {33, "The data block pointed to by the pwh parameter is still in queue"},
};

struct WaveState {
  WaveFlags flags;                                    // options
  int maxQueued = kBuffers;                           // MaxQueued
  int queuedCount = 0;                                // QueuedCount
  int lastBuffer = 0;                                 // LastBuffer, 1..4 (0 before any)
  platform::PcmFormat format;                         // current format
  std::array<std::vector<uint8_t>, kBuffers> buffers; // device buffers, allocated at start
  std::array<bool, kBuffers> queued{};                // buffer held by the device
  std::vector<uint8_t> compacted;                     // CompactMode works on a copy here
  int reportedOpenError = 0;                          // open error already told to the user
  int lastOpenResult = 0;                             // result of the last open attempt
  std::chrono::steady_clock::time_point lastMove;     // a buffer was last queued or returned
  platform::StopToken stop;                           // "a key is waiting"
  std::vector<int> deviceErrors;                      // returned with an error, not yet told
};

WaveState& State() {
  static WaveState state;
  return state;
}

// Serves the posted messages (the device's returns among them) for up to `ms` milliseconds.
void Pause(int ms) { platform::PumpFor(ms); }

// Waits up to `ms` for the next posted message or window event and serves it: a returned
// buffer or a key ends the wait at once, where a pause would sleep on.
void AwaitNews(int ms) {
  platform::WaitMessages(ms);
  platform::PumpMessages();
}

void AllocateBuffers(WaveState& s) {
  for (auto& buffer : s.buffers) buffer.assign(kBufferSize, 0);
  s.compacted.assign(kBufferSize, 0);
}

// Sound thread: never touches our state, only posts the news to the main thread.
void OnBlockDone(intptr_t tag, int status) {
  platform::PostMessage(platform::kWaveBlockDone, status, tag);
}

// Device errors returned while the pump ran are told here, outside it: the user's answer is
// awaited once for all of them, never inside a message handler.
void TellDeviceErrors() {
  WaveState& s = State();
  if (s.deviceErrors.empty()) return;
  const std::vector<int> codes = std::move(s.deviceErrors);
  s.deviceErrors.clear();
  std::string text;
  for (int code : codes) {
    const std::string message = DeviceErrorMessage(code);
    if (!text.empty()) text += ' ';
    text += "Erro do dispositivo de som " + std::to_string(code) +
            (message.empty() ? "" : ": " + message);
  }
  platform::ReportAndAsk(text);
}

}  // namespace

bool StopWanted() {
  WaveState& s = State();
  TellDeviceErrors();
  return s.flags.StopOnKey && platform::StopRequested(s.stop);
}

namespace {

// Silence says nothing: an open failure is always reported, once per failure.
void TellOpenError(int code) {
  WaveState& s = State();
  if (code == 0 || code == s.reportedOpenError) return;
  s.reportedOpenError = code;
  platform::Report(platform::Severity::kError,
                   "o dispositivo de som n\xE3o p\xF4" "de ser aberto (" +
                       platform::Utf8ToCp1252(platform::PcmLastError()) + ").");
}

void OnBlockDoneMessage(intptr_t device, intptr_t header) { WaveBlockDone(0, device, header); }

int SetWaveFormat(int rate, int bits, int channels) {
  WaveState& s = State();
  if (s.format.rate != rate || s.format.bits != bits || s.format.channels != channels) {
    while (WavePlaying()) AwaitNews(kPlayPollMs);
  }
  s.format = {rate, bits, channels};
  if (platform::PcmIsOpen()) return 0;
  int result = platform::PcmOpen(s.format, OnBlockDone);
  for (int attempt = 1; result == platform::kPcmBusy && attempt < kOpenAttempts; ++attempt) {
    Pause(kBusyPauseMs);
    result = platform::PcmOpen(s.format, OnBlockDone);
  }
  s.lastOpenResult = result;
  if (result == 0) {
    platform::SetMessageHandler(platform::kWaveBlockDone, OnBlockDoneMessage);
    s.reportedOpenError = 0;
  }
  TellOpenError(result);
  return result;
}

// Copies one piece into the next free buffer and queues it; false when it was not played.
bool QueueWaveBlock(const uint8_t* bytes, size_t n) {
  WaveState& s = State();
  for (int round = 0; s.queuedCount >= s.maxQueued && round < kFullQueueRounds; ++round) {
    Pause(kFullQueuePauseMs);
  }
  if (s.queuedCount >= s.maxQueued) return false;
  int number = s.lastBuffer % s.maxQueued + 1;
  for (int tries = 0; s.queued[number - 1] && tries < s.maxQueued; ++tries)
    number = number % s.maxQueued + 1;
  if (s.queued[number - 1]) return false;
  ++s.queuedCount;
  s.lastBuffer = number;
  std::vector<uint8_t>& buffer = s.buffers[number - 1];
  n = std::min(n, kBufferSize);
  if (n > 0) std::memcpy(buffer.data(), bytes, n);
  const bool mono8 = s.format.bits == 8 && s.format.channels == 1;
  const uint8_t silence = s.format.bits == 8 ? 128 : 0;
  if (n < kMinBlock) std::memset(buffer.data() + n, silence, kMinBlock - n);
  if (mono8 && n > 0 && n != kBufferSize) buffer[n - 1] = 128;
  s.queued[number - 1] = true;
  s.lastMove = std::chrono::steady_clock::now();
  if (!platform::PcmQueue(buffer.data(), std::max(n, kMinBlock), number)) {
    s.queued[number - 1] = false;
    --s.queuedCount;
    return false;
  }
  return true;
}

// What the device's return of a buffer gives: its status, or 5 for a buffer not ours.
int UnprepareHeader(intptr_t device, intptr_t header) {
  const WaveState& s = State();
  if (device != 0) return static_cast<int>(device);
  if (header < 1 || header > s.maxQueued || !s.queued[header - 1]) return kInvalidHandle;
  return 0;
}

}  // namespace

void StartWaveOut() {
  WaveState& s = State();
  platform::PcmClose();
  s = WaveState{};
  AllocateBuffers(s);
}

void SetStopToken(const platform::StopToken& token) { State().stop = token; }

WaveFlags& Flags() { return State().flags; }

int QueuedCount() { return State().queuedCount; }

int LastOpenError() { return State().lastOpenResult; }

const char* DeviceErrorMessage(int code) {
  for (const DeviceError& e : kDeviceErrors)
    if (e.code == code) return e.message;
  return "";
}

namespace {

// PlayPcm with the speed-up and compaction options given, not read from the flags.
int PlayPcmWith(const uint8_t* samples, size_t length, int rate, int channels, int bits,
                bool fastRate, bool compactMode) {
  WaveState& s = State();
  if (s.buffers[0].empty()) AllocateBuffers(s);
  if (fastRate) rate = rate * 3 / 2;
  const bool compact = compactMode && channels == 1;
  const int deviceBits = compactMode && channels == 1 && bits == 16 ? 8 : bits;
  const int result = SetWaveFormat(rate, deviceBits, channels);
  if (result != 0) return result;
  while (length > 0) {
    while (s.queuedCount >= s.maxQueued) {
      if (StopWanted()) {
        WaveStop();
        return 0;
      }
      AwaitNews(kPlayPollMs);
    }
    if (StopWanted()) {
      WaveStop();
      return 0;
    }
    const size_t piece = std::min(length, kBufferSize);
    const uint8_t* bytes = samples;
    size_t n = piece;
    if (compact) {
      std::memcpy(s.compacted.data(), samples, piece);
      n = CompactSpeech(s.compacted.data(), piece, bits, rate);
      bytes = s.compacted.data();
    }
    QueueWaveBlock(bytes, n);
    samples += piece;
    length -= piece;
  }
  return 0;
}

// Engine sound is played as the engine made it: the options are for the built-in sounds.
bool TakeEngineSamples(void*, const int16_t* samples, size_t count, int rate) {
  return PlayPcmWith(reinterpret_cast<const uint8_t*>(samples), count * 2, rate, 1, 16, false,
                     false) == 0;
}

}  // namespace

int PlayPcm(const uint8_t* samples, size_t length, int rate, int channels, int bits) {
  const WaveFlags& flags = State().flags;
  return PlayPcmWith(samples, length, rate, channels, bits, flags.FastRate, flags.CompactMode);
}

void PrepareDevice(int rate, int bits, int channels) {
  if (platform::PcmIsOpen()) return;
  if (platform::PcmOpen({rate, bits, channels}, nullptr) == platform::kPcmOk) platform::PcmClose();
}

platform::AudioSink EngineSink() {
  return {.context = nullptr,
          .Samples = TakeEngineSamples,
          .Stop = [](void*) { WaveStop(); },
          .Playing = [](void*) { return WavePlaying(); }};
}

int PlayWavImage(const uint8_t* image, size_t size) {
  platform::WavInfo info;
  if (!platform::ReadWavImage(image, size, info)) return -1;
  return PlayPcm(image + info.dataOffset, static_cast<size_t>(info.dataSize), info.rate,
                 info.channels, info.bits);
}

namespace {

// Whether the device has held its buffers longer than any buffer can play: a device that
// stopped calling back would otherwise keep every wait going for ever.
bool DeviceStalled() {
  const WaveState& s = State();
  if (s.queuedCount == 0) return false;
  if (!platform::PcmIsOpen()) return true;
  const int bytesPerSecond = std::max(1, s.format.rate * s.format.channels * (s.format.bits / 8));
  const auto limit = std::chrono::milliseconds(
      static_cast<long long>(kBufferSize) * 1000 / bytesPerSecond + kStallGraceMs);
  return std::chrono::steady_clock::now() - s.lastMove > limit;
}

}  // namespace

bool WavePlaying() {
  WaveState& s = State();
  platform::PumpMessages();
  TellDeviceErrors();
  if (DeviceStalled()) {
    platform::Report(platform::Severity::kError, "o dispositivo de som parou de tocar.");
    WaveStop();
  }
  if (s.queuedCount == 0 || StopWanted()) WaveStop();
  return s.queuedCount != 0;
}


void WaveStop() {
  WaveState& s = State();
  if (platform::PcmIsOpen()) {
    if (s.queuedCount > 0) platform::PcmReset();
    platform::PumpMessages();
    platform::PcmClose();
    platform::PumpMessages();
  }
  // A closed device holds nothing, whether or not every return was heard.
  s.queued.fill(false);
  s.queuedCount = 0;
}

void WaveBlockDone(intptr_t, intptr_t device, intptr_t header) {
  WaveState& s = State();
  const int result = UnprepareHeader(device, header);
  if (result != 0) s.deviceErrors.push_back(result);
  if (header < 1 || header > s.maxQueued || !s.queued[header - 1]) return;
  s.queued[header - 1] = false;
  s.lastMove = std::chrono::steady_clock::now();
  if (s.queuedCount > 0) --s.queuedCount;
}

}  // namespace waveout
