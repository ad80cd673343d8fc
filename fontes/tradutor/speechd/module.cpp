// TIRLA: the output module's commands and main loop.
#include "speechd/module.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/text.h"
#include "speechd/icons.h"
#include "speechd/moduleConfig.h"
#include "speechd/moduleLog.h"
#include "speechd/orviaVoice.h"
#include "speechd/saying.h"
#include "speechd/speaking.h"
#include "speechd/voiceSettings.h"

namespace sdOrvia {
namespace {

constexpr size_t kLongestSettings = 64u << 10;   // bytes of a SET, AUDIO or LOGLEVEL block

struct ModuleState {
  Channel& channel;
  ModuleConfig config;
  VoiceSettings settings;
  int logLevel = 3;          // the configured level, which the server's LOGLEVEL may raise
  bool quit = false;
};

void SendVoiceList(void* context) {
  ModuleState& m = *static_cast<ModuleState*>(context);
  std::vector<std::string> lines;
  for (const ListedVoice& voice : VoiceNames(m.config))
    lines.push_back(voice.name + "\t" + std::string(kVoiceLanguage) + "\t" + voice.voiceType);
  if (lines.empty()) SendReply(m.channel, 304, "CANT LIST VOICES");
  else SendReply(m.channel, 200, lines, "OK VOICE LIST SENT");
}

// Reads a block after its first reply; false when the input ended.
bool Block(ModuleState& m, int code, std::string_view reply, std::vector<std::string>& lines,
           size_t limit, bool& tooLong) {
  SendReply(m.channel, code, reply);
  return ReadBlock(m.channel, lines, limit, tooLong);
}

// Speaks a message accepted after its block; "200 OK SPEAKING" first, then the events.
void Speak(ModuleState& m, const Message& message) {
  if (!VoiceSet(m.config, m.settings)) {
    SendReply(m.channel, 301, "ERROR CANT SPEAK");
    return;
  }
  SendReply(m.channel, 200, "OK SPEAKING");
  Message withVolume = message;
  withVolume.gain = GainFor(m.settings.volume);
  if (SpeakMessage(m.channel, withVolume, {&m, SendVoiceList}) == Ending::kInputEnded)
    m.quit = true;
}

// SPEAK, CHAR, KEY, SOUND_ICON: the block, then the message or 301/305.
using MessageMaker = Message (*)(const ModuleState& m, const std::string& text);

void MessageCommand(ModuleState& m, bool oneLine, MessageMaker make) {
  std::vector<std::string> lines;
  bool tooLong = false;
  if (!Block(m, 202, "OK RECEIVING MESSAGE", lines, kLongestMessage, tooLong)) return;
  if (oneLine && lines.size() > 1) {
    SendReply(m.channel, 305, "DATA MORE THAN ONE LINE");
    return;
  }
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  Log(kLogEverything, "texto: " + text.substr(0, 400));
  const Message message = tooLong ? Message{} : make(m, text);
  if (tooLong) Log(kLogErrors, "mensagem longa demais; passa de 8 MB");
  if (message.pieces.empty() && message.iconFile.empty() && !message.tone) {
    SendReply(m.channel, 301, "ERROR CANT SPEAK");
    return;
  }
  Speak(m, message);
}

bool HasWords(const std::vector<Piece>& pieces) {
  for (const Piece& piece : pieces)
    for (unsigned char c : piece.text)
      if (c > ' ') return true;
  return false;
}

Message SpeakText(const ModuleState& m, const std::string& text) {
  Message message{SpeakPieces(text, m.settings)};
  if (!HasWords(message.pieces)) message.pieces.clear();
  return message;
}

Message CharText(const ModuleState& m, const std::string& text) {
  return {CharPieces(text, m.settings)};
}

Message KeyText(const ModuleState& m, const std::string& text) {
  return {KeyPieces(text, m.settings)};
}

Message IconText(const ModuleState&, const std::string& name) {
  Message message;
  message.iconFile = IconFile(kIconFolder, name);
  message.tone = message.iconFile.empty();
  return message;
}

void Init(ModuleState& m, std::string_view) {
  std::string problem;
  if (VoiceInit(m.config, problem)) {
    SendReply(m.channel, 299, {"ORVIA: iniciado com a voz " + RunningVoice()},
              "OK LOADED SUCCESSFULLY");
    return;
  }
  SendReply(m.channel, 399, {problem}, "ERR CANT INIT MODULE");
  m.quit = true;
}

void Audio(ModuleState& m, std::string_view) {
  std::vector<std::string> lines;
  bool tooLong = false;
  if (!Block(m, 207, "OK RECEIVING AUDIO SETTINGS", lines, kLongestSettings, tooLong)) return;
  for (const std::string& line : lines)
    if (line == "audio_output_method=server") {
      SendReply(m.channel, 203, "OK AUDIO INITIALIZED");
      return;
    }
  // The module has no sound device of its own: the server plays what it sends.
  SendReply(m.channel, 303, "ERROR INVALID PARAMETER OR VALUE");
}

void LogLevel(ModuleState& m, std::string_view) {
  std::vector<std::string> lines;
  bool tooLong = false;
  if (!Block(m, 207, "OK RECEIVING LOGLEVEL SETTINGS", lines, kLongestSettings, tooLong)) return;
  constexpr std::string_view kName = "log_level=";
  for (const std::string& line : lines)
    if (line.starts_with(kName))
      if (const auto level = platform::ParseInt(line.substr(kName.size()), platform::kSpaceTab))
        SetLogLevel(std::max(m.logLevel, *level));
  SendReply(m.channel, 203, "OK LOGLEVEL SET");
}

void Set(ModuleState& m, std::string_view) {
  std::vector<std::string> lines;
  bool tooLong = false;
  if (!Block(m, 203, "OK RECEIVING SETTINGS", lines, kLongestSettings, tooLong)) return;
  std::string problem = "bloco longo demais";
  const SetResult result =
      tooLong ? SetResult::kBadValue : ApplySettings(m.settings, lines, problem);
  if (result == SetResult::kOk) {
    SendReply(m.channel, 203, "OK SETTINGS RECEIVED");
    return;
  }
  Log(kLogWarnings, "SET recusado: " + problem);
  if (result == SetResult::kBadSyntax) SendReply(m.channel, 302, "ERROR BAD SYNTAX");
  else SendReply(m.channel, 303, "ERROR INVALID PARAMETER OR VALUE");
}

// "DEBUG ON <file> ": everything goes to that file too, until "DEBUG OFF ".
void Debug(ModuleState& m, std::string_view line) {
  constexpr std::string_view kOn = "DEBUG ON ";
  if (!line.starts_with(kOn)) {
    StopDebugLog();
    SendReply(m.channel, 200, "OK DEBUGGING OFF");
    return;
  }
  const std::string path(platform::Trim(line.substr(kOn.size()), platform::kSpaceTab));
  if (path.empty() || !StartDebugLog(path)) {
    Log(kLogWarnings, "o arquivo de depuração \"" + path + "\" não pôde ser aberto");
    SendReply(m.channel, 303, "CANT OPEN CUSTOM DEBUG FILE");
    return;
  }
  SendReply(m.channel, 200, "OK DEBUGGING ON");
}

void Quit(ModuleState& m, std::string_view) {
  SendReply(m.channel, 210, "OK QUIT");
  m.quit = true;
}

struct Command {
  std::string_view name;
  bool prefix;  // the line only starts with the name (it carries arguments)
  void (*Run)(ModuleState& m, std::string_view line);
};

// STOP and PAUSE with nothing spoken are answered by nothing: they may race with an END.
constexpr Command kCommands[] = {
    {"INIT", false, Init},
    {"AUDIO", false, Audio},
    {"LOGLEVEL", false, LogLevel},
    {"SET", false, Set},
    {"SPEAK", false, [](ModuleState& m, std::string_view) { MessageCommand(m, false, SpeakText); }},
    {"CHAR", false, [](ModuleState& m, std::string_view) { MessageCommand(m, true, CharText); }},
    {"KEY", false, [](ModuleState& m, std::string_view) { MessageCommand(m, true, KeyText); }},
    {"SOUND_ICON", false,
     [](ModuleState& m, std::string_view) { MessageCommand(m, true, IconText); }},
    {"STOP", false, [](ModuleState&, std::string_view) {}},
    {"PAUSE", false, [](ModuleState&, std::string_view) {}},
    {"LIST VOICES", false, [](ModuleState& m, std::string_view) { SendVoiceList(&m); }},
    {"DEBUG ", true, Debug},
    {"QUIT", false, Quit},
};

void Serve(ModuleState& m, std::string_view line) {
  Log(kLogExchange, "<- " + std::string(line.substr(0, 200)));
  for (const Command& command : kCommands)
    if (command.prefix ? line.starts_with(command.name) : line == command.name) {
      command.Run(m, line);
      return;
    }
  Log(kLogWarnings, "comando desconhecido: " + std::string(line.substr(0, 80)));
  SendReply(m.channel, 300, "ERR UNKNOWN COMMAND");
}

}  // namespace

int RunModule(Channel& channel, const std::string& configPath) {
  ModuleState m{channel, ReadModuleConfig(configPath)};
  m.logLevel = ModuleLogLevel(m.config, configPath);
  SetLogLevel(m.logLevel);
  if (!m.config.debugFile.empty() && !StartDebugLog(m.config.debugFile))
    Log(kLogWarnings, "o arquivo de depuração \"" + m.config.debugFile + "\" não pôde ser aberto");
  for (const std::string& note : m.config.notes) Log(kLogWarnings, note);
  std::string line;
  while (!m.quit && !channel.broken && NextLine(channel, line, true)) Serve(m, line);
  VoiceClose();
  return 0;
}

}  // namespace sdOrvia
