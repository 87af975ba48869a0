#include "vdrInstanceGuard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStringList>
#include <QtEndian>

#include <memory>

#include <unistd.h>

// A message is the data word (32 bits), the text's length in bytes (32 bits)
// and the text in UTF-8; the answer is one 32-bit number. Big-endian.

namespace {

const int kLockWaitMs = 5000;
// A copy that accepted the connection runs; one that does not answer in this
// time is busy, and this copy ends as when the lock wait times out.
const int kAnswerWaitMs = 5000;
const int kConnectWaitMs = 1000;
const int kHeaderSize = 8;
// Far beyond any command line; a bigger claim is not a copy of this program.
const quint32 kMaxTextBytes = 1 << 20;

QByteArray Message(qint32 word, const QString &text) {
    const QByteArray bytes = text.toUtf8();
    QByteArray message(kHeaderSize, '\0');
    qToBigEndian<qint32>(word, message.data());
    qToBigEndian<quint32>(quint32(bytes.size()), message.data() + 4);
    return message + bytes;
}

} // namespace

TvdrInstanceGuard::TvdrInstanceGuard(const QString &name, QObject *parent)
    : QObject(parent), m_serverName(name + QLatin1Char('-') + QString::number(::getuid())) {}

TvdrInstanceGuard::~TvdrInstanceGuard() = default;

bool TvdrInstanceGuard::Listening() const {
    return m_server && m_server->isListening();
}

bool TvdrInstanceGuard::Claim() {
    // The socket lives there too; a missing folder would put both at the root.
    const QString folder = QDir::tempPath();
    if (folder.isEmpty())
        return true;
    QLockFile lock(folder + QLatin1Char('/') + m_serverName + QStringLiteral(".lock"));
    // Only a lock held by a live copy counts; a lock file that cannot be made
    // at all leaves the socket alone to decide.
    if (!lock.tryLock(kLockWaitMs) && lock.error() == QLockFile::LockFailedError)
        return false;
    if (AskRunningCopy() != TAnswer::None)
        return false;
    Listen();
    return true;
}

TvdrInstanceGuard::TAnswer TvdrInstanceGuard::AskRunningCopy() const {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    // Refused also when a killed copy left its socket file behind.
    if (!socket.waitForConnected(kConnectWaitMs))
        return TAnswer::None;
    socket.write(Message(0, QCoreApplication::arguments().join(QLatin1Char(' '))));
    const QDeadlineTimer deadline(kAnswerWaitMs);
    while (socket.bytesAvailable() < 4) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())) && socket.bytesAvailable() < 4) {
            // Still connected: that copy runs but is busy. Hung up without an
            // answer: it is ending, and this copy takes over.
            return socket.state() == QLocalSocket::ConnectedState ? TAnswer::Busy : TAnswer::None;
        }
    }
    qint32 answer = 0;
    socket.read(reinterpret_cast<char *>(&answer), 4);
    return qFromBigEndian(answer) > 0 ? TAnswer::Taken : TAnswer::None;
}

void TvdrInstanceGuard::Listen() {
    auto server = std::make_unique<QLocalServer>(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // No copy answered, so a socket file of that name is a dead copy's.
    QLocalServer::removeServer(m_serverName);
    if (!server->listen(m_serverName))
        return;
    m_server = server.release();
    connect(m_server, &QLocalServer::newConnection, this, &TvdrInstanceGuard::Accept);
}

void TvdrInstanceGuard::Accept() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        Read(socket);
    }
}

void TvdrInstanceGuard::Read(QLocalSocket *socket) {
    if (socket->bytesAvailable() < kHeaderSize)
        return;
    const QByteArray header = socket->peek(kHeaderSize);
    const quint32 length = qFromBigEndian<quint32>(header.constData() + 4);
    if (length > kMaxTextBytes) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (socket->bytesAvailable() < kHeaderSize + qint64(length))
        return;
    socket->skip(kHeaderSize);
    m_receivedWord = qFromBigEndian<qint32>(header.constData());
    m_receivedText = QString::fromUtf8(socket->read(length));
    QByteArray answer(4, '\0');
    qToBigEndian<qint32>(1, answer.data());
    socket->write(answer);
    // Closes once the answer is written.
    socket->disconnectFromServer();
    Q_EMIT Received();
}
