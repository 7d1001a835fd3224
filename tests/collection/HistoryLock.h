#pragma once
// Another program holding a history file: back in a rollback journal with an exclusive write
// lock, so a reader of the file is told "busy" until Release.
#include <string>

#include "collection/Sqlite.h"

namespace karvena::test {

class THistoryLock {
public:
    // True when the lock is held.
    bool Take(const std::string& path) {
        return m_Db.OpenFile(path, false) && m_Db.Exec("PRAGMA journal_mode=DELETE") &&
               m_Db.Exec("BEGIN EXCLUSIVE") && m_Db.Exec("UPDATE tblHistory SET FailedCount = 9");
    }
    // Rolls the pending change back and lets the file go.
    bool Release() {
        const bool done = m_Db.Exec("ROLLBACK");
        m_Db.Close();
        return done;
    }

private:
    TSqliteDb m_Db;
};

} // namespace karvena::test
