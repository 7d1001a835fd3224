#include "shell/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace karvena {

namespace {
constexpr char kRaise[] = "raise\n";
QString RuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}
} // namespace

TSingleInstance::TSingleInstance() = default;
TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::LockPath() {
    return QDir(RuntimeFolder()).filePath("QmvGoGameKarvena.lock");
}

QString TSingleInstance::SocketPath() {
    return QDir(RuntimeFolder()).filePath("QmvGoGameKarvena.socket");
}

bool TSingleInstance::Acquire() {
    m_Lock = std::make_unique<QLockFile>(LockPath());
    // A lock whose process is gone is stale at once.
    m_Lock->setStaleLockTime(0);
    if (m_Lock->tryLock(0)) return true;
    if (m_Lock->error() == QLockFile::LockFailedError) return false;
    // The lock file cannot be written at all: start anyway.
    return true;
}

void TSingleInstance::Listen() {
    m_Server = std::make_unique<QLocalServer>();
    m_Server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket file left there belongs to a run that is gone.
    QLocalServer::removeServer(SocketPath());
    if (!m_Server->listen(SocketPath())) return; // a trainer that cannot be raised still runs
    QObject::connect(m_Server.get(), &QLocalServer::newConnection, m_Server.get(), [this] {
        while (QLocalSocket* client = m_Server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (client->readAll().startsWith("raise") && OnRaise) OnRaise();
                client->disconnectFromServer();
            });
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
}

bool TSingleInstance::AskToRaise() {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(2000)) return false;
    socket.write(kRaise);
    const bool sent = socket.waitForBytesWritten(2000);
    socket.waitForDisconnected(1000);
    return sent;
}

} // namespace karvena
