#include "vdrCarRemoval.h"
