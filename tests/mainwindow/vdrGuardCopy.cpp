// A stand-in for the program, for the instance guard's tests: runs the guard
// named by the first argument. Prints "claimed listening" (or "claimed alone"
// when the guard cannot work) when this copy may go on, then
// "received <word> <text>" for every later copy, and ends when its standard
// input closes. Exit code 3: another copy runs. With "wait" as the second
// argument it first prints "ready" and claims only when a byte arrives on its
// input, so the tests can let several copies claim at the same moment.
#include "vdrInstanceGuard.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QTextStream out(stdout);
    if (argc > 2 && qstrcmp(argv[2], "wait") == 0) {
        out << "ready" << Qt::endl;
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) != 1)
            return 2;
    }
    TvdrInstanceGuard guard(QString::fromLocal8Bit(argv[1]));
    if (!guard.Claim())
        return 3;
    out << "claimed " << (guard.Listening() ? "listening" : "alone") << Qt::endl;
    QObject::connect(&guard, &TvdrInstanceGuard::Received, &app, [&] {
        out << "received " << guard.LastReceivedWord() << ' ' << guard.LastReceivedText() << Qt::endl;
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            app.quit();
    });
    return app.exec();
}
