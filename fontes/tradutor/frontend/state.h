// TIRLA: the front-end's state, shared by its configuration, sound and text files.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace frontend {

constexpr size_t kClickSamples = 256;

struct FrontEndState {
  bool started = false;          // StartFrontEnd has set the defaults below
  bool engineActive = false;     // an engine was started and speaks text
  int engineType = 4;            // TIPOSAPI of the last engine start
  std::string engineOption;      // passed to the engine start; nothing here sets it
  bool enginePending = true;     // text went to the engine and may still be playing
  int speedLevel = 3;            // 1..5: the level whose tuning values are in force
  int periodPauseMs = 250;       // after a full stop
  int commaPauseMs = 150;        // after a comma or dash
  int colonPauseMs = 200;        // after a colon, semicolon or bracket
  std::string soundDirectory;    // named sounds not starting with "_"; ends with '/' when set
  std::string lettersDirectory;  // named sounds starting with "_"; ends with '/'
  bool echoTypedCharacters = true;
  bool replaceOnFirstKey = true;
  bool stopRequested = false;    // StopSpeaking was called: SpeakText ends its loop
  std::array<uint8_t, kClickSamples> click{};  // the click's samples, drawn at start-up
};

FrontEndState& State();

}  // namespace frontend
