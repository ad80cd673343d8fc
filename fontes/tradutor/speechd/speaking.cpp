// TIRLA: speaking one message through ORVIA into audio events.
#include "speechd/speaking.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "platform/speech.h"
#include "speechd/events.h"
#include "speechd/icons.h"
#include "speechd/moduleLog.h"
#include "speechd/orviaVoice.h"

namespace sdOrvia {
namespace {

constexpr std::string_view kServerMarkPrefix = "__spd_";  // where a pause may fall

// One message on its way out.
struct Run {
  Channel& channel;
  const WhileSpeaking& hooks;
  double gain = 1.0;
  Ending ending = Ending::kFinished;
  bool ended = false;        // `ending` is decided: nothing more goes out
  bool pauseAsked = false;   // PAUSE read: stop at the next server mark
  bool soundSent = false;    // an audio chunk went out
  std::vector<int16_t> scaled;
};

void End(Run& run, Ending ending) {
  if (run.ended) return;
  run.ending = ending;
  run.ended = true;
}

// The stop token: reads what the server sent meanwhile. STOP ends the message, PAUSE waits for
// the next server mark, LIST VOICES is answered at once; any other command ends the message
// and is left for the main loop.
bool StopRequested(void* context) {
  Run& run = *static_cast<Run*>(context);
  std::string line;
  while (!run.ended && PeekLine(run.channel, line)) {
    Log(kLogExchange, "<- " + line.substr(0, 200) + " (durante a fala)");
    if (line == "STOP") {
      End(run, Ending::kStopped);
    } else if (line == "PAUSE") {
      run.pauseAsked = true;
    } else if (line == "LIST VOICES" && run.hooks.ListVoices) {
      NextLine(run.channel, line, false);
      run.hooks.ListVoices(run.hooks.context);
      continue;
    } else {
      End(run, Ending::kSuperseded);
      return true;
    }
    NextLine(run.channel, line, false);
  }
  if (run.channel.ended && !run.ended) End(run, Ending::kInputEnded);
  return run.ended;
}

void SendSamples(Run& run, const int16_t* samples, size_t count, int rate) {
  for (size_t at = 0; at < count && !StopRequested(&run); at += kChunkSamples) {
    const size_t n = std::min(kChunkSamples, count - at);
    run.scaled.resize(n);
    std::transform(samples + at, samples + at + n, run.scaled.begin(), [&](int16_t s) {
      return static_cast<int16_t>(s * run.gain);
    });
    if (!SendAudio(run.channel, run.scaled.data(), n, rate)) End(run, Ending::kInputEnded);
    run.soundSent = true;
  }
}

bool TakeSamples(void* context, const int16_t* samples, size_t count, int rate) {
  SendSamples(*static_cast<Run*>(context), samples, count, rate);
  return true;  // what a stop drops is not a failure
}

void MarkReached(void* context, std::string_view name) {
  Run& run = *static_cast<Run*>(context);
  if (run.ended) return;
  if (!SendMark(run.channel, name)) End(run, Ending::kInputEnded);
  if (run.pauseAsked && name.starts_with(kServerMarkPrefix)) End(run, Ending::kPaused);
}

void SendTone(Run& run) {
  const std::vector<int16_t> tone = Tone(VoiceRate());
  SendSamples(run, tone.data(), tone.size(), VoiceRate());
}

// Speaks pieces [from, to): their sound, marks and stop go through this message's run.
void SpeakPieces(Run& run, const std::vector<platform::SpeechPiece>& all, size_t from, size_t to) {
  VoiceSpeak(std::span<const platform::SpeechPiece>(all.data() + from, to - from),
             {.sink = {.context = &run, .Samples = TakeSamples},
              .stop = {.context = &run, .Requested = StopRequested},
              .context = &run,
              .Mark = MarkReached},
             run.soundSent);
}

void SpeakAll(Run& run, const Message& message) {
  if (!message.iconFile.empty() && !SendIcon(run.channel, message.iconFile))
    End(run, Ending::kInputEnded);
  if (message.tone) SendTone(run);
  std::vector<platform::SpeechPiece> pieces;
  for (const Piece& piece : message.pieces) pieces.push_back({piece.text, piece.mark});
  // a tone before a piece splits the text there
  size_t from = 0;
  for (size_t i = 0; i <= pieces.size() && !StopRequested(&run); ++i) {
    if (i < pieces.size() && !message.pieces[i].toneBefore) continue;
    if (i > from) SpeakPieces(run, pieces, from, i);
    if (i < pieces.size() && !StopRequested(&run)) SendTone(run);
    from = i;
  }
}

constexpr Event kFinalEvents[] = {Event::kEnd, Event::kStopped, Event::kPaused, Event::kStopped};

}  // namespace

Ending SpeakMessage(Channel& channel, const Message& message, const WhileSpeaking& hooks) {
  Run run{channel, hooks};
  run.gain = std::clamp(message.gain, 0.0, 1.0);
  if (SendEvent(channel, Event::kBegin)) SpeakAll(run, message);
  else End(run, Ending::kInputEnded);
  if (!run.ended) End(run, run.pauseAsked ? Ending::kPaused : Ending::kFinished);
  if (run.ending != Ending::kInputEnded)
    SendEvent(channel, kFinalEvents[static_cast<int>(run.ending)]);
  return run.ending;
}

}  // namespace sdOrvia
