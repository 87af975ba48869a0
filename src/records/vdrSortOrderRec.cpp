#include "vdrSortOrderRec.h"
