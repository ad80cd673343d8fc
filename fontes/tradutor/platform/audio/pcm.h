// TIRLA: the PCM sound device: one output device opened per format, blocks queued in order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Sample format of the open device: 8-bit samples are unsigned (silence 128), 16-bit signed
// little-endian.
struct PcmFormat {
  int rate = 0;      // samples per second
  int bits = 0;      // 8 or 16
  int channels = 0;  // 1 or 2
};

// Results of PcmOpen, and statuses of finished blocks, numbered as the wave output reports them.
enum PcmResult : int {
  kPcmOk = 0,
  kPcmError = 1,         // unspecified failure
  kPcmBadDevice = 2,     // no output device could be opened
  kPcmBusy = 4,          // the device is in use; worth another try
  kPcmNoDriver = 6,      // no sound system, or the device went away while playing
  kPcmBadFormat = 32,    // the format cannot be played
};

// Called once per queued block when the device is done with it, from the sound thread (or
// the caller's thread for blocks dropped by PcmReset/PcmClose): `tag` as given to PcmQueue,
// `status` kPcmOk or kPcmNoDriver. It must only hand the news on (post a message).
using PcmDoneCallback = void (*)(intptr_t tag, int status);

// Opens the default output device for `format`; `done` hears of every finished block.
// kPcmOk, or a PcmResult with PcmLastError() saying why. An open device is closed first.
int PcmOpen(const PcmFormat& format, PcmDoneCallback done);

// Whether a device is open.
bool PcmIsOpen();

// The format of the open device (zeros when closed).
PcmFormat PcmCurrentFormat();

// Queues `bytes` bytes at `data` behind the blocks already queued. The memory must stay
// untouched until `done` reports `tag`. False when no device is open.
bool PcmQueue(const void* data, size_t bytes, intptr_t tag);

// Drops every queued block at once; each is reported done before this returns.
void PcmReset();

// Closes the device; blocks still queued are reported done first. Nothing when closed.
void PcmClose();

// Text of the last open failure, for the user.
std::string PcmLastError();

// A recorded block of the memory device.
struct PcmPlayedBlock {
  PcmFormat format;
  std::vector<uint8_t> bytes;
};

// Switches to (true) or from the memory device: blocks are recorded instead of played and
// finish as soon as they are queued. For tests and for measuring.
void PcmUseMemoryDevice(bool on);

// Blocks the memory device took, in order; and forgetting them.
const std::vector<PcmPlayedBlock>& PcmPlayedBlocks();
void PcmForgetPlayed();

}  // namespace platform
