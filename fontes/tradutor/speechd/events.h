// TIRLA: the events the module sends while a message is spoken: begin and its one final
// event, index marks, sound icons and audio chunks for the server to play.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "speechd/channel.h"

namespace sdOrvia {

enum class Event : int { kBegin, kEnd, kStopped, kPaused };

// "701 BEGIN", "702 END", "703 STOP" or "704 PAUSE".
bool SendEvent(Channel& channel, Event event);

// "700-<name>" and "700 INDEX MARK".
bool SendMark(Channel& channel, std::string_view name);

// "706-<path>" and "706 ICON": the server plays the sound file here.
bool SendIcon(Channel& channel, std::string_view path);

// One "705" audio chunk: the header lines, then the samples (16-bit mono, the machine's byte
// order) escaped so that no LF appears in them.
bool SendAudio(Channel& channel, const int16_t* samples, size_t count, int rate);

// The payload of an audio chunk, escaped: LF becomes 7D 2A, 7D becomes 7D 5D.
std::string EscapeAudio(std::string_view bytes);

}  // namespace sdOrvia
