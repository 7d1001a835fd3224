#pragma once
// One trainer at a time: a lock file named after "QmvGoGameKarvena" in the per-user runtime
// folder. A lock left by a crashed run is stale and taken over.
#include <QLockFile>
#include <memory>

namespace karvena {

class TSingleInstance {
public:
    // Tries to take the lock; false when another trainer holds it.
    bool Acquire();
    static QString LockPath();

private:
    std::unique_ptr<QLockFile> m_Lock;
};

} // namespace karvena
