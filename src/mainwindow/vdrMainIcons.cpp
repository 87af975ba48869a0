#include "vdrMainIcons.h"

#include "vdrIcons.h"

namespace {

QIcon Load(TvdrNodeKind kind) {
    switch (kind) {
    case nkRepairs:
        return SvgIcon(QStringLiteral(":/icons/tree-repairs.svg"));
    case nkMaint:
        return SvgIcon(QStringLiteral(":/icons/tree-maintenance.svg"));
    case nkPicture:
        return SvgIcon(QStringLiteral(":/icons/tree-picture.svg"));
    default:
        return SvgIcon(QStringLiteral(":/icons/tree-car.svg"));
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
