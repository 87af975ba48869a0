#include "xdbVandorDB.h"
