// TIRLA: the Speech Dispatcher bridge.
#include "bridges/speechdBridge.h"

#include <libspeechd.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "bridges/audioOut.h"
#include "bridges/library.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"

namespace bridges {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kIsSpeakingWaitMs = 20;  // the longest is-speaking waits for the end
constexpr int kStopPauseMs = 50;
constexpr int kEndPollMs = 300;
constexpr auto kWatchEvery = std::chrono::milliseconds(100);  // is the service still there?
constexpr auto kEndGrace = std::chrono::seconds(2);  // for the command thread to finish
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

// What the bridge asks of the service, in order, on its command thread.
struct Command {
  enum Kind { kSay, kCancel, kRate } kind;
  std::string text;         // kSay: UTF-8
  int value = 0;            // kRate: the service's rate
  uint64_t generation = 0;  // kSay: a stop since makes it void
};

// What the main thread, the command thread and the library's event thread share.
struct Shared {
  std::mutex lock;
  std::condition_variable changed;  // a command, an end, a stop, the end of the thread
  std::deque<Command> commands;
  int queuedTexts = 0;         // kSay commands waiting
  bool sending = false;        // a text of this generation is on its way to the service
  std::set<int> speaking;      // texts the service accepted and has not ended
  std::set<int> endedEarly;    // ends that came before the acceptance was noted
  uint64_t generation = 0;     // raised by every stop
  int refused = 0;             // texts the service did not take, not yet told
  bool lost = false;           // the connection died
  bool quit = false;
  bool threadDone = true;      // the command thread has left
  Clock::time_point lastEvent;  // when the service last told an end
};

struct SpeechdState {
  SpeechdLibrary library;
  SPDConnection* connection = nullptr;  // the command thread's while it runs
  platform::SpeechOutput output;        // the start's stop token
  std::string failure;                  // why the last start failed
  std::vector<VoiceEntry> voices;       // as numbered, from the last start
  VoiceEntry chosen;                    // the pair in use
  std::atomic<int> rate = 0;            // −10..10; the command thread reads it to reconnect
  bool started = false;                 // a start succeeded and no end came since
  bool toldLost = false;                // the lost connection was reported
  std::thread thread;
};

// Neither is ever destroyed: the library's event thread, or a command thread the service
// holds up, may still reach them while the program ends.
SpeechdState& State() {
  static SpeechdState* state = new SpeechdState;
  return *state;
}
Shared& Share() {
  static Shared* shared = new Shared;
  return *shared;
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

// The library's event thread: a text ended or was cancelled.
void OnEvent(size_t id, size_t, SPDNotificationType) {
  Shared& e = Share();
  {
    std::lock_guard guard(e.lock);
    if (e.speaking.erase(static_cast<int>(id)) == 0) e.endedEarly.insert(static_cast<int>(id));
    e.lastEvent = Clock::now();
  }
  e.changed.notify_all();
  platform::PostMessage(platform::kWakeUpEngine);
}

// Whether the service closed its end of the connection.
bool ConnectionLost() {
  const SPDConnection* c = State().connection;
  if (!c) return true;
  pollfd watch{.fd = c->socket, .events = POLLRDHUP, .revents = 0};
  return poll(&watch, 1, 0) > 0 && (watch.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

// Forgets every text the service held: after a stop, or with a new connection (whose texts
// may be numbered from 1 again). Runs with the lock held.
void ForgetTexts(Shared& e) {
  e.speaking.clear();
  e.endedEarly.clear();
}

void Disconnect() {
  SpeechdState& s = State();
  if (s.connection) s.library.Close(s.connection);
  s.connection = nullptr;
  std::lock_guard guard(Share().lock);
  ForgetTexts(Share());
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

// Command thread: one text; the connection is made again when it was lost.
void Say(const Command& command) {
  SpeechdState& s = State();
  Shared& e = Share();
  std::string why;
  const bool connected = (s.connection && !ConnectionLost()) || (Connect(why) && Select());
  const int id = connected ? s.library.Say(s.connection, SPD_MESSAGE, command.text.c_str()) : -1;
  std::lock_guard guard(e.lock);
  e.sending = false;
  if (id < 0) {
    ++e.refused;
    e.lost = true;
    return;
  }
  e.lost = false;
  if (command.generation != e.generation) return;  // stopped meanwhile: the cancel follows
  if (e.endedEarly.erase(id) == 0) e.speaking.insert(id);
  e.endedEarly.erase(e.endedEarly.begin(), e.endedEarly.upper_bound(id));  // older ones are stale
}

// Command thread: the bridge's commands, in order; between them, a look at the connection.
void RunCommands() {
  SpeechdState& s = State();
  Shared& e = Share();
  std::unique_lock guard(e.lock);
  while (!e.quit) {
    if (e.commands.empty()) {
      e.changed.wait_for(guard, kWatchEvery);
      if (e.commands.empty() && !e.speaking.empty() && ConnectionLost()) {
        ForgetTexts(e);  // their ends will never come
        e.lost = true;
        platform::PostMessage(platform::kWakeUpEngine);
      }
      continue;
    }
    const Command command = std::move(e.commands.front());
    e.commands.pop_front();
    if (command.kind == Command::kSay) {
      --e.queuedTexts;
      e.sending = command.generation == e.generation;
    }
    guard.unlock();
    // priority "message": texts queue in order (those of priority "text" would cut each
    // other off); a failed cancel or rate is of no consequence
    if (command.kind == Command::kSay)
      Say(command);
    else if (s.connection && command.kind == Command::kCancel)
      s.library.Cancel(s.connection);
    else if (s.connection)
      s.library.SetRate(s.connection, command.value);
    platform::PostMessage(platform::kWakeUpEngine);
    e.changed.notify_all();
    guard.lock();
  }
  e.threadDone = true;
  e.changed.notify_all();
}

void Send(Command command) {
  Shared& e = Share();
  {
    std::lock_guard guard(e.lock);
    command.generation = e.generation;
    if (command.kind == Command::kSay) ++e.queuedTexts;
    e.commands.push_back(std::move(command));
  }
  e.changed.notify_all();
}

void StartCommands() {
  Shared& e = Share();
  {
    std::lock_guard guard(e.lock);
    e.quit = false;
    e.threadDone = false;
    e.commands.clear();
    e.queuedTexts = 0;
    e.sending = false;
    e.refused = 0;
    e.lost = false;
  }
  State().thread = std::thread(RunCommands);
}

// Ends the command thread; one the service holds up is left behind (the program goes on).
// Then disconnects, unless that thread still uses the connection.
void EndCommands() {
  SpeechdState& s = State();
  Shared& e = Share();
  bool done = true;
  if (s.thread.joinable()) {
    std::unique_lock guard(e.lock);
    e.quit = true;
    e.commands.clear();
    e.queuedTexts = 0;
    e.changed.notify_all();
    done = e.changed.wait_for(guard, kEndGrace, [&] { return e.threadDone; });
    guard.unlock();
    if (done)
      s.thread.join();
    else
      s.thread.detach();
  }
  if (done) Disconnect();
  else s.connection = nullptr;
}

// Texts handed over and not ended; the lock is held.
bool Speaking(const Shared& e) { return e.queuedTexts > 0 || e.sending || !e.speaking.empty(); }

// Tells, on the main thread, what went wrong on the others: a lost service once, a refused
// text with a beep.
void TellTrouble() {
  SpeechdState& s = State();
  Shared& e = Share();
  bool lost, refused;
  {
    std::lock_guard guard(e.lock);
    lost = e.lost;
    refused = e.refused > 0;
    e.refused = 0;
  }
  if (lost && !s.toldLost)
    platform::Report(platform::Severity::kError, "o Speech Dispatcher parou de responder.");
  s.toldLost = lost;
  if (refused) PlayWarningBeep();
}

bool Fail(std::string why) {
  Disconnect();
  State().started = false;
  State().failure = std::move(why);
  return false;
}

}  // namespace

void StartSpeechdBridge() {
  EndCommands();
  SpeechdState& s = State();
  s.output = {};
  s.failure.clear();
  s.voices.clear();
  s.rate = 0;
  s.started = false;
  s.toldLost = false;
}

void Sapi5SetOutput(const platform::SpeechOutput& output) { State().output = output; }

bool Sapi5Start(int voice, int rate, std::string_view outputFile) {
  SpeechdState& s = State();
  EndCommands();
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
                       "a voz " + std::to_string(voice) +
                           " do Speech Dispatcher n\xE3o existe (h\xE1 " +
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
  StartCommands();
  return true;
}

void Sapi5Speak(std::string_view text) {
  if (!State().started) return;
  Send({.kind = Command::kSay, .text = SpeakableUtf8(text.empty() ? " " : text)});
  TellTrouble();
}

bool Sapi5IsSpeaking() {
  SpeechdState& s = State();
  if (!s.started) return false;
  TellTrouble();
  if (platform::StopRequested(s.output.stop)) {
    Sapi5Stop();
    return false;
  }
  Shared& e = Share();
  bool ended;
  {
    std::unique_lock guard(e.lock);
    ended = e.changed.wait_for(guard, std::chrono::milliseconds(kIsSpeakingWaitMs),
                               [&] { return !Speaking(e); });
  }
  TellTrouble();  // what ended it may have been a refusal
  if (!ended) platform::PostMessage(platform::kWakeUpEngine);
  return !ended;
}

void Sapi5Stop() {
  if (!State().started) return;
  Shared& e = Share();
  {
    std::lock_guard guard(e.lock);
    ++e.generation;
    e.commands.clear();
    e.queuedTexts = 0;
    e.sending = false;
    ForgetTexts(e);
  }
  Send({.kind = Command::kCancel});
  platform::PumpFor(kStopPauseMs);
}

void Sapi5End() {
  while (Sapi5IsSpeaking()) platform::PumpFor(kEndPollMs);
  EndCommands();
  State().started = false;
}

const std::string& Sapi5StartFailure() { return State().failure; }

Clock::time_point Sapi5LastEventTime() {
  std::lock_guard guard(Share().lock);
  return Share().lastEvent;
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
  return State().started;
}

bool RowIsSpeaking(int) { return Sapi5IsSpeaking(); }

void RowSetRate(int rate) {
  SpeechdState& s = State();
  s.rate = std::clamp(rate, kLowestRate, kHighestRate);
  if (s.started) Send({.kind = Command::kRate, .value = s.rate * kRateScale});
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
