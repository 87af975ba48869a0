#pragma once

#include <QByteArray>

// Real picture files for tests: a JPEG made with libjpeg and a Windows
// bitmap made with QImage, each a colour gradient of the given size.
QByteArray MakeJpeg(int width, int height);
QByteArray MakeBitmap(int width, int height);
