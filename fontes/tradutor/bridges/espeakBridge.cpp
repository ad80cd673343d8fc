// TIRLA: the eSpeak NG bridge.
#include "bridges/espeakBridge.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>

#include "bridges/library.h"
#include "bridges/localVoice.h"
#include "diphone/waveout.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/text.h"

namespace bridges {
namespace {

constexpr int kBufferMs = 100;          // sound handed by the library per callback
constexpr int kNormalPitch = 50;        // the library's pitch scale is 0..100
constexpr double kVoicePitchHz = 107;   // the Brazilian voice at pitch 50, measured
constexpr double kStepsPerOctave = 85;  // 50 steps raise the pitch about 1.5 times
constexpr int kEndPollMs = 50;          // wait for the sound before the end

// The library's entry points.
struct EspeakLibrary {
  decltype(&espeak_Initialize) Initialize = nullptr;
  decltype(&espeak_SetSynthCallback) SetSynthCallback = nullptr;
  decltype(&espeak_ListVoices) ListVoices = nullptr;
  decltype(&espeak_SetVoiceByName) SetVoiceByName = nullptr;
  decltype(&espeak_SetParameter) SetParameter = nullptr;
  decltype(&espeak_Synth) Synth = nullptr;
};

struct EspeakState {
  EspeakLibrary library;
  bool initialized = false;      // espeak_Initialize succeeded: once for the process, since
                                 // the library's end can hang (its event thread may miss it)
  bool engine = false;           // a start succeeded and no end came since
  int sampleRate = 0;            // the library's, from its start
  std::string failure;           // why the last start failed
  std::vector<VoiceEntry> voices;  // as numbered, from the last start
  int rate = espeakRATE_NORMAL;  // for the next texts, in the library's values
  int pitch = kNormalPitch;
  int appliedRate = 0;           // worker thread only: what the library was last given
  int appliedPitch = 0;
  LocalVoice voice;
};

// Never destroyed: a program that ends at once (Ctrl+Break) must not meet a running thread
// in a destructor.
EspeakState& State() {
  static EspeakState* state = new EspeakState;
  return *state;
}

bool Bind(std::string& why) {
  static constexpr const char* kNames[] = {"libespeak-ng.so.1", "libespeak-ng.so"};
  EspeakLibrary& l = State().library;
  const LibrarySymbol symbols[] = {
      Symbol("espeak_Initialize", l.Initialize),
      Symbol("espeak_SetSynthCallback", l.SetSynthCallback),
      Symbol("espeak_ListVoices", l.ListVoices),
      Symbol("espeak_SetVoiceByName", l.SetVoiceByName),
      Symbol("espeak_SetParameter", l.SetParameter),
      Symbol("espeak_Synth", l.Synth)};
  return BindLibrary(kNames, symbols, why);
}

// Worker thread: the library's callback. Samples go to the worker; the first event of a text
// is its start, the end-of-message event its end. 1 asks the library to stop.
int OnSynth(short* samples, int count, espeak_EVENT* events) {
  EspeakState& s = State();
  if (samples && count > 0 && !SynthSamples(s.voice.worker, samples, count, s.sampleRate))
    return 1;
  for (; events && events->type != espeakEVENT_LIST_TERMINATED; ++events) {
    if (events->type == espeakEVENT_MSG_TERMINATED)
      SynthTextDone(s.voice.worker);
    else
      SynthTextStarted(s.voice.worker);
  }
  return 0;
}

// Worker thread: one text, with the speed and pitch it was handed with.
bool Synthesize(const SynthJob& job) {
  EspeakState& s = State();
  if (job.rate != s.appliedRate) s.library.SetParameter(espeakRATE, job.rate, 0);
  if (job.pitch != s.appliedPitch) s.library.SetParameter(espeakPITCH, job.pitch, 0);
  s.appliedRate = job.rate;
  s.appliedPitch = job.pitch;
  return s.library.Synth(job.text.c_str(), job.text.size() + 1, 0, POS_CHARACTER, 0,
                         espeakCHARS_UTF8, nullptr, nullptr) == EE_OK;
}

void TakeSamples() {
  const SynthNews news = DrainLocalVoice(State().voice);
  if (news.failed > 0) {
    platform::Report(platform::Severity::kError, "o eSpeak NG recusou o texto.");
    Sapi4Stop();
  }
}

void OnSamplesMessage(intptr_t, intptr_t) { TakeSamples(); }

// Starts the library unless it runs; false with `why`.
bool Initialize(std::string& why) {
  EspeakState& s = State();
  if (!Bind(why)) return false;
  if (s.initialized) return true;
  const int rate = s.library.Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, nullptr,
                                        espeakINITIALIZE_DONT_EXIT);
  if (rate <= 0) {
    why = "o eSpeak NG n\xE3o achou seus dados (espeak-ng-data)";
    return false;
  }
  s.sampleRate = rate;
  s.initialized = true;
  s.library.SetSynthCallback(OnSynth);
  return true;
}

// The library's voices, numbered; its list is gone at the next call, so it is copied.
std::vector<VoiceEntry> ListVoices() {
  std::vector<VoiceEntry> voices;
  const espeak_VOICE** list = State().library.ListVoices(nullptr);
  for (; list && *list; ++list) {
    const espeak_VOICE& v = **list;
    voices.push_back({platform::Utf8ToCp1252(v.name ? v.name : ""),
                      v.languages ? v.languages + 1 : "",  // after the priority byte
                      v.identifier ? v.identifier : ""});
  }
  OrderVoices(voices);
  return voices;
}

// Stops and lets go of everything a start made.
void Release() {
  EspeakState& s = State();
  StopLocalVoice(s.voice);
  EndSynthWorker(s.voice.worker);
  CloseAudioOut(s.voice.out);
  platform::SetMessageHandler(kEspeakSamplesMessage, nullptr);
  s.engine = false;
}

bool Fail(std::string why) {
  Release();
  State().failure = std::move(why);
  return false;
}

}  // namespace

void StartEspeakBridge() {
  EspeakState& s = State();
  Release();
  s.failure.clear();
  s.voices.clear();
  s.rate = espeakRATE_NORMAL;
  s.pitch = kNormalPitch;
  s.voice.output = {};
  s.voice.lastText.clear();
}

void Sapi4SetOutput(const platform::SpeechOutput& output) { State().voice.output = output; }

bool Sapi4Start(int voice, int speed, int pitch, std::string_view outputFile) {
  EspeakState& s = State();
  Release();
  s.failure.clear();
  voice = std::max(voice, 1);
  std::string why;
  if (!OpenAudioOut(s.voice.out, s.voice.output, outputFile, why)) return Fail(why);
  if (!Initialize(why)) return Fail(why);
  s.voices = ListVoices();
  if (s.voices.empty()) return Fail("nenhuma voz do eSpeak NG est\xE1 instalada");
  if (voice > static_cast<int>(s.voices.size())) {
    platform::Report(platform::Severity::kWarning,
                     "a voz " + std::to_string(voice) + " do eSpeak NG n\xE3o existe (h\xE1 " +
                         std::to_string(s.voices.size()) + "); fala a voz 1.");
    voice = 1;
  }
  const VoiceEntry& chosen = s.voices[voice - 1];
  if (s.library.SetVoiceByName(chosen.detail.c_str()) != EE_OK)
    return Fail("a voz " + chosen.name + " do eSpeak NG n\xE3o p\xF4" "de ser carregada");
  s.rate = EspeakRateFor(speed);
  s.pitch = EspeakPitchFor(pitch);
  s.appliedRate = 0;  // the worker sets both before its first text
  s.appliedPitch = 0;
  s.voice.out.fileRate = s.voice.out.file ? s.sampleRate : 0;
  platform::SetMessageHandler(kEspeakSamplesMessage, OnSamplesMessage);
  StartSynthWorker(s.voice.worker, Synthesize, kEspeakSamplesMessage);
  s.engine = true;
  return true;
}

void Sapi4Speak(std::string_view text) {
  EspeakState& s = State();
  text = platform::Trim(text, platform::kSpaceAndControls);
  if (text.empty()) return;
  std::string said(text);
  if (said.size() == 1 && said[0] >= '0' && said[0] <= '9') said += '.';  // read as a number
  if (!s.engine) return;
  if (waveout::Flags().StopOnKey && platform::StopRequested(s.voice.output.stop)) return;
  for (std::string_view piece : TextPieces(said))
    HandLocalVoiceText(s.voice, {SpeakableUtf8(piece), s.rate, s.pitch});
}

bool Sapi4IsSpeaking(int flag) {
  EspeakState& s = State();
  if (!s.engine) return false;
  TakeSamples();
  if (platform::StopRequested(s.voice.output.stop)) {
    Sapi4Stop();
    return false;
  }
  if (flag == 1) return LocalVoiceTextsPending(s.voice);
  return LocalVoiceTextsPending(s.voice) || s.voice.audioPlaying;
}

void Sapi4Stop() { StopLocalVoice(State().voice); }

void Sapi4End() {
  while (Sapi4IsSpeaking(0)) platform::PumpFor(kEndPollMs);
  Release();
}

const std::string& Sapi4StartFailure() { return State().failure; }

bool Sapi4Voices(std::vector<VoiceEntry>& voices, std::string& why) {
  EspeakState& s = State();
  if (s.engine) {
    voices = s.voices;
    return true;
  }
  if (!Initialize(why)) return false;
  voices = ListVoices();
  return true;
}

int EspeakRateFor(int wordsPerMinute) {
  if (wordsPerMinute == 0) return espeakRATE_NORMAL;
  return std::clamp(wordsPerMinute, espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
}

int EspeakPitchFor(int hertz) {
  if (hertz <= 0) return kNormalPitch;
  const double steps = kNormalPitch + kStepsPerOctave * std::log2(hertz / kVoicePitchHz);
  return std::clamp(static_cast<int>(std::lround(steps)), 0, 100);
}

int Sapi4PendingCount() { return State().voice.pending; }
bool Sapi4AudioPlaying() { return State().voice.audioPlaying; }
const std::string& Sapi4LastText() { return State().voice.lastText; }

namespace {

bool RowStart(const platform::SpeechStart& start) {
  Sapi4SetOutput(start.output);
  return Sapi4Start(start.voice, start.speed, start.pitch, start.option);
}

bool RowSpeak(std::span<const platform::SpeechPiece> pieces) {
  for (const platform::SpeechPiece& piece : pieces) Sapi4Speak(piece.text);
  return State().engine;
}

void RowSetRate(int speed) { State().rate = EspeakRateFor(speed); }
void RowSetPitch(int pitch) { State().pitch = EspeakPitchFor(pitch); }

constexpr platform::SpeechEngine kEspeakEngine = {
    .name = "eSpeak NG",
    .Start = RowStart,
    .Speak = RowSpeak,
    .IsSpeaking = Sapi4IsSpeaking,
    .Stop = Sapi4Stop,
    .End = Sapi4End,
    .SetRate = RowSetRate,
    .SetPitch = RowSetPitch,
};

}  // namespace

const platform::SpeechEngine& EspeakEngine() { return kEspeakEngine; }

}  // namespace bridges
