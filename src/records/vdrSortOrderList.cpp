#include "vdrSortOrderList.h"
