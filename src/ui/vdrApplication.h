#pragma once

#include <QApplication>

// The application object. Its notify is the general error display: an
// exception that a command lets through ends that command and its message
// is shown in an error box; none crosses Qt's event loop.
class TvdrApplication : public QApplication {
public:
    TvdrApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
