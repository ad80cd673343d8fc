// TIRLA: the in-memory backend's display table, shared by its two files.
#pragma once
#include "platform/display.h"

namespace platform {

extern const Display kMemoryDisplay;  // video_memory.cpp

}  // namespace platform
