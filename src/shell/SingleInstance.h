#pragma once
// One trainer at a time: a lock file named after "QmvGoGameKarvena" in the per-user runtime
// folder. A lock left by a crashed run is stale and taken over. The running trainer listens on
// a local socket beside the lock, so a second start can ask it to come to the front. The socket
// is a plain Unix-domain socket watched by the event loop: no network library is loaded for it.
#include <QLockFile>
#include <QSocketNotifier>
#include <functional>
#include <map>
#include <memory>

namespace karvena {

class TSingleInstance {
public:
    TSingleInstance();
    ~TSingleInstance();
    // Tries to take the lock; false when another trainer holds it.
    bool Acquire();
    // Listens for a second start: each one runs OnRaise. Call after Acquire succeeded.
    void Listen();
    std::function<void()> OnRaise;
    // Asks the trainer that holds the lock to come to the front; false when none answers.
    static bool AskToRaise();
    static QString LockPath();
    static QString SocketPath();

private:
    // A client has something to read: "raise" runs OnRaise; the connection then ends.
    void Answer(int client);
    std::unique_ptr<QLockFile> m_Lock;
    int m_Server = -1;
    std::unique_ptr<QSocketNotifier> m_Listening;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_Clients;
};

} // namespace karvena
