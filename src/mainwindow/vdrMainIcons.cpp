#include "vdrMainIcons.h"

QIcon TreeImage(TvdrNodeKind kind) {
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
