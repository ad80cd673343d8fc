// refused: a backend is chosen by a program, never by the console
#include "platform/sdl/video_sdl.h"
