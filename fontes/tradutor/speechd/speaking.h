// TIRLA: one accepted message spoken: BEGIN, the audio chunks, marks and icons in playing
// order, then its one final event. While ORVIA speaks, the stop token reads the server's
// pipe without blocking, so STOP, PAUSE and a new command are heard between two blocks.
#pragma once
#include <string>
#include <vector>

#include "orvia/text/uttsSsml.h"
#include "speechd/channel.h"

namespace sdOrvia {

using uttsSsml::Piece;

// Samples per audio chunk: 128 ms, so that the server's queue stays short and STOP is read
// between two chunks.
constexpr size_t kChunkSamples = 2048;

struct Message {
  std::vector<Piece> pieces;  // what ORVIA says
  std::string iconFile;       // a sound file the server plays first; empty: none
  bool tone = false;          // the module's own tone first
  double gain = 1.0;          // the volume setting's factor
};

// How a message ended.
enum class Ending : int {
  kFinished,    // 702 END
  kStopped,     // STOP read: 703 STOP
  kPaused,      // PAUSE read, then a __spd_ mark or the end: 704 PAUSE
  kSuperseded,  // another command came first: 703 STOP, the command waits in the channel
  kInputEnded,  // the server is gone: no event
};

// Answers a command that may come while a message is spoken (LIST VOICES); set by the module.
struct WhileSpeaking {
  void* context = nullptr;
  void (*ListVoices)(void* context) = nullptr;
};

// Speaks `message` (the "200 OK SPEAKING" is already sent) and sends its final event. ORVIA
// must be started. A failure of MBROLA before any sound went out is tried once more (ORVIA
// starts a fresh MBROLA); after that it is reported and the message ends as finished.
Ending SpeakMessage(Channel& channel, const Message& message, const WhileSpeaking& hooks);

}  // namespace sdOrvia
