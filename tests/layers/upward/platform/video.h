// refused: a backend is a row of its own, not part of platform/
#include "platform/sdl/video_sdl.h"
