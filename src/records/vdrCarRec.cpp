#include "vdrCarRec.h"
