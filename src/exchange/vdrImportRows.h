#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rows of an exchange file, converted: all of them before the merge
// (XML), or each table's when its turn comes (TSV). Numbers of cars, fields
// and descriptions are the file's own.
struct TvdrImportRows {
    struct TCar {
        qint32 CarNbr = 0;
        qint32 Year = 0;
        QString Make;
        QString Model;
        QString PictureExtension; // as the file holds it
    };
    struct TUdf {
        qint32 UdfNbr = 0;
        qint32 SortOrder = 0;
        QString Name;
    };
    struct TRepair {
        qint32 RepairNbr = 0;
        QString Description;
    };
    struct TCarValue {
        qint32 CarNbr = 0;
        qint32 UdfNbr = 0;
        QString Value;
    };
    struct TEvent {
        qint32 CarNbr = 0;
        qint32 MaintNbr = 0;
        qint32 DayNumber = 0;
        qint32 Mileage = 0;
        double Cost = 0.0;
    };
    struct TLink {
        qint32 CarNbr = 0;
        qint32 MaintNbr = 0;
        qint32 RepairNbr = 0;
    };
    struct TNote {
        qint32 CarNbr = 0;
        qint32 MaintNbr = 0;
        QString Note; // in stored form (or as typed)
    };
    struct TSortOrder {
        QString Name;
        qint32 SortOrderNbr = 0;
        QStringList Fields; // the stored forms of the sort fields
    };

    QList<TCar> Cars;
    QList<TUdf> Udfs;
    QList<TRepair> Repairs;
    QList<TCarValue> CarValues;
    QList<TEvent> Events;
    QList<TLink> Links;
    QList<TNote> Notes;
    QList<TSortOrder> SortOrders;
    // Where the picture files "CarPic%9.9d.<extension>" are.
    QString PictureFolder;
};
