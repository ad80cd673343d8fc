// TIRLA: the Speech Dispatcher bridge.
#include "bridges/speechdBridge.h"

#include <libspeechd.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "bridges/audioOut.h"
#include "bridges/library.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"

namespace bridges {
namespace {

constexpr int kIsSpeakingWaitMs = 20;  // the longest is-speaking waits for the end
constexpr int kStopPauseMs = 50;
constexpr int kEndPollMs = 300;
constexpr int kRateScale = 10;  // −10..10 to the service's −100..100
constexpr int kLowestRate = -10, kHighestRate = 10;

// The library's entry points.
struct SpeechdLibrary {
  decltype(&spd_open2) Open = nullptr;
  decltype(&spd_close) Close = nullptr;
  decltype(&spd_say) Say = nullptr;
  decltype(&spd_cancel) Cancel = nullptr;
  decltype(&spd_set_notification_on) NotificationOn = nullptr;
  decltype(&spd_list_modules) ListModules = nullptr;
  decltype(&free_spd_modules) FreeModules = nullptr;
  decltype(&spd_list_synthesis_voices) ListVoices = nullptr;
  decltype(&free_spd_voices) FreeVoices = nullptr;
  decltype(&spd_set_output_module) SetModule = nullptr;
  decltype(&spd_set_language) SetLanguage = nullptr;
  decltype(&spd_set_synthesis_voice) SetVoice = nullptr;
  decltype(&spd_set_voice_rate) SetRate = nullptr;
};

// What the service's event thread shares with the main thread.
struct Events {
  std::mutex lock;
  std::condition_variable ended;
  int speaking = 0;      // texts accepted minus texts ended or cancelled (an end may come
                         // before its acceptance is counted: the sum is still right)
  int lastBeforeStop = 0;  // events of texts up to this id belong to a stop: not counted
  std::chrono::steady_clock::time_point lastEvent;  // when the service last told an end
};

struct SpeechdState {
  SpeechdLibrary library;
  SPDConnection* connection = nullptr;
  platform::SpeechOutput output;  // the start's stop token
  std::string failure;            // why the last start failed
  std::vector<VoiceEntry> voices;  // as numbered, from the last start
  VoiceEntry chosen;              // the pair in use
  int rate = 0;                   // −10..10
  bool started = false;           // a start succeeded and no end came since
  bool toldLost = false;          // the lost connection was reported
  int lastId = 0;                 // the last text accepted
};

SpeechdState& State() {
  static SpeechdState state;
  return state;
}

// Never destroyed: the library's event thread may call in while the program ends.
Events& Shared() {
  static Events* events = new Events;
  return *events;
}

bool Bind(std::string& why) {
  static constexpr const char* kNames[] = {"libspeechd.so.2", "libspeechd.so"};
  SpeechdLibrary& l = State().library;
  const LibrarySymbol symbols[] = {
      Symbol("spd_open2", l.Open),           Symbol("spd_close", l.Close),
      Symbol("spd_say", l.Say),              Symbol("spd_cancel", l.Cancel),
      Symbol("spd_set_notification_on", l.NotificationOn),
      Symbol("spd_list_modules", l.ListModules), Symbol("free_spd_modules", l.FreeModules),
      Symbol("spd_list_synthesis_voices", l.ListVoices), Symbol("free_spd_voices", l.FreeVoices),
      Symbol("spd_set_output_module", l.SetModule), Symbol("spd_set_language", l.SetLanguage),
      Symbol("spd_set_synthesis_voice", l.SetVoice), Symbol("spd_set_voice_rate", l.SetRate)};
  return BindLibrary(kNames, symbols, why);
}

// The service's event thread: a text ended or was cancelled.
void OnEvent(size_t id, size_t, SPDNotificationType) {
  Events& e = Shared();
  {
    std::lock_guard guard(e.lock);
    if (static_cast<int>(id) > e.lastBeforeStop) --e.speaking;
    e.lastEvent = std::chrono::steady_clock::now();
  }
  e.ended.notify_all();
  platform::PostMessage(platform::kWakeUpEngine);
}

// Whether the service closed its end of the connection.
bool ConnectionLost() {
  const SPDConnection* c = State().connection;
  if (!c) return true;
  pollfd watch{.fd = c->socket, .events = POLLRDHUP, .revents = 0};
  return poll(&watch, 1, 0) > 0 && (watch.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

void Disconnect() {
  SpeechdState& s = State();
  if (s.connection) s.library.Close(s.connection);
  s.connection = nullptr;
  s.lastId = 0;
  std::lock_guard guard(Shared().lock);  // a new connection may count its texts from 1 again
  Shared().speaking = 0;
  Shared().lastBeforeStop = 0;
}

// The library's reason, in brackets: its first sentence, without its "Error: ".
std::string LibraryError(const char* error) {
  std::string_view text = error ? error : "";
  if (text.rfind("Error: ", 0) == 0) text.remove_prefix(7);
  text = text.substr(0, text.find(". "));
  return text.empty() ? "" : " (" + platform::Utf8ToCp1252(text) + ")";
}

// Opens a connection with its events; false with `why`.
bool Connect(std::string& why) {
  SpeechdState& s = State();
  Disconnect();
  if (!Bind(why)) return false;
  // a service that dies mid-write must give an error, not end the program
  struct sigaction current{};
  sigaction(SIGPIPE, nullptr, &current);
  if (current.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
  char* error = nullptr;
  s.connection = s.library.Open("tirla", "fala", nullptr, SPD_MODE_THREADED, nullptr, 1, &error);
  if (!s.connection) {
    why = "o Speech Dispatcher n\xE3o est\xE1 rodando" + LibraryError(error);
    std::free(error);
    return false;
  }
  s.connection->callback_end = OnEvent;
  s.connection->callback_cancel = OnEvent;
  if (s.library.NotificationOn(s.connection, SPD_END) != 0 ||
      s.library.NotificationOn(s.connection, SPD_CANCEL) != 0) {
    why = "o Speech Dispatcher n\xE3o aceitou avisar o fim da fala";
    Disconnect();
    return false;
  }
  return true;
}

// Every (module, voice) pair of the service, in the numbering order.
std::vector<VoiceEntry> ListPairs() {
  SpeechdState& s = State();
  std::vector<VoiceEntry> pairs;
  char** modules = s.library.ListModules(s.connection);
  for (char** module = modules; module && *module; ++module) {
    if (s.library.SetModule(s.connection, *module) != 0) continue;
    SPDVoice** voices = s.library.ListVoices(s.connection);
    for (SPDVoice** v = voices; v && *v; ++v)
      pairs.push_back({platform::Utf8ToCp1252((*v)->name ? (*v)->name : ""),
                       (*v)->language ? (*v)->language : "", *module});
    if (voices) s.library.FreeVoices(voices);
  }
  if (modules) s.library.FreeModules(modules);
  OrderVoices(pairs);
  return pairs;
}

// Gives the connection the chosen pair and the rate.
bool Select() {
  SpeechdState& s = State();
  const std::string voice = platform::Cp1252ToUtf8(s.chosen.name);
  if (s.library.SetModule(s.connection, s.chosen.detail.c_str()) != 0) return false;
  if (!s.chosen.language.empty()) s.library.SetLanguage(s.connection, s.chosen.language.c_str());
  if (s.library.SetVoice(s.connection, voice.c_str()) != 0) return false;
  s.library.SetRate(s.connection, s.rate * kRateScale);  // a refused rate leaves the service's
  return true;
}

bool Fail(std::string why) {
  Disconnect();
  State().started = false;
  State().failure = std::move(why);
  return false;
}

// The connection is gone: its texts will never end.
void TellLost() {
  SpeechdState& s = State();
  Disconnect();
  if (s.toldLost) return;
  s.toldLost = true;
  platform::Report(platform::Severity::kError, "o Speech Dispatcher parou de responder.");
}

}  // namespace

void StartSpeechdBridge() {
  Disconnect();
  SpeechdState& s = State();
  s.output = {};
  s.failure.clear();
  s.voices.clear();
  s.started = false;
  s.toldLost = false;
}

void Sapi5SetOutput(const platform::SpeechOutput& output) { State().output = output; }

bool Sapi5Start(int voice, int rate, std::string_view outputFile) {
  SpeechdState& s = State();
  s.failure.clear();
  s.started = false;
  if (!outputFile.empty())
    return Fail("o Speech Dispatcher n\xE3o grava arquivos de som (pedido: " +
                std::string(outputFile) + ")");
  std::string why;
  if (!Connect(why)) return Fail(why);
  s.voices = ListPairs();
  if (s.voices.empty()) return Fail("o Speech Dispatcher n\xE3o tem nenhuma voz");
  if (voice < 1 || voice > static_cast<int>(s.voices.size())) {
    if (voice != 0)
      platform::Report(platform::Severity::kWarning,
                       "a voz " + std::to_string(voice) + " do Speech Dispatcher n\xE3o existe (h\xE1 " +
                           std::to_string(s.voices.size()) + "); fala a voz 1.");
    voice = 1;
    rate = 0;  // a wrong voice number also drops the rate
  }
  s.chosen = s.voices[voice - 1];
  s.rate = std::clamp(rate, kLowestRate, kHighestRate);
  if (!Select())
    return Fail("o Speech Dispatcher n\xE3o aceitou a voz " + s.chosen.name + " (" +
                s.chosen.detail + ")");
  s.started = true;
  s.toldLost = false;
  return true;
}

void Sapi5Speak(std::string_view text) {
  SpeechdState& s = State();
  if (!s.started) return;
  const std::string said = SpeakableUtf8(text.empty() ? " " : text);
  std::string why;
  if ((!s.connection || ConnectionLost()) && !(Connect(why) && Select())) {
    TellLost();
    PlayWarningBeep();
    return;
  }
  // priority "message": texts queue in order (those of priority "text" would cut each other off)
  const int id = s.library.Say(s.connection, SPD_MESSAGE, said.c_str());
  if (id < 0) {
    TellLost();
    PlayWarningBeep();
    return;
  }
  s.toldLost = false;
  s.lastId = id;
  std::lock_guard guard(Shared().lock);
  ++Shared().speaking;
}

bool Sapi5IsSpeaking() {
  SpeechdState& s = State();
  if (!s.connection) return false;
  if (platform::StopRequested(s.output.stop)) {
    Sapi5Stop();
    return false;
  }
  if (ConnectionLost()) {
    TellLost();
    return false;
  }
  Events& e = Shared();
  {
    std::unique_lock guard(e.lock);
    if (e.ended.wait_for(guard, std::chrono::milliseconds(kIsSpeakingWaitMs),
                         [&] { return e.speaking <= 0; }))
      return false;
  }
  platform::PostMessage(platform::kWakeUpEngine);
  return true;
}

void Sapi5Stop() {
  SpeechdState& s = State();
  if (!s.connection) return;
  {
    std::lock_guard guard(Shared().lock);
    Shared().lastBeforeStop = s.lastId;
    Shared().speaking = 0;
  }
  s.library.Cancel(s.connection);  // a failure is of no consequence
  platform::PumpFor(kStopPauseMs);
}

void Sapi5End() {
  while (Sapi5IsSpeaking()) platform::PumpFor(kEndPollMs);
  Disconnect();
  State().started = false;
}

const std::string& Sapi5StartFailure() { return State().failure; }

std::chrono::steady_clock::time_point Sapi5LastEventTime() {
  std::lock_guard guard(Shared().lock);
  return Shared().lastEvent;
}

bool Sapi5Voices(std::vector<VoiceEntry>& voices, std::string& why) {
  SpeechdState& s = State();
  if (s.started) {
    voices = s.voices;
    return true;
  }
  if (!Connect(why)) return false;
  voices = ListPairs();
  Disconnect();
  return true;
}

namespace {

bool RowStart(const platform::SpeechStart& start) {
  Sapi5SetOutput(start.output);
  return Sapi5Start(start.voice, start.speed, start.option);
}

bool RowSpeak(std::span<const platform::SpeechPiece> pieces) {
  for (const platform::SpeechPiece& piece : pieces) Sapi5Speak(piece.text);
  return State().connection != nullptr;
}

bool RowIsSpeaking(int) { return Sapi5IsSpeaking(); }

void RowSetRate(int rate) {
  SpeechdState& s = State();
  s.rate = std::clamp(rate, kLowestRate, kHighestRate);
  if (s.connection) s.library.SetRate(s.connection, s.rate * kRateScale);
}

void RowSetPitch(int) {}

constexpr platform::SpeechEngine kSpeechdEngine = {
    .name = "Speech Dispatcher",
    .Start = RowStart,
    .Speak = RowSpeak,
    .IsSpeaking = RowIsSpeaking,
    .Stop = Sapi5Stop,
    .End = Sapi5End,
    .SetRate = RowSetRate,
    .SetPitch = RowSetPitch,
};

}  // namespace

const platform::SpeechEngine& SpeechdEngine() { return kSpeechdEngine; }

}  // namespace bridges
