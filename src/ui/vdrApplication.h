#pragma once

#include <QApplication>

#include <functional>

// The application object. Its notify is the general error display: an
// exception that a command lets through ends that command and its message
// is shown in an error box; none crosses Qt's event loop.
class TvdrApplication : public QApplication {
public:
    TvdrApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

// Runs a handler connected to a signal: an error it raises ends the handler
// and is shown as the general error display shows it, without unwinding
// through Qt's own code.
void RunGuarded(const std::function<void()> &handler);

// The message the general error display shows for the exception being
// handled (call inside a catch block).
QString CurrentErrorMessage();
