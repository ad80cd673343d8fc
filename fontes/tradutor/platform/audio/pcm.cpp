// TIRLA: the PCM sound device on SDL audio, with a memory device for tests.
#include "platform/audio/pcm.h"

#include <dlfcn.h>

#include <cstring>
#include <deque>

#include "platform/audio/sdl_audio.h"

namespace platform {
namespace {

// A queued block: the caller's memory, how much of it the device has taken, its tag.
struct QueuedBlock {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t taken = 0;
  intptr_t tag = 0;
};

struct PcmState {
  SDL_AudioDeviceID device = 0;           // SDL device, 0 when none; kept paused when closed
  bool open = false;                      // PcmOpen succeeded and no PcmClose followed
  PcmFormat format;                       // format of the SDL device (kept or open)
  PcmDoneCallback done = nullptr;         // where finished blocks are reported
  std::deque<QueuedBlock> queue;          // blocks not yet wholly taken (audio lock held)
  std::vector<intptr_t> finished;         // taken by the last callback, reported at the next
  bool running = false;                   // the device was unpaused by a first block
  uint8_t silence = 0;                    // the format's silent byte
  bool memory = false;                    // memory device instead of SDL
  bool memoryOpen = false;                // the memory device is open
  std::vector<PcmPlayedBlock> played;     // what the memory device took
  std::string lastError;                  // why the last open failed
};

// Kept alive to the very end on purpose: the sound thread may still run while the program's
// static objects are being destroyed (an exit in the middle of speech).
PcmState& State() {
  static PcmState& state = *new PcmState;
  return state;
}

// Frames per device period: 10 to 16 ms, a power of two as SDL likes it. A stop
// silences the device after the period that is playing, so the period is what a user who
// presses a key still hears.
Uint16 PeriodFrames(int rate) {
  Uint16 frames = 128;
  while (frames < 4096 && frames * 100 < rate) frames = static_cast<Uint16>(frames * 2);
  return frames;
}

// Sound thread: blocks wholly taken in the previous period are reported now, one period
// later, so that "done" means the device has played them, not only copied them.
void FillPeriod(void*, Uint8* stream, int length) {
  PcmState& s = State();
  const int status =
      SdlAudio()->GetAudioDeviceStatus(s.device) == SDL_AUDIO_STOPPED ? kPcmNoDriver : kPcmOk;
  for (intptr_t tag : s.finished)
    if (s.done) s.done(tag, status);
  s.finished.clear();
  size_t at = 0;
  const size_t want = static_cast<size_t>(length);
  while (at < want && !s.queue.empty()) {
    QueuedBlock& block = s.queue.front();
    const size_t n = std::min(want - at, block.size - block.taken);
    std::memcpy(stream + at, block.data + block.taken, n);
    at += n;
    block.taken += n;
    if (block.taken == block.size) {
      s.finished.push_back(block.tag);
      s.queue.pop_front();
    }
  }
  if (at < want) std::memset(stream + at, s.silence, want - at);
}

// Takes every block out of the queue (audio lock held by the caller, or thread stopped).
std::vector<intptr_t> TakeAllTags(PcmState& s) {
  std::vector<intptr_t> tags = std::move(s.finished);
  s.finished.clear();
  for (const QueuedBlock& block : s.queue) tags.push_back(block.tag);
  s.queue.clear();
  return tags;
}

void Report(const PcmState& s, const std::vector<intptr_t>& tags) {
  for (intptr_t tag : tags)
    if (s.done) s.done(tag, kPcmOk);
}

bool FormatPlayable(const PcmFormat& f) {
  return f.rate > 0 && (f.bits == 8 || f.bits == 16) && (f.channels == 1 || f.channels == 2);
}

}  // namespace

// The SDL log speaks English to a console the user may be listening to; our own reports
// say what failed.
void DropSdlLog(void*, int, SDL_LogPriority, const char*) {}

// What the sound library's usual failures mean, for the user: a piece of its English
// message and our words for it.
struct DeviceFailure {
  const char* says;
  const char* means;
};

constexpr DeviceFailure kDeviceFailures[] = {
    {"Couldn't open audio device", "nenhuma placa de som encontrada"},
    {"connection to PulseAudio", "o servidor de som (PulseAudio) não responde"},
    {"libpipewire", "o PipeWire não está instalado"},
    {"not available", "o sistema de som pedido em SDL_AUDIODRIVER não existe"},
    {"No available audio device", "nenhuma placa de som encontrada"},
};

// The library's message with our words in front, when we know them.
std::string Explained(const char* message) {
  const std::string text = message ? message : "";
  for (const DeviceFailure& failure : kDeviceFailures)
    if (text.find(failure.says) != std::string::npos)
      return std::string(failure.means) + "; " + text;
  return text;
}

// The ALSA library writes its own complaints (a missing card is forty lines) straight to
// standard error, below SDL. SDL loads it at run time; so do we, to give it a handler that
// keeps quiet. The handle stays open: closing it could unload the library under SDL.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsa() {
  static const bool done = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) alsa = dlopen("libasound.so.2", RTLD_NOW);
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (alsa)
      if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(DropAlsaMessage);
    return true;
  }();
  (void)done;
}

int PcmOpen(const PcmFormat& format, PcmDoneCallback done) {
  PcmState& s = State();
  PcmClose();
  if (!FormatPlayable(format)) {
    s.lastError = "formato de som não suportado";
    return kPcmBadFormat;
  }
  s.done = done;
  s.silence = format.bits == 8 ? 128 : 0;
  if (s.memory) {
    s.format = format;
    s.memoryOpen = true;
    return kPcmOk;
  }
  // A device kept from the last close is used again when the format is the same: opening one
  // costs time a key's echo should not wait for.
  if (s.device != 0 && s.format.rate == format.rate && s.format.bits == format.bits &&
      s.format.channels == format.channels &&
      SdlAudio()->GetAudioDeviceStatus(s.device) != SDL_AUDIO_STOPPED) {
    s.open = true;
    return kPcmOk;
  }
  if (s.device != 0) {
    SdlAudio()->CloseAudioDevice(s.device);  // joins the sound thread
    s.device = 0;
  }
  if (!SdlAudio()) {
    s.lastError = SdlAudioProblem();
    return kPcmNoDriver;
  }
  SdlAudio()->LogSetOutputFunction(DropSdlLog, nullptr);
  QuietAlsa();
  if (!SdlAudio()->WasInit(SDL_INIT_AUDIO) && SdlAudio()->InitSubSystem(SDL_INIT_AUDIO) != 0) {
    s.lastError = Explained(SdlAudio()->GetError());
    return kPcmNoDriver;
  }
  SDL_AudioSpec want{};
  want.freq = format.rate;
  want.format = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = PeriodFrames(format.rate);
  want.callback = FillPeriod;
  SDL_AudioSpec have{};
  s.device = SdlAudio()->OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (s.device == 0) {
    s.lastError = Explained(SdlAudio()->GetError());
    return kPcmBadDevice;
  }
  s.format = format;
  s.running = false;
  s.open = true;
  return kPcmOk;
}

bool PcmIsOpen() {
  const PcmState& s = State();
  return s.memory ? s.memoryOpen : s.open;
}

PcmFormat PcmCurrentFormat() { return PcmIsOpen() ? State().format : PcmFormat{}; }

bool PcmQueue(const void* data, size_t bytes, intptr_t tag) {
  PcmState& s = State();
  if (!PcmIsOpen()) return false;
  const auto* p = static_cast<const uint8_t*>(data);
  if (s.memory) {
    s.played.push_back({s.format, std::vector<uint8_t>(p, p + bytes)});
    if (s.done) s.done(tag, kPcmOk);
    return true;
  }
  SdlAudio()->LockAudioDevice(s.device);
  s.queue.push_back({p, bytes, 0, tag});
  SdlAudio()->UnlockAudioDevice(s.device);
  if (!s.running) {
    SdlAudio()->PauseAudioDevice(s.device, 0);
    s.running = true;
  }
  return true;
}

void PcmReset() {
  PcmState& s = State();
  if (!s.open) return;
  SdlAudio()->LockAudioDevice(s.device);
  std::vector<intptr_t> tags = TakeAllTags(s);
  SdlAudio()->UnlockAudioDevice(s.device);
  Report(s, tags);
}

void PcmClose() {
  PcmState& s = State();
  if (s.memory) {
    s.memoryOpen = false;
    s.format = {};
    return;
  }
  if (!s.open) return;
  // The device is kept, paused, for the next sound of the same format; the program's end
  // closes it with the rest of SDL.
  SdlAudio()->LockAudioDevice(s.device);
  std::vector<intptr_t> tags = TakeAllTags(s);
  SdlAudio()->UnlockAudioDevice(s.device);
  SdlAudio()->PauseAudioDevice(s.device, 1);
  s.open = false;
  s.running = false;
  Report(s, tags);
}

std::string PcmLastError() { return State().lastError; }

void PcmUseMemoryDevice(bool on) {
  PcmState& s = State();
  PcmClose();
  s.memory = on;
  s.memoryOpen = false;
  s.played.clear();
}

const std::vector<PcmPlayedBlock>& PcmPlayedBlocks() { return State().played; }

void PcmForgetPlayed() { State().played.clear(); }

}  // namespace platform
