// allowed: the console stands on the platform
#include "platform/messages.h"
