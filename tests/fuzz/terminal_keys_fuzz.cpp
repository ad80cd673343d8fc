// TIRLA fuzz target: what a terminal sends, through the terminal backend's key decoder. The
// first byte chooses the kitty protocol (bit 0) and 8-bit input (bit 1); the rest is fed byte
// by byte, a zero byte after a zero byte standing for a pause (Flush). After the last Flush
// nothing may be left waiting, and every event must be one a key makes.
#include <cstdlib>

#include "fuzz_support.h"
#include "platform/keys.h"
#include "platform/terminal/video_terminal_keys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  platform::terminal::KeyDecoder decoder;
  decoder.SetKitty(data[0] & 1);
  decoder.SetUtf8(!(data[0] & 2));
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && i + 1 < size && data[i + 1] == 0) {
      decoder.Flush();
      ++i;
      continue;
    }
    decoder.FeedByte(data[i]);
  }
  decoder.Flush();
  if (decoder.PendingWaitMs() != 0) std::abort();
  for (const platform::terminal::TerminalInput& input : decoder.Output()) {
    using platform::EventKind;
    const EventKind kind = input.event.kind;
    if (kind != EventKind::kKeyDown && kind != EventKind::kKeyUp && kind != EventKind::kChar &&
        kind != EventKind::kNone)
      std::abort();
    constexpr unsigned kKnownModifiers =
        platform::kModShift | platform::kModCtrl | platform::kModAlt | platform::kModStandIn;
    if (input.event.modifiers & ~kKnownModifiers) std::abort();
    if (kind == EventKind::kChar && input.event.ch == 0) std::abort();
    if (kind != EventKind::kNone && !input.paste.empty()) std::abort();
  }
  return 0;
}
