#include "vdrMaintEvents.h"
