#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace karvena {

namespace {
constexpr char kRaise[] = "raise\n";
QString RuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}
// The socket's address; false when the path is too long for one.
bool AddressOf(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.size() >= static_cast<int>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}
// Waits up to `ms` for the socket to be ready for `events`.
bool Ready(int fd, short events, int ms) {
    pollfd watched{fd, events, 0};
    int result;
    do result = ::poll(&watched, 1, ms);
    while (result < 0 && errno == EINTR);
    return result > 0 && (watched.revents & events);
}
} // namespace

TSingleInstance::TSingleInstance() = default;

TSingleInstance::~TSingleInstance() {
    m_Listening.reset();
    for (const auto& [client, notifier] : m_Clients) ::close(client);
    m_Clients.clear();
    if (m_Server >= 0) {
        ::close(m_Server);
        ::unlink(QFile::encodeName(SocketPath()).constData());
    }
}

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
    sockaddr_un address;
    if (!AddressOf(SocketPath(), address)) return; // a trainer that cannot be raised still runs
    const int server = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (server < 0) return;
    // The lock is ours, so a socket file left there belongs to a run that is gone.
    ::unlink(address.sun_path);
    // Only this user may connect: the socket is made with no rights for anyone else.
    const mode_t mask = ::umask(077);
    const bool bound = ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(server, 4) != 0) {
        ::close(server);
        return;
    }
    m_Server = server;
    m_Listening = std::make_unique<QSocketNotifier>(server, QSocketNotifier::Read);
    QObject::connect(m_Listening.get(), &QSocketNotifier::activated, [this] {
        int client;
        while ((client = ::accept4(m_Server, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
            auto notifier = std::make_unique<QSocketNotifier>(client, QSocketNotifier::Read);
            QObject::connect(notifier.get(), &QSocketNotifier::activated,
                             [this, client] { Answer(client); });
            m_Clients[client] = std::move(notifier);
        }
    });
}

void TSingleInstance::Answer(int client) {
    char buffer[16] = {};
    const ssize_t got = ::read(client, buffer, sizeof buffer - 1);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return; // more to come
    // The notifier goes after its signal has returned; the connection ends now.
    if (auto found = m_Clients.find(client); found != m_Clients.end()) {
        found->second->setEnabled(false);
        found->second.release()->deleteLater();
        m_Clients.erase(found);
    }
    ::close(client);
    if (got > 0 && std::strncmp(buffer, "raise", 5) == 0 && OnRaise) OnRaise();
}

bool TSingleInstance::AskToRaise() {
    sockaddr_un address;
    if (!AddressOf(SocketPath(), address)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!connected && (errno == EINPROGRESS || errno == EAGAIN) && Ready(fd, POLLOUT, 2000)) {
        int error = 0;
        socklen_t length = sizeof error;
        connected = ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    bool sent = false;
    if (connected && Ready(fd, POLLOUT, 2000))
        sent = ::send(fd, kRaise, sizeof kRaise - 1, MSG_NOSIGNAL) ==
               static_cast<ssize_t>(sizeof kRaise - 1);
    // The running trainer closes the connection once it has read the request.
    if (sent) Ready(fd, POLLIN, 1000);
    ::close(fd);
    return sent;
}

} // namespace karvena
