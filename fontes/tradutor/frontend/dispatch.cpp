// TIRLA: engine dispatch.
#include "frontend/dispatch.h"

#include "console/keyboard.h"
#include "orvia/uttsOrviaEngine.h"

namespace frontend {
namespace {

constexpr uint16_t kStartPollMs = 50;  // wait for an engine's start-up speech

// Which row serves which type; a type not listed goes to the default type's row.
struct EngineRow {
  int type;
  const platform::SpeechEngine& (*row)();
};
constexpr EngineRow kEngineRows[] = {
    {kOrviaEngineType, uttsOrvia::OrviaEngine},
};

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
  for (const EngineRow& row : kEngineRows)
    if (row.type == type) return &row.row();
  if (type == kDefaultEngineType) return nullptr;  // the default type's bridge is not built in
  return EngineRowFor(kDefaultEngineType);
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
