#include "vdrMaintRec.h"
