#include "vdrUdfChanges.h"
