#pragma once

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

#include <vector>

// What the layout puts on a page, ready to paint. Positions are pixels at 96
// per inch, relative to the top left corner of the page's printable area
// (inside the margins); an item's position is relative to its band until the
// band is placed.

enum class TvdrBandKind { PageHeader, Child, Detail, Summary };

struct TvdrPlacedItem {
    enum class TKind { Text, Line, Image };

    TKind Kind = TKind::Text;
    QString Control; // the name of the control that printed it
    // Text: the box of one line, its text aligned inside it (it may run out
    // of a box narrower than the text); Line: drawn across the middle of the
    // box; Image: the picture scaled into the box.
    QRectF Rect;
    QString Text;
    Qt::Alignment Align = Qt::AlignLeft;
    QFont Font;
    QImage Image;
};

// One band as printed: all of it, or one piece of a band taller than the
// room left on its page.
struct TvdrPlacedBand {
    QString Name;
    TvdrBandKind Kind = TvdrBandKind::Detail;
    int Item = 0;  // the detail item it printed
    int Piece = 0; // 0, or the number of the continuation on a later page
    double Top = 0;
    double Height = 0;
    std::vector<TvdrPlacedItem> Items;
};

struct TvdrReportPage {
    int Number = 0; // counting from 1
    std::vector<TvdrPlacedBand> Bands;
};
