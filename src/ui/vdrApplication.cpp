#include "vdrApplication.h"

#include "vdrError.h"
#include "vdrIcons.h"
#include "vdrWindowRoutines.h"

#include <exception>

TvdrApplication::TvdrApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vandor"));
    InitIcons();
}

namespace {

void ShowQuietly(const QString &message) {
    // A failure of the box itself has nowhere left to go.
    try {
        ShowError(message);
    } catch (...) {
    }
}

} // namespace

QString CurrentErrorMessage() {
    try {
        throw;
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("An unexpected error ended the command.");
    }
}

bool TvdrApplication::notify(QObject *receiver, QEvent *event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        message = CurrentErrorMessage();
    }
    ShowQuietly(message);
    return false;
}

void RunGuarded(const std::function<void()> &handler) {
    QString message;
    try {
        handler();
        return;
    } catch (...) {
        message = CurrentErrorMessage();
    }
    ShowQuietly(message);
}
