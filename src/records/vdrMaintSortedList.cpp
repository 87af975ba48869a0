#include "vdrMaintSortedList.h"
