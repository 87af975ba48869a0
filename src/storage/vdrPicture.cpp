#include "vdrPicture.h"

#include "vdrFormat.h"

TvdrPicture::TvdrPicture(qint32 carNbr) : TvdrMemoryStream(StreamIdOf(carNbr)) {}

QString TvdrPicture::StreamIdOf(qint32 carNbr) {
    return FormatPrintf(QStringLiteral("CarPic%9.9d"), {carNbr});
}
