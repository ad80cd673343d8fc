// an upward include the layer check must refuse
#include "console/console.h"
