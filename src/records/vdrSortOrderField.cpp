#include "vdrSortOrderField.h"
