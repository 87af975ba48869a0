#pragma once

#include <QList>
#include <QString>

// One row of a list as a view shows it: a caption and the number it stands
// for (a RepairNbr, say).
struct TvdrListItem {
    QString Caption;
    qint32 Data = 0;

    bool operator==(const TvdrListItem &other) const {
        return Caption == other.Caption && Data == other.Data;
    }
};

using TvdrListItems = QList<TvdrListItem>;
