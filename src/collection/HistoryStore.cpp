#include "collection/HistoryStore.h"

#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace karvena {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 12> kFields = {"Auto1",
                                                 "FailedCount",
                                                 "Hint0Count",
                                                 "Hint1Count",
                                                 "Hint2Count",
                                                 "SolvedCount",
                                                 "FailedCountBeforeSolve",
                                                 "Hint0CountBeforeSolve",
                                                 "Hint1CountBeforeSolve",
                                                 "Hint2CountBeforeSolve",
                                                 "TakebackBeforeSolve",
                                                 "StudyBeforeSolve"};

std::array<int32_t, 11> Counters(const THistoryRow& r) {
    return {r.FailedCount,
            r.Hint0Count,
            r.Hint1Count,
            r.Hint2Count,
            r.SolvedCount,
            r.FailedCountBeforeSolve,
            r.Hint0CountBeforeSolve,
            r.Hint1CountBeforeSolve,
            r.Hint2CountBeforeSolve,
            r.TakebackBeforeSolve,
            r.StudyBeforeSolve};
}

std::string Stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

} // namespace

std::string HistoryPath(const std::string& programFolder, const std::string& userDataFolder) {
    if (!programFolder.empty() && access(programFolder.c_str(), W_OK) == 0)
        return (fs::path(programFolder) / kHistoryFileName).string();
    std::error_code ignored;
    fs::create_directories(userDataFolder, ignored);
    return (fs::path(userDataFolder) / kHistoryFileName).string();
}

bool THistoryStore::HasHistorySchema() const {
    const std::vector<std::string> columns = m_Db.Columns("tblHistory");
    if (columns.size() != kFields.size()) return false;
    for (size_t i = 0; i < kFields.size(); ++i)
        if (columns[i] != kFields[i]) return false;
    return true;
}

bool THistoryStore::CreateSchema() {
    std::string sql = "CREATE TABLE tblHistory (Auto1 INTEGER NOT NULL";
    for (size_t i = 1; i < kFields.size(); ++i)
        sql += std::string(", ") + kFields[i] + " INTEGER";
    sql += "); CREATE UNIQUE INDEX ByAuto1 ON tblHistory (Auto1);";
    return m_Db.Exec(sql);
}

THistoryOpen THistoryStore::Open(const std::string& path) {
    THistoryOpen result;
    m_Path = path;
    std::error_code error;
    const bool exists = fs::exists(path, error);
    if (exists) {
        // Reading the schema proves the file is a history database; only then is the journal
        // switched, since that writes to the file.
        const bool readable = m_Db.OpenFile(path, false) && HasHistorySchema() &&
                              m_Db.Exec("PRAGMA journal_mode=WAL");
        if (readable) {
            m_Db.Exec("PRAGMA synchronous=FULL");
            result.Ok = true;
            return result;
        }
        m_Db.Close();
        // Never overwrite what could not be read: keep it aside, with its journal files.
        const std::string aside = path + ".broken-" + Stamp();
        fs::rename(path, aside, error);
        if (error) {
            result.Error = "cannot move the unreadable history aside: " + error.message();
            return result;
        }
        for (const char* suffix : {"-wal", "-shm"}) {
            std::error_code ignored;
            if (fs::exists(path + suffix, ignored))
                fs::rename(path + suffix, aside + suffix, ignored);
        }
        result.MovedAside = aside;
    }
    if (!m_Db.OpenFile(path, true) || !m_Db.Exec("PRAGMA journal_mode=WAL") ||
        !m_Db.Exec("PRAGMA synchronous=FULL") || !CreateSchema()) {
        result.Error = m_Db.Error();
        m_Db.Close();
        return result;
    }
    result.Ok = true;
    result.Created = true;
    return result;
}

std::optional<THistoryRow> THistoryStore::Find(int32_t auto1) const {
    std::string sql = "SELECT";
    for (size_t i = 0; i < kFields.size(); ++i)
        sql += std::string(i ? ", " : " ") + kFields[i];
    sql += " FROM tblHistory WHERE Auto1 = ?";
    TSqliteStatement q = m_Db.Prepare(sql);
    if (!q.Ok()) return std::nullopt;
    q.Bind(1, auto1);
    if (!q.Step()) return std::nullopt;
    THistoryRow row;
    int32_t* fields[12] = {&row.Auto1,
                           &row.FailedCount,
                           &row.Hint0Count,
                           &row.Hint1Count,
                           &row.Hint2Count,
                           &row.SolvedCount,
                           &row.FailedCountBeforeSolve,
                           &row.Hint0CountBeforeSolve,
                           &row.Hint1CountBeforeSolve,
                           &row.Hint2CountBeforeSolve,
                           &row.TakebackBeforeSolve,
                           &row.StudyBeforeSolve};
    for (int i = 0; i < 12; ++i)
        *fields[i] = static_cast<int32_t>(q.Int(i));
    return row;
}

bool THistoryStore::Append(int32_t auto1) {
    TSqliteStatement q = m_Db.Prepare("INSERT INTO tblHistory (Auto1) VALUES (?)");
    if (!q.Ok()) return false;
    q.Bind(1, auto1);
    if (!q.Run()) return false;
    ++m_Writes;
    return true;
}

bool THistoryStore::Post(const THistoryRow& row) {
    const std::optional<THistoryRow> stored = Find(row.Auto1);
    if (stored && *stored == row) return true;
    if (!stored && !Append(row.Auto1)) return false;
    std::string sql = "UPDATE tblHistory SET";
    for (size_t i = 1; i < kFields.size(); ++i)
        sql += std::string(i > 1 ? ", " : " ") + kFields[i] + " = ?";
    sql += " WHERE Auto1 = ?";
    TSqliteStatement q = m_Db.Prepare(sql);
    if (!q.Ok()) return false;
    const std::array<int32_t, 11> values = Counters(row);
    for (size_t i = 0; i < values.size(); ++i)
        q.Bind(static_cast<int>(i + 1), values[i]);
    q.Bind(12, row.Auto1);
    if (!q.Run()) return false;
    ++m_Writes;
    return true;
}

bool THistoryStore::ClearAllSolved() {
    if (!m_Db.Exec("UPDATE tblHistory SET SolvedCount = 0 WHERE SolvedCount IS NOT 0"))
        return false;
    ++m_Writes;
    return true;
}

int THistoryStore::Count() const {
    TSqliteStatement q = m_Db.Prepare("SELECT count(*) FROM tblHistory");
    return q.Ok() && q.Step() ? static_cast<int>(q.Int(0)) : 0;
}

} // namespace karvena
