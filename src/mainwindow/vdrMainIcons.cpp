#include "vdrMainIcons.h"

namespace {

QIcon Load(TvdrNodeKind kind) {
    switch (kind) {
    case nkRepairs:
        return QIcon(QStringLiteral(":/icons/tree-repairs.svg"));
    case nkMaint:
        return QIcon(QStringLiteral(":/icons/tree-maintenance.svg"));
    case nkPicture:
        return QIcon(QStringLiteral(":/icons/tree-picture.svg"));
    default:
        return QIcon(QStringLiteral(":/icons/tree-car.svg"));
    }
}

} // namespace

// One icon per image, shared by every node: a tree of many cars would
// otherwise read and parse an SVG file per node.
QIcon TreeImage(TvdrNodeKind kind) {
    static const QIcon images[] = {Load(nkCarsRoot), Load(nkCar), Load(nkMaint), Load(nkRepairs),
                                   Load(nkPicture)};
    return images[kind >= nkCarsRoot && kind <= nkPicture ? kind : nkCar];
}
