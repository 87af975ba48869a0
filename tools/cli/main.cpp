#include "vdrCli.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    std::ios::sync_with_stdio(false);
    return RunVandorCli(args, std::cin, std::cout, std::cerr);
}
