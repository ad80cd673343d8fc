// allowed: the wave output stands on the sound device
#include "platform/audio/pcm.h"
