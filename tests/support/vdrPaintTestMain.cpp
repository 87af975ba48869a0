// The main of the tests that paint without widgets: one QGuiApplication for
// every test, on the offscreen platform.
#include <QGuiApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QGuiApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
