// TIRLA: compaction of mono speech: of each two pitch periods only the second is kept.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "diphone/waveout.h"

namespace waveout {
namespace {

constexpr size_t kShortestCompacted = 1000;  // fewer samples are left alone
constexpr int kNearSilence = 20;             // distance from 128 that ends a cut

// Search window, in samples, for the pitch peaks.
struct PeakWindow {
  size_t start;  // where the first peak is looked for
  size_t gap;    // at least this far to the next peak
  size_t width;  // and within this many samples after the gap
};

constexpr PeakWindow kWindow11025 = {200, 80, 50};
constexpr PeakWindow kWindowOther = {800, 320, 200};

// Position of the first largest sample in from..to (inclusive, cut to the count); `fallback`
// when all are 0.
size_t FirstLargest(const uint8_t* bytes, size_t from, size_t to, size_t count,
                    size_t fallback) {
  size_t at = fallback;
  uint8_t best = 0;
  for (size_t i = from; i <= to && i < count; ++i) {
    if (bytes[i] > best) {
      best = bytes[i];
      at = i;
    }
  }
  return at;
}

}  // namespace

size_t CompactSpeech(uint8_t* bytes, size_t n, int bits, int rate) {
  size_t count = n;
  if (bits == 16) {
    count = n / 2;
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(bytes[2 * i + 1] + 128);
  }
  if (count < kShortestCompacted) return count;
  const PeakWindow w = rate == 11025 ? kWindow11025 : kWindowOther;
  const size_t span = w.gap + w.width;
  size_t p = FirstLargest(bytes, w.start, w.start + span, count, std::min(w.start, count - 1));
  size_t write = p;
  while (count > 2 * span && p < count - 2 * span) {
    size_t a = FirstLargest(bytes, p + w.gap, p + w.gap + w.width, count, p);
    size_t b = FirstLargest(bytes, a + w.gap, a + w.gap + w.width, count, a);
    if (b == p) {
      // No peak at all (every sample 0): keep the stretch as it is and move on, or the
      // search would stand still for ever.
      a = p + 1;
      b = p + span;
    }
    std::memmove(bytes + write, bytes + a, b - a + 1);
    write += b - a + 1;
    p = b;
  }
  while (write < count && p < count && std::abs(bytes[write] - 128) > kNearSilence)
    bytes[write++] = bytes[p++];
  return write;
}

}  // namespace waveout
