// TIRLA: the RHVoice bridge.
#include "bridges/rhvoiceBridge.h"

#include <RHVoice.h>

#include <algorithm>
#include <chrono>

#include "bridges/library.h"
#include "bridges/localVoice.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"

namespace bridges {
namespace {

constexpr int kIsSpeakingWaitMs = 20;  // the longest is-speaking waits for the end
constexpr int kEndPollMs = 300;
constexpr int kLowestRate = -10, kHighestRate = 10;
constexpr double kRateScale = 10;  // −10..10 to the library's −1..1

// The library's entry points.
struct RhvoiceLibrary {
  decltype(&RHVoice_new_tts_engine) NewEngine = nullptr;
  decltype(&RHVoice_delete_tts_engine) DeleteEngine = nullptr;
  decltype(&RHVoice_get_number_of_voices) VoiceCount = nullptr;
  decltype(&RHVoice_get_voices) Voices = nullptr;
  decltype(&RHVoice_new_message) NewMessage = nullptr;
  decltype(&RHVoice_delete_message) DeleteMessage = nullptr;
  decltype(&RHVoice_speak) Speak = nullptr;
};

struct RhvoiceState {
  RhvoiceLibrary library;
  RHVoice_tts_engine engine = nullptr;
  std::string dataFolder;            // empty: the library's own
  std::string failure;               // why the last start failed
  std::vector<VoiceEntry> voices;    // as numbered, from the last start
  std::string profile;               // the chosen voice's name, UTF-8, for the worker
  int rate = 0;                      // −10..10
  int sampleRate = 0;                // worker thread only: the library's last word
  LocalVoice voice;
};

// Never destroyed: a program that ends at once (Ctrl+Break) must not meet a running thread
// in a destructor.
RhvoiceState& State() {
  static RhvoiceState* state = new RhvoiceState;
  return *state;
}

bool Bind(std::string& why) {
  static constexpr const char* kNames[] = {"libRHVoice.so.5", "libRHVoice.so"};
  RhvoiceLibrary& l = State().library;
  const LibrarySymbol symbols[] = {
      Symbol("RHVoice_new_tts_engine", l.NewEngine),
      Symbol("RHVoice_delete_tts_engine", l.DeleteEngine),
      Symbol("RHVoice_get_number_of_voices", l.VoiceCount),
      Symbol("RHVoice_get_voices", l.Voices),
      Symbol("RHVoice_new_message", l.NewMessage),
      Symbol("RHVoice_delete_message", l.DeleteMessage),
      Symbol("RHVoice_speak", l.Speak)};
  return BindLibrary(kNames, symbols, why);
}

// Worker thread: the library's callbacks.
int OnSampleRate(int rate, void*) {
  State().sampleRate = rate;
  return 1;
}

int OnSamples(const short* samples, unsigned int count, void*) {
  RhvoiceState& s = State();
  return SynthSamples(s.voice.worker, samples, count, s.sampleRate) ? 1 : 0;
}

int OnSentence(unsigned int, unsigned int, void*) {
  SynthTextStarted(State().voice.worker);
  return 1;
}

void OnDone(void*) { SynthTextDone(State().voice.worker); }

// Worker thread: one text at the rate it was handed with (in tenths of the library's range).
bool Synthesize(const SynthJob& job) {
  RhvoiceState& s = State();
  RHVoice_synth_params params{};
  params.voice_profile = s.profile.c_str();
  params.absolute_rate = job.rate / kRateScale;
  params.relative_rate = params.relative_pitch = params.relative_volume = 1;
  params.punctuation_mode = RHVoice_punctuation_default;
  params.capitals_mode = RHVoice_capitals_default;
  RHVoice_message message =
      s.library.NewMessage(s.engine, job.text.data(), static_cast<unsigned int>(job.text.size()),
                           RHVoice_message_text, &params, nullptr);
  if (!message) return job.text.find_first_not_of(' ') == std::string::npos;  // blank: silence
  s.library.Speak(message);
  s.library.DeleteMessage(message);
  return true;
}

void TakeSamples() {
  const SynthNews news = DrainLocalVoice(State().voice);
  if (news.failed > 0) {
    platform::Report(platform::Severity::kError, "o RHVoice recusou o texto.");
    PlayWarningBeep();
  }
}

void OnSamplesMessage(intptr_t, intptr_t) { TakeSamples(); }

// Creates the library's engine; false with `why`.
bool NewEngine(std::string& why) {
  RhvoiceState& s = State();
  if (!Bind(why)) return false;
  RHVoice_init_params params{};
  params.data_path = s.dataFolder.empty() ? nullptr : s.dataFolder.c_str();
  params.callbacks.set_sample_rate = OnSampleRate;
  params.callbacks.play_speech = OnSamples;
  params.callbacks.sentence_starts = OnSentence;
  params.callbacks.done = OnDone;
  params.options = RHVoice_preload_voices;  // the first text needs no loading
  s.engine = s.library.NewEngine(&params);
  if (!s.engine) why = "o RHVoice n\xE3o p\xF4" "de ser iniciado (dados em falta?)";
  return s.engine != nullptr;
}

void DeleteEngine() {
  RhvoiceState& s = State();
  if (s.engine) s.library.DeleteEngine(s.engine);
  s.engine = nullptr;
}

std::vector<VoiceEntry> ListVoices() {
  RhvoiceState& s = State();
  std::vector<VoiceEntry> voices;
  const unsigned int count = s.library.VoiceCount(s.engine);
  const RHVoice_voice_info* info = s.library.Voices(s.engine);
  for (unsigned int i = 0; info && i < count; ++i) {
    std::string language = info[i].language ? info[i].language : "";
    if (info[i].country && *info[i].country) language += std::string("-") + info[i].country;
    voices.push_back({platform::Utf8ToCp1252(info[i].name ? info[i].name : ""), language,
                      info[i].gender == RHVoice_voice_gender_female ? "feminina"
                      : info[i].gender == RHVoice_voice_gender_male ? "masculina"
                                                                    : ""});
  }
  OrderVoices(voices);
  return voices;
}

void Release() {
  RhvoiceState& s = State();
  StopLocalVoice(s.voice);
  EndSynthWorker(s.voice.worker);
  CloseAudioOut(s.voice.out);
  platform::SetMessageHandler(kRhvoiceSamplesMessage, nullptr);
  DeleteEngine();
}

bool Fail(std::string why) {
  Release();
  State().failure = std::move(why);
  return false;
}

}  // namespace

void StartRhvoiceBridge() {
  RhvoiceState& s = State();
  Release();
  s.dataFolder.clear();
  s.failure.clear();
  s.voices.clear();
  s.rate = 0;
  s.voice.output = {};
  s.voice.lastText.clear();
}

void Sapi54SetOutput(const platform::SpeechOutput& output) { State().voice.output = output; }

bool Sapi54Start(int voice, int rate, std::string_view outputFile) {
  RhvoiceState& s = State();
  Release();
  s.failure.clear();
  std::string why;
  if (!OpenAudioOut(s.voice.out, s.voice.output, outputFile, why)) return Fail(why);
  if (!NewEngine(why)) return Fail(why);
  s.voices = ListVoices();
  if (s.voices.empty()) return Fail("nenhuma voz do RHVoice est\xE1 instalada");
  if (voice < 1 || voice > static_cast<int>(s.voices.size())) {
    if (voice != 0)
      platform::Report(platform::Severity::kWarning,
                       "a voz " + std::to_string(voice) + " do RHVoice n\xE3o existe (h\xE1 " +
                           std::to_string(s.voices.size()) + "); fala a voz 1.");
    voice = 1;
    rate = 0;  // a wrong voice number also drops the rate
  }
  s.profile = platform::Cp1252ToUtf8(s.voices[voice - 1].name);
  s.rate = std::clamp(rate, kLowestRate, kHighestRate);
  platform::SetMessageHandler(kRhvoiceSamplesMessage, OnSamplesMessage);
  StartSynthWorker(s.voice.worker, Synthesize, kRhvoiceSamplesMessage);
  return true;
}

void Sapi54Speak(std::string_view text) {
  RhvoiceState& s = State();
  if (!s.engine) return;
  for (std::string_view piece : TextPieces(text.empty() ? " " : text))
    HandLocalVoiceText(s.voice, {SpeakableUtf8(piece), s.rate, 0});
}

bool Sapi54IsSpeaking() {
  RhvoiceState& s = State();
  if (!s.engine) return false;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kIsSpeakingWaitMs);
  for (;;) {
    TakeSamples();
    if (platform::StopRequested(s.voice.output.stop)) {
      Sapi54Stop();
      return false;
    }
    if (!LocalVoiceTextsPending(s.voice) && !s.voice.audioPlaying) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    platform::WaitMessages(static_cast<int>(left));
    platform::PumpMessages();
  }
  platform::PostMessage(platform::kWakeUpEngine);
  return true;
}

void Sapi54Stop() { StopLocalVoice(State().voice); }

void Sapi54End() {
  while (Sapi54IsSpeaking()) platform::PumpFor(kEndPollMs);
  Release();
}

const std::string& Sapi54StartFailure() { return State().failure; }

bool Sapi54Voices(std::vector<VoiceEntry>& voices, std::string& why) {
  RhvoiceState& s = State();
  if (s.engine) {
    voices = s.voices;
    return true;
  }
  if (!NewEngine(why)) return false;
  voices = ListVoices();
  DeleteEngine();
  return true;
}

void SetRhvoiceDataFolder(std::string folder) { State().dataFolder = std::move(folder); }

namespace {

bool RowStart(const platform::SpeechStart& start) {
  Sapi54SetOutput(start.output);
  return Sapi54Start(start.voice, start.speed, start.option);
}

bool RowSpeak(std::span<const platform::SpeechPiece> pieces) {
  for (const platform::SpeechPiece& piece : pieces) Sapi54Speak(piece.text);
  return State().engine != nullptr;
}

bool RowIsSpeaking(int) { return Sapi54IsSpeaking(); }
void RowSetRate(int rate) { State().rate = std::clamp(rate, kLowestRate, kHighestRate); }
void RowSetPitch(int) {}

constexpr platform::SpeechEngine kRhvoiceEngine = {
    .name = "RHVoice",
    .Start = RowStart,
    .Speak = RowSpeak,
    .IsSpeaking = RowIsSpeaking,
    .Stop = Sapi54Stop,
    .End = Sapi54End,
    .SetRate = RowSetRate,
    .SetPitch = RowSetPitch,
};

}  // namespace

const platform::SpeechEngine& RhvoiceEngine() { return kRhvoiceEngine; }

}  // namespace bridges
