// The main of the window tests: one application object for every test, on
// the offscreen platform, with the general error display in place.
#include "vdrApplication.h"

#include <gmock/gmock.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    TvdrApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
