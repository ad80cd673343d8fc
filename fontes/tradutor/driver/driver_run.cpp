// TIRLA: the test driver's two modes.
#include <iterator>
#include <string>
#include <vector>

#include "console/braille_output.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/translator.h"
#include "driver/driver.h"
#include "frontend/editor.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "platform/messages.h"

namespace driver {
namespace {

constexpr const char* kTitle = "TIRLA";
constexpr const char* kEndLine = "fim";
constexpr int kEndPollMs = 50;            // the wait for the last line to be heard

// Messages, as the user reads and hears them (cp1252).
constexpr const char* kGreeting[] = {"Teste do sintetizador do Tolvan", "Tecle fim para terminar"};
constexpr const char* kStartFailure[] = {
    "Erro de inicializa\xE7\xE3o",
    "verifique os arquivos \\windows\\tolvan.ini, difones*.dif e difones*.ind"};

void WriteLine(const std::string& text) { console::ConsoleWrite(text + "\r\n"); }

// Reads one line with the line editor (at most 255 characters) and puts the cursor back at
// the start of its field, so the line is written over it.
std::string ReadTypedLine() {
  std::string line;
  frontend::ReadLine(line);
  console::MoveCursor(1, console::CursorRow() - 1);
  return line;
}

}  // namespace

void RunCommandLine(const std::string& command_line) {
  console::SetScreenSize({.Columns = console::ScreenSize().Columns, .Rows = 3});
  console::ClearScreen();
  console::SetWindowTitle(kTitle);
  frontend::StartSpeech(0, "");
  const std::string text = CutProgramPath(command_line);
  console::ShowBrailleText(text, -1);  // read on the display while it is heard
  frontend::WriteAndSpeak(text);
  frontend::EndSpeech();
  console::CloseConsole();
}

void RunInteractive() {
  console::SetWindowTitle(kTitle);
  // The synthesizer is tried once with its own settings, before the configuration is read.
  frontend::ConnectSynthesizer();
  if (synth::InitDiphoneSynth() != synth::kStarted) {
    std::vector<std::string> lines(std::begin(kStartFailure), std::end(kStartFailure));
    lines.push_back(synth::StartProblem());  // which file, and what is wrong with it
    frontend::TellStartFailure(lines);
    console::CloseConsole(1);
  }
  synth::CloseDiphoneSynth();
  frontend::StartSpeech(0, "");
  for (const char* line : kGreeting) WriteLine(line);
  frontend::StartSpeech(0, "");  // starting again re-reads the configuration
  // Heard as well as written, by the engine that speaks; a key silences it and stays queued.
  for (const char* line : kGreeting) frontend::SpeakText(line);

  std::string previous;
  for (;;) {
    std::string line = ReadTypedLine();
    if (line.empty()) line = previous;
    previous = line;
    if (frontend::EngineActive()) {
      frontend::WriteAndSpeakLine(line);
    } else {
      const std::string phonetic = translator::TranslateToPhonetic(line);
      WriteLine(line + phonetic);
      synth::SpeakPhonetic(phonetic, true);
    }
    if (line == kEndLine) break;
  }
  while (frontend::IsSpeaking()) platform::WaitMessages(kEndPollMs);
  frontend::EndSpeech();
  console::CloseConsole();
}

}  // namespace driver
