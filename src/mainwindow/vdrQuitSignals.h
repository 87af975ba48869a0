#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session that ends, Ctrl+C in a
// terminal) into an orderly close on the event loop, so pending edits are
// written and the database is closed as when the user closes the window.
class TvdrQuitSignals : public QObject {
public:
    explicit TvdrQuitSignals(std::function<void()> onQuit, QObject *parent = nullptr);
    ~TvdrQuitSignals() override;

private:
    void Received();

    std::function<void()> m_onQuit;
    QSocketNotifier *m_notifier = nullptr;
};
