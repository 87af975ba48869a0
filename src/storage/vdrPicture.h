#pragma once

#include "vdrMemoryStream.h"

// A car's picture: the bytes of the chosen image file, unchanged, in the
// stream "CarPic" + the car number as 9 digits. Its type is the car's picture
// extension, not part of the stream.
class TvdrPicture : public TvdrMemoryStream {
public:
    explicit TvdrPicture(qint32 carNbr);

    static QString StreamIdOf(qint32 carNbr);
};
