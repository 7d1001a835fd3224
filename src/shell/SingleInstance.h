#pragma once
// One trainer at a time: a lock file named after "QmvGoGameKarvena" in the per-user runtime
// folder. A lock left by a crashed run is stale and taken over. The running trainer listens on
// a local socket beside the lock, so a second start can ask it to come to the front.
#include <QLockFile>
#include <functional>
#include <memory>

class QLocalServer;

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
    std::unique_ptr<QLockFile> m_Lock;
    std::unique_ptr<QLocalServer> m_Server;
};

} // namespace karvena
