#pragma once

#include "vdrTreeNodeData.h"

#include <QIcon>

// The tree's images: car, repair descriptions, maintenance, picture. The
// Cars node shows the car image.
QIcon TreeImage(TvdrNodeKind kind);
