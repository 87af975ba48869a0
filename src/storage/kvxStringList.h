#pragma once

#include "vdrStringList.h"

// The support library's string list is the program's own.
using TkvxStringList = TvdrStringList;
