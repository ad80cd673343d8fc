// TIRLA: a speech library run on a thread of its own, so that speaking returns at once. Texts
// queue here; the thread makes their samples; the main thread takes them as fast as the sound
// device has room. The thread touches only what the lock guards, and posts a message to wake
// the main thread.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace bridges {

// Messages the in-process bridges post to have their samples taken on the main thread; each
// bridge has its own, so that both can run side by side.
inline constexpr int kEspeakSamplesMessage = 2981;
inline constexpr int kRhvoiceSamplesMessage = 2982;

// One text and the library's settings for it.
struct SynthJob {
  std::string text;  // UTF-8
  int rate = 0;      // the library's own values; what 0 means is the library's business
  int pitch = 0;
};

// What the main thread learns at one look.
struct SynthNews {
  int started = 0;  // texts the library began
  int done = 0;     // texts it finished
  int failed = 0;   // texts the library refused
};

// Makes the samples of one job on the worker thread, handing them to SynthSamples; false when
// the library refused the text.
using SynthesizeFunction = bool (*)(const SynthJob& job);

struct SynthWorker {
  std::mutex lock;
  std::condition_variable changed;  // a job, a stop, room for samples, the end
  std::deque<SynthJob> jobs;        // waiting for the thread
  std::deque<int16_t> samples;      // made and not yet taken
  int rate = 0;                     // of `samples`
  uint64_t generation = 0;          // raised by every stop: older work is dropped
  bool running = false;             // the thread is inside the library
  uint64_t jobGeneration = 0;       // the generation of the running job
  bool textStarted = false;         // the running job has told its start
  bool textDone = false;            // and its end
  bool quit = false;
  SynthNews news;                   // since the main thread last looked
  int message = 0;                  // posted to wake the main thread
  SynthesizeFunction synthesize = nullptr;
  std::thread thread;
};

// Starts the thread; `message` is posted whenever there is something to take.
void StartSynthWorker(SynthWorker& worker, SynthesizeFunction synthesize, int message);

// Drops everything and ends the thread (a running job stops at its next block). Safe when
// the thread never started.
void EndSynthWorker(SynthWorker& worker);

// Queues a text; returns at once.
void QueueSynthJob(SynthWorker& worker, SynthJob job);

// Drops the jobs and samples waiting; the running job stops at its next block and its news
// is not told.
void CancelSynthJobs(SynthWorker& worker);

// Worker thread, from the library's callbacks: samples of the running job (false: stop the
// job), and the library's word that its text began or ended.
bool SynthSamples(SynthWorker& worker, const int16_t* samples, size_t count, int rate);
void SynthTextStarted(SynthWorker& worker);
void SynthTextDone(SynthWorker& worker);

// Main thread: the news since the last look.
SynthNews TakeSynthNews(SynthWorker& worker);

// Main thread: moves up to `most` samples into `into` (replacing its contents); their rate goes
// to `rate`. The count moved.
size_t TakeSynthSamples(SynthWorker& worker, std::vector<int16_t>& into, size_t most, int& rate);

// Whether a text is waiting or being made, or samples wait to be taken.
bool SynthBusy(SynthWorker& worker);

}  // namespace bridges
