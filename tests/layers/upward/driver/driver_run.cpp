// refused: the rest of the program does not
#include "platform/memory/video_memory.h"
