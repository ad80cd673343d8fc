// TIRLA: the synthesis thread of the in-process bridges.
#include "bridges/synthWorker.h"

#include <chrono>

#include "platform/messages.h"

namespace bridges {
namespace {

constexpr auto kWakeEvery = std::chrono::milliseconds(20);  // while samples wait to be taken
constexpr int kSecondsAhead = 10;  // samples made ahead of the sound device, at most

void Wake(const SynthWorker& worker) { platform::PostMessage(worker.message); }

// These run with the lock held; a job left at a stop tells nothing.
void TellStarted(SynthWorker& worker) {
  if (worker.textStarted || worker.jobGeneration != worker.generation) return;
  worker.textStarted = true;
  ++worker.news.started;
}

void TellDone(SynthWorker& worker) {
  if (worker.textDone || worker.jobGeneration != worker.generation) return;
  TellStarted(worker);
  worker.textDone = true;
  ++worker.news.done;
}

void Run(SynthWorker& worker) {
  std::unique_lock guard(worker.lock);
  while (!worker.quit) {
    if (!worker.jobs.empty()) {
      const SynthJob job = std::move(worker.jobs.front());
      worker.jobs.pop_front();
      worker.jobGeneration = worker.generation;
      worker.running = true;
      worker.textStarted = false;
      worker.textDone = false;
      guard.unlock();
      const bool made = worker.synthesize(job);
      guard.lock();
      worker.running = false;
      if (!made && worker.jobGeneration == worker.generation) ++worker.news.failed;
      TellDone(worker);  // also when the library said nothing
      Wake(worker);
      continue;
    }
    if (worker.samples.empty()) {
      worker.changed.wait(guard);
    } else {
      // the main thread takes samples when the device has room; remind it until it has
      worker.changed.wait_for(guard, kWakeEvery);
      if (!worker.samples.empty()) Wake(worker);
    }
  }
}

}  // namespace

void StartSynthWorker(SynthWorker& worker, SynthesizeFunction synthesize, int message) {
  EndSynthWorker(worker);
  std::lock_guard guard(worker.lock);
  worker.quit = false;
  worker.synthesize = synthesize;
  worker.message = message;
  worker.news = {};
  worker.thread = std::thread(Run, std::ref(worker));
}

void EndSynthWorker(SynthWorker& worker) {
  {
    std::lock_guard guard(worker.lock);
    worker.quit = true;
    ++worker.generation;
    worker.jobs.clear();
    worker.samples.clear();
  }
  worker.changed.notify_all();
  if (worker.thread.joinable()) worker.thread.join();
}

void QueueSynthJob(SynthWorker& worker, SynthJob job) {
  {
    std::lock_guard guard(worker.lock);
    worker.jobs.push_back(std::move(job));
  }
  worker.changed.notify_all();
}

void CancelSynthJobs(SynthWorker& worker) {
  {
    std::lock_guard guard(worker.lock);
    ++worker.generation;
    worker.jobs.clear();
    worker.samples.clear();
    worker.news = {};
  }
  worker.changed.notify_all();
}

bool SynthSamples(SynthWorker& worker, const int16_t* samples, size_t count, int rate) {
  std::unique_lock guard(worker.lock);
  const auto stale = [&] { return worker.quit || worker.jobGeneration != worker.generation; };
  if (count == 0) return true;
  if (!worker.samples.empty() && rate != worker.rate) {
    // a new rate waits until the old samples are taken
    while (!worker.samples.empty() && !stale()) {
      Wake(worker);
      worker.changed.wait_for(guard, kWakeEvery);
    }
  }
  while (!stale() && worker.samples.size() > static_cast<size_t>(rate) * kSecondsAhead) {
    Wake(worker);
    worker.changed.wait_for(guard, kWakeEvery);
  }
  if (stale()) return false;
  TellStarted(worker);
  const bool first = worker.samples.empty();
  worker.rate = rate;
  worker.samples.insert(worker.samples.end(), samples, samples + count);
  if (first) Wake(worker);
  return true;
}

void SynthTextStarted(SynthWorker& worker) {
  std::lock_guard guard(worker.lock);
  if (worker.running) TellStarted(worker);
  Wake(worker);
}

void SynthTextDone(SynthWorker& worker) {
  std::lock_guard guard(worker.lock);
  if (worker.running) TellDone(worker);
  Wake(worker);
}

SynthNews TakeSynthNews(SynthWorker& worker) {
  std::lock_guard guard(worker.lock);
  const SynthNews news = worker.news;
  worker.news = {};
  return news;
}

size_t TakeSynthSamples(SynthWorker& worker, std::vector<int16_t>& into, size_t most, int& rate) {
  size_t n = 0;
  {
    std::lock_guard guard(worker.lock);
    n = std::min(most, worker.samples.size());
    into.assign(worker.samples.begin(), worker.samples.begin() + static_cast<long>(n));
    worker.samples.erase(worker.samples.begin(), worker.samples.begin() + static_cast<long>(n));
    rate = worker.rate;
  }
  if (n > 0) worker.changed.notify_all();  // room for the thread again
  return n;
}

bool SynthBusy(SynthWorker& worker) {
  std::lock_guard guard(worker.lock);
  return !worker.jobs.empty() || worker.running || !worker.samples.empty();
}

}  // namespace bridges
