#include "vdrCarPicture.h"
