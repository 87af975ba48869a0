#include "vdrApplication.h"

#include "vdrError.h"
#include "vdrWindowRoutines.h"

#include <exception>

TvdrApplication::TvdrApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vandor"));
    setApplicationDisplayName(QStringLiteral("Vandor"));
}

bool TvdrApplication::notify(QObject *receiver, QEvent *event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("An unexpected error ended the command.");
    }
    // Shown outside the handler, so a failure of the box itself is not
    // swallowed by it.
    try {
        ShowError(message);
    } catch (...) {
    }
    return false;
}
