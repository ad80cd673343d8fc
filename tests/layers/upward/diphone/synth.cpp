// refused: only the wave output reaches the sound device; allowed: the wave output
#include "platform/audio/pcm.h"
#include "diphone/waveout.h"
