#include "vdrImportTSV.h"
