#include "vdrCli.h"

#include <QGuiApplication>
#include <iostream>
#include <memory>

int main(int argc, char **argv) {
    // Reports measure text, which needs a QGuiApplication: on the offscreen
    // platform, since no command opens a window.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && CliCommandNeedsGui(QString::fromLocal8Bit(argv[1]))) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    std::ios::sync_with_stdio(false);
    return RunVandorCli(args, std::cin, std::cout, std::cerr);
}
