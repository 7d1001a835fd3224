#include "shell/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace karvena {

QString TSingleInstance::LockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath("QmvGoGameKarvena.lock");
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

} // namespace karvena
