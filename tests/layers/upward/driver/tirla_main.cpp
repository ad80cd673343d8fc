// allowed: a program chooses its backend
#include "platform/terminal/video_terminal.h"
