#include "vdrImportXML.h"
