// TIRLA: event lines and audio chunks in the protocol's form.
#include "speechd/events.h"

#include <bit>

#include "speechd/moduleLog.h"

namespace sdOrvia {
namespace {

constexpr char kEscape = 0x7D;
constexpr char kEscapeFlip = 0x20;  // an escaped byte is sent XOR this

struct EventText {
  int code;
  const char* text;
};

// By Event.
constexpr EventText kEvents[] = {
    {701, "BEGIN"},
    {702, "END"},
    {703, "STOP"},
    {704, "PAUSE"},
};

constexpr bool kBigEndian = std::endian::native == std::endian::big;

}  // namespace

bool SendEvent(Channel& channel, Event event) {
  const EventText& e = kEvents[static_cast<int>(event)];
  return SendReply(channel, e.code, e.text);
}

bool SendMark(Channel& channel, std::string_view name) {
  return SendReply(channel, 700, {std::string(name)}, "INDEX MARK");
}

bool SendIcon(Channel& channel, std::string_view path) {
  return SendReply(channel, 706, {std::string(path)}, "ICON");
}

std::string EscapeAudio(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 64 + 8);
  for (char c : bytes) {
    if (c == '\n' || c == kEscape) {
      out += kEscape;
      out += static_cast<char>(c ^ kEscapeFlip);
    } else {
      out += c;
    }
  }
  return out;
}

bool SendAudio(Channel& channel, const int16_t* samples, size_t count, int rate) {
  std::string chunk = "705-bits=16\n705-num_channels=1\n705-sample_rate=" +
                      std::to_string(rate) + "\n705-num_samples=" + std::to_string(count) +
                      "\n705-big_endian=" + (kBigEndian ? "1" : "0") + "\n705-AUDIO";
  chunk += '\0';
  chunk += EscapeAudio(std::string_view(reinterpret_cast<const char*>(samples), count * 2));
  chunk += "\n705 AUDIO\n";
  Log(kLogEverything, "-> 705 AUDIO (" + std::to_string(count) + " amostras)");
  return Send(channel, chunk);
}

}  // namespace sdOrvia
