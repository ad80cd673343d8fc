// TIRLA: the in-process bridges' texts and sound.
#include "bridges/localVoice.h"

#include <algorithm>

#include "diphone/waveout.h"

namespace bridges {

void HandLocalVoiceText(LocalVoice& voice, SynthJob job) {
  ++voice.handed;
  voice.lastText = job.text;
  QueueSynthJob(voice.worker, std::move(job));
}

SynthNews DrainLocalVoice(LocalVoice& voice) {
  if (voice.draining) return {};
  voice.draining = true;
  const SynthNews news = TakeSynthNews(voice.worker);
  const int started = std::min(news.started, voice.handed);
  voice.handed -= started;
  voice.pending += started;
  for (size_t room = AudioOutRoom(voice.out); room > 0; room = AudioOutRoom(voice.out)) {
    int rate = 0;
    if (TakeSynthSamples(voice.worker, voice.block, room, rate) == 0) break;
    // a stop request (with StopOnKey, as for all sound), or an output that takes no more,
    // ends the texts; checked per block
    if ((waveout::Flags().StopOnKey && platform::StopRequested(voice.output.stop)) ||
        !AudioOutWrite(voice.out, voice.block.data(), voice.block.size(), rate)) {
      StopLocalVoice(voice);
      break;
    }
    voice.audioPlaying = true;
  }
  voice.pending = std::max(0, voice.pending - news.done);
  if (voice.audioPlaying && !AudioOutPlaying(voice.out) && !SynthBusy(voice.worker))
    voice.audioPlaying = false;
  voice.draining = false;
  return news;
}

void StopLocalVoice(LocalVoice& voice) {
  CancelSynthJobs(voice.worker);
  AudioOutStop(voice.out);
  voice.handed = 0;
  voice.pending = 0;
  voice.audioPlaying = false;
}

}  // namespace bridges
