#include "vdrIcons.h"

#include <QtGlobal>

static void InitIconResource() {
    Q_INIT_RESOURCE(icons);
}

void InitIcons() {
    static const bool done = (InitIconResource(), true);
    Q_UNUSED(done);
}
