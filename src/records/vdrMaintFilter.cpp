#include "vdrMaintFilter.h"
