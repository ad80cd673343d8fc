// TIRLA: engine dispatch.
#include "frontend/dispatch.h"

#include "bridges/espeakBridge.h"
#include "bridges/rhvoiceBridge.h"
#include "bridges/speechdBridge.h"
#include "console/keyboard.h"
#include "diphone/waveout.h"
#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"

namespace frontend {
namespace {

constexpr uint16_t kStartPollMs = 50;  // wait for an engine's start-up speech

// Which row serves which type, and why its last start failed; a type not listed goes to the
// default type's row.
struct EngineRow {
  int type;
  const platform::SpeechEngine& (*row)();
  const std::string& (*failure)();  // null: the row does not tell
};
constexpr EngineRow kEngineRows[] = {
    {kOrviaEngineType, uttsOrvia::OrviaEngine, nullptr},
    {kDefaultEngineType, bridges::EspeakEngine, bridges::Sapi4StartFailure},
    {kSpeechdEngineType, bridges::SpeechdEngine, bridges::Sapi5StartFailure},
    {kRhvoiceEngineType, bridges::RhvoiceEngine, bridges::Sapi54StartFailure},
};

const EngineRow* RowOf(int type) {
  for (const EngineRow& row : kEngineRows)
    if (row.type == type) return &row;
  return type == kDefaultEngineType ? nullptr : RowOf(kDefaultEngineType);
}

struct DispatchState {
  int type = kDefaultEngineType;                  // type of the last start
  const platform::SpeechEngine* engine = nullptr;  // its row, when it exists
};

DispatchState& State() {
  static DispatchState state;
  return state;
}

bool KeyWaiting(void*) { return console::KeyWaiting(); }

}  // namespace

void StartDispatch() { State() = DispatchState{}; }

const platform::SpeechEngine* EngineRowFor(int type) {
  const EngineRow* row = RowOf(type);
  return row ? &row->row() : nullptr;
}

std::string EngineStartFailure(int type) {
  const EngineRow* row = RowOf(type);
  if (!row) return "nenhum servi\xE7o de fala atende o tipo " + std::to_string(type);
  std::string text = std::string("o servi\xE7o de fala ") + row->row().name + " n\xE3o iniciou";
  if (row->failure && !row->failure().empty()) text += ": " + row->failure();
  return text;
}

bool EngineStart(int voice, int speed, int pitch, std::string_view option, int type) {
  DispatchState& s = State();
  s.type = type;
  s.engine = EngineRowFor(type);
  if (!s.engine) return false;
  platform::SpeechStart start;
  start.voice = voice;
  start.speed = speed;
  start.pitch = pitch;
  start.option = option;
  start.output.stop = {.context = nullptr, .Requested = KeyWaiting};
  uttsOrvia::OrviaSetPlayback(waveout::EngineSink());  // ORVIA plays through the wave output
  if (!s.engine->Start(start)) return false;
  while (EngineIsSpeaking(1)) console::Pause(kStartPollMs);
  return true;
}

void EngineSpeak(std::string_view text) {
  if (const platform::SpeechEngine* engine = State().engine) platform::SpeakText(*engine, text);
}

bool EngineIsSpeaking(int flag) {
  console::PumpThreadMessages();
  const platform::SpeechEngine* engine = State().engine;
  return engine && engine->IsSpeaking(flag);
}

void EngineStop() {
  if (const platform::SpeechEngine* engine = State().engine) engine->Stop();
}

void EngineEnd() {
  if (const platform::SpeechEngine* engine = State().engine) engine->End();
}

int EngineType() { return State().type; }

}  // namespace frontend
