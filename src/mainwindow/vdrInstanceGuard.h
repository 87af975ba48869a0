#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Lets one copy of the program run per user. The first copy listens on a
// local socket; a later copy hands it its command line and ends. A lock file
// makes the check and the start of listening one step, so of copies started
// together exactly one goes on.
//
// Needs the application object. The guard must live as long as the program
// runs: its server answers later copies on the event loop of the thread that
// called Claim, without blocking it, and stops when the guard is destroyed.
class TvdrInstanceGuard : public QObject {
    Q_OBJECT
public:
    // The user's id is appended to `name`, so two users do not block each
    // other; the socket and the lock file live in the temporary folder.
    explicit TvdrInstanceGuard(const QString &name = QStringLiteral("Vandor_Instance_Manager"),
                               QObject *parent = nullptr);
    ~TvdrInstanceGuard() override;

    // Called once, before any window. False: another copy runs and took this
    // copy's command line, or held the lock for 5 s; end at once without a
    // message. True: go on. A guard that cannot work (no lock file, cannot
    // listen) also says true: starting matters more than the guard, and the
    // log is not open yet, so nothing is written; Listening() tells.
    bool Claim();

    bool Listening() const;
    QString ServerName() const { return m_serverName; }
    // What the last later copy sent: its command line and data word.
    QString LastReceivedText() const { return m_receivedText; }
    int LastReceivedWord() const { return m_receivedWord; }

Q_SIGNALS:
    // A later copy was answered. Nothing in the program reacts: the running
    // copy is not brought to the front.
    void Received();

private:
    enum class TAnswer { None, Taken, Busy };

    TAnswer AskRunningCopy() const;
    void Listen();
    void Accept();
    void Read(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server = nullptr;
    QString m_receivedText;
    int m_receivedWord = 0;
};
