#include "vdrCarComparer.h"
