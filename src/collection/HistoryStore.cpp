#include "collection/HistoryStore.h"

#include <algorithm>
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

bool FolderWritable(const std::string& folder) {
    return !folder.empty() && access(folder.c_str(), W_OK) == 0;
}

THistoryPlace HistoryPlace(const std::string& programFolder, const std::string& userDataFolder,
                           bool programFolderWritable) {
    THistoryPlace place;
    const fs::path beside = fs::path(programFolder) / kHistoryFileName;
    if (!programFolder.empty() && programFolderWritable) {
        place.Path = beside.string();
        return place;
    }
    std::error_code ignored;
    fs::create_directories(userDataFolder, ignored);
    place.Path = (fs::path(userDataFolder) / kHistoryFileName).string();
    // A history left beside the program (from when its folder was writable) comes along the
    // first time, so no progress stays behind. Copied whole, through SQLite (its journal
    // included), to a temporary name that is renamed only when complete.
    if (programFolder.empty() || !fs::exists(beside, ignored) || fs::exists(place.Path, ignored))
        return place;
    TSqliteDb old;
    const std::string partial = place.Path + ".partial";
    fs::remove(partial, ignored);
    std::string quoted;
    for (char c : partial) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    if (!old.OpenFile(beside.string(), false, true) || !old.Exec("VACUUM INTO '" + quoted + "'")) {
        place.TakeOverError = old.Error();
        fs::remove(partial, ignored);
        return place;
    }
    old.Close();
    std::error_code error;
    fs::rename(partial, place.Path, error);
    if (error) {
        place.TakeOverError = error.message();
        fs::remove(partial, ignored);
        return place;
    }
    place.TakenOverFrom = beside.string();
    return place;
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
    // A new history keeps each collection's keys apart from the start.
    sql += "); CREATE UNIQUE INDEX ByAuto1 ON tblHistory (Auto1); PRAGMA user_version = 1;";
    return m_Db.Exec(sql);
}

bool THistoryStore::KeySpacesSeparate() const {
    if (!m_Db.IsOpen()) return true;
    TSqliteStatement q = m_Db.Prepare("PRAGMA user_version");
    return q.Ok() && q.Step() && q.Int(0) >= 1;
}

bool THistoryStore::MoveImportedRows(const std::vector<int32_t>& importedKeys,
                                     const std::set<int32_t>& bundledKeys, int32_t base) {
    if (KeySpacesSeparate()) return true;
    if (m_ReadOnly) return false;
    std::string columns;
    for (size_t i = 1; i < kFields.size(); ++i) columns += std::string(", ") + kFields[i];
    struct TTable {
        const char* name;
        std::string rest; // the columns after Auto1
    };
    std::vector<TTable> tables{{"tblHistory", columns}};
    if (m_Db.HasTable("tblReview")) tables.push_back({"tblReview", ", Box, Due"});
    if (m_Db.HasTable("tblBestTime")) tables.push_back({"tblBestTime", ", Seconds"});
    if (!m_Db.Exec("BEGIN")) return false;
    bool ok = true;
    for (const int32_t key : importedKeys) {
        for (const TTable& t : tables) {
            TSqliteStatement copy = m_Db.Prepare(std::string("INSERT OR IGNORE INTO ") + t.name +
                                                 " (Auto1" + t.rest + ") SELECT Auto1 + ?" + t.rest +
                                                 " FROM " + t.name + " WHERE Auto1 = ?");
            copy.Bind(1, base);
            copy.Bind(2, key);
            ok = ok && copy.Ok() && copy.Run();
            if (bundledKeys.count(key)) continue;
            TSqliteStatement drop =
                m_Db.Prepare(std::string("DELETE FROM ") + t.name + " WHERE Auto1 = ?");
            drop.Bind(1, key);
            ok = ok && drop.Ok() && drop.Run();
        }
    }
    ok = ok && m_Db.Exec("PRAGMA user_version = 1") && m_Db.Exec("COMMIT");
    if (!ok) {
        WriteFailed(m_Db.Error());
        m_Db.Exec("ROLLBACK");
        return false;
    }
    m_Find.reset();
    return true;
}

THistoryOpen THistoryStore::Open(const std::string& path, THistoryAccess access) {
    THistoryOpen result;
    m_Path = path;
    m_Find.reset();
    m_SaveFailed = false;
    m_WriteError.clear();
    m_ReadOnly = false;
    m_Unsaved.clear();
    m_UnsavedReview.clear();
    m_UnsavedBest.clear();
    m_ForgottenBest.clear();
    m_UnsavedVerdicts.clear();
    m_ForgottenVerdicts.clear();
    m_UnsavedAttempts.clear();
    m_ForgottenAttempts.clear();
    m_SolvedClearedUnsaved = false;
    std::error_code error;
    const bool exists = fs::exists(path, error);
    const bool readOnly = access == THistoryAccess::ReadOnly;
    if (exists && !fs::is_regular_file(path, error)) {
        // A folder (or anything else) in the file's place is never moved aside or opened.
        result.Error = "it is not a file";
        WriteFailed(result.Error);
        return result;
    }
    if (readOnly && !exists) {
        result.Error = "there is no history file to read";
        WriteFailed(result.Error);
        return result;
    }
    if (exists) {
        // Reading the schema proves the file is a history database; only then is the journal
        // switched, since that writes to the file. A file another program holds locked is waited
        // for, and when it stays locked it is used for reading only: busy is not broken.
        const bool opened = m_Db.OpenFile(path, false, readOnly);
        if (opened) sqlite3_busy_timeout(m_Db.Handle(), BusyWaitMilliseconds);
        const int probe = opened ? sqlite3_exec(m_Db.Handle(), "SELECT count(*) FROM sqlite_master",
                                                nullptr, nullptr, nullptr) & 0xFF
                                 : SQLITE_CANTOPEN;
        if (probe == SQLITE_BUSY || probe == SQLITE_LOCKED) {
            result.Ok = true;
            result.ReadOnly = true;
            m_ReadOnly = true;
            WriteFailed("the file is locked by another program");
            return result;
        }
        const bool readable = opened && HasHistorySchema();
        if (readable && !readOnly && !m_Db.ReadOnly() && m_Db.Exec("PRAGMA journal_mode=WAL")) {
            m_Db.Exec("PRAGMA synchronous=FULL");
            result.Ok = true;
            return result;
        }
        if (readable) {
            // A history that can be read but not written is the player's progress all the same:
            // used as it is, never moved aside.
            result.Ok = true;
            result.ReadOnly = true;
            m_ReadOnly = true;
            WriteFailed(readOnly ? "opened for reading only" : "the file cannot be written");
            return result;
        }
        m_Db.Close();
        if (readOnly) {
            result.Error = "the file is not a history";
            WriteFailed(result.Error);
            return result;
        }
        // Never overwrite what could not be read: keep it aside, with its journal files.
        const std::string aside = path + ".broken-" + Stamp();
        fs::rename(path, aside, error);
        if (error) {
            result.Error = "cannot move the unreadable history aside: " + error.message();
            WriteFailed(result.Error);
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
        WriteFailed(result.Error);
        return result;
    }
    result.Ok = true;
    result.Created = true;
    return result;
}

void THistoryStore::WriteFailed(const std::string& reason) {
    if (m_SaveFailed) return;
    m_SaveFailed = true;
    m_WriteError = reason;
    if (OnWriteFailed) OnWriteFailed(m_Path, reason);
}

std::optional<THistoryRow> THistoryStore::Find(int32_t auto1) const {
    const auto unsaved = m_Unsaved.find(auto1);
    if (unsaved != m_Unsaved.end()) return unsaved->second;
    std::optional<THistoryRow> row = FindStored(auto1);
    if (row && m_SolvedClearedUnsaved) row->SolvedCount = 0;
    return row;
}

std::optional<THistoryRow> THistoryStore::FindStored(int32_t auto1) const {
    if (!m_Find) {
        std::string sql = "SELECT";
        for (size_t i = 0; i < kFields.size(); ++i)
            sql += std::string(i ? ", " : " ") + kFields[i];
        sql += " FROM tblHistory WHERE Auto1 = ?";
        m_Find = std::make_unique<TSqliteStatement>(m_Db.Handle(), sql);
    }
    TSqliteStatement& q = *m_Find;
    if (!q.Ok()) return std::nullopt;
    q.Reset();
    q.Bind(1, auto1);
    if (!q.Step()) {
        q.Reset();
        return std::nullopt;
    }
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
    q.Reset(); // no statement stays open between lookups (it would hold a read lock)
    return row;
}

THistoryStore::TSolvedKeys THistoryStore::SolvedKeys() const {
    TSolvedKeys keys;
    // The keys come in order from the key index alone; the solved ones are few.
    TSqliteStatement known = m_Db.Prepare("SELECT Auto1 FROM tblHistory ORDER BY Auto1");
    while (known.Ok() && known.Step()) keys.Known.push_back(static_cast<int32_t>(known.Int(0)));
    if (!m_SolvedClearedUnsaved) {
        TSqliteStatement solved = m_Db.Prepare("SELECT Auto1 FROM tblHistory WHERE SolvedCount > 0");
        while (solved.Ok() && solved.Step()) {
            const auto key = static_cast<int32_t>(solved.Int(0));
            if (!m_Unsaved.count(key)) keys.Solved.push_back(key); // the session's own row below
        }
    }
    for (const auto& [key, row] : m_Unsaved) {
        keys.Known.push_back(key);
        if (row.SolvedCount > 0) keys.Solved.push_back(key);
    }
    if (!m_Unsaved.empty()) {
        std::sort(keys.Known.begin(), keys.Known.end());
        keys.Known.erase(std::unique(keys.Known.begin(), keys.Known.end()), keys.Known.end());
    }
    std::sort(keys.Solved.begin(), keys.Solved.end());
    return keys;
}

bool THistoryStore::Append(int32_t auto1) {
    if (m_ReadOnly) return false;
    TSqliteStatement q = m_Db.Prepare("INSERT INTO tblHistory (Auto1) VALUES (?)");
    if (!q.Ok() || (q.Bind(1, auto1), !q.Run())) {
        WriteFailed(m_Db.IsOpen() ? sqlite3_errmsg(m_Db.Handle()) : "the history is not open");
        return false;
    }
    ++m_Writes;
    return true;
}

bool THistoryStore::AppendAll(const std::vector<int32_t>& keys) {
    if (keys.empty()) return true;
    if (m_ReadOnly) return false;
    if (!m_Db.Exec("BEGIN")) {
        WriteFailed(m_Db.Error());
        return false;
    }
    TSqliteStatement q = m_Db.Prepare("INSERT INTO tblHistory (Auto1) VALUES (?)");
    for (int32_t key : keys) {
        q.Reset();
        q.Bind(1, key);
        if (!q.Ok() || !q.Run()) {
            WriteFailed(sqlite3_errmsg(m_Db.Handle()));
            m_Db.Exec("ROLLBACK");
            return false;
        }
    }
    if (!m_Db.Exec("COMMIT")) {
        WriteFailed(m_Db.Error());
        m_Db.Exec("ROLLBACK");
        return false;
    }
    ++m_Writes;
    return true;
}

bool THistoryStore::Post(const THistoryRow& row) {
    if (Find(row.Auto1) == row) return true;
    // Kept for the session first, so a failed write loses nothing of it.
    m_Unsaved[row.Auto1] = row;
    std::optional<THistoryRow> stored = FindStored(row.Auto1);
    if (m_ReadOnly) return false;
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
    if (!q.Run()) {
        WriteFailed(sqlite3_errmsg(m_Db.Handle()));
        return false;
    }
    // A row saved after the cleared flags could not be: it carries its own SolvedCount.
    m_Unsaved.erase(row.Auto1);
    ++m_Writes;
    return true;
}

bool THistoryStore::ClearAllSolved() {
    if (m_ReadOnly || !m_Db.Exec("UPDATE tblHistory SET SolvedCount = 0 WHERE SolvedCount IS NOT 0")) {
        WriteFailed(m_ReadOnly ? "the file cannot be written" : m_Db.Error());
        m_SolvedClearedUnsaved = true;
        for (auto& [key, row] : m_Unsaved) row.SolvedCount = 0;
        return false;
    }
    ++m_Writes;
    return true;
}

int THistoryStore::Count() const {
    TSqliteStatement q = m_Db.Prepare("SELECT count(*) FROM tblHistory");
    return q.Ok() && q.Step() ? static_cast<int>(q.Int(0)) : 0;
}

std::optional<TReviewEntry> THistoryStore::Review(int32_t auto1) const {
    if (const auto unsaved = m_UnsavedReview.find(auto1); unsaved != m_UnsavedReview.end())
        return unsaved->second;
    if (!m_Db.IsOpen() || !m_Db.HasTable("tblReview")) return std::nullopt;
    TSqliteStatement q = m_Db.Prepare("SELECT Box, Due FROM tblReview WHERE Auto1 = ?");
    q.Bind(1, auto1);
    if (!q.Ok() || !q.Step()) return std::nullopt;
    return TReviewEntry{auto1, static_cast<int>(q.Int(0)), static_cast<int>(q.Int(1))};
}

bool THistoryStore::PostReview(const TReviewEntry& row) {
    // Kept for the session first, as the counters are, so a failed write loses nothing of it.
    m_UnsavedReview[row.Auto1] = row;
    if (!MakeTable("tblReview (Auto1 INTEGER PRIMARY KEY, Box INTEGER NOT NULL, "
                   "Due INTEGER NOT NULL)"))
        return false;
    TSqliteStatement q = m_Db.Prepare("INSERT OR REPLACE INTO tblReview VALUES (?, ?, ?)");
    q.Bind(1, row.Auto1);
    q.Bind(2, row.Box);
    q.Bind(3, row.Due);
    if (!RunWrite(q)) return false;
    m_UnsavedReview.erase(row.Auto1);
    return true;
}

bool THistoryStore::RemoveReview(int32_t auto1) {
    m_UnsavedReview[auto1] = std::nullopt;
    if (!m_Db.IsOpen() || !m_Db.HasTable("tblReview")) {
        m_UnsavedReview.erase(auto1);
        return true;
    }
    if (m_ReadOnly) {
        WriteFailed("the file cannot be written");
        return false;
    }
    TSqliteStatement q = m_Db.Prepare("DELETE FROM tblReview WHERE Auto1 = ?");
    q.Bind(1, auto1);
    if (!RunWrite(q)) return false;
    m_UnsavedReview.erase(auto1);
    return true;
}

std::vector<TReviewEntry> THistoryStore::DueReviews(int today) const {
    std::vector<TReviewEntry> due;
    if (m_Db.IsOpen() && m_Db.HasTable("tblReview")) {
        TSqliteStatement q = m_Db.Prepare(
            "SELECT Auto1, Box, Due FROM tblReview WHERE Due <= ? ORDER BY Due, Auto1");
        q.Bind(1, today);
        while (q.Ok() && q.Step()) {
            const auto auto1 = static_cast<int32_t>(q.Int(0));
            if (!m_UnsavedReview.count(auto1))
                due.push_back({auto1, static_cast<int>(q.Int(1)), static_cast<int>(q.Int(2))});
        }
    }
    // What this session changed but could not save counts as it stands.
    for (const auto& [auto1, entry] : m_UnsavedReview)
        if (entry && entry->Due <= today) due.push_back(*entry);
    std::sort(due.begin(), due.end(), [](const TReviewEntry& a, const TReviewEntry& b) {
        return a.Due != b.Due ? a.Due < b.Due : a.Auto1 < b.Auto1;
    });
    return due;
}

std::optional<int> THistoryStore::BestTime(int32_t auto1) const {
    if (const auto unsaved = m_UnsavedBest.find(auto1); unsaved != m_UnsavedBest.end())
        return unsaved->second;
    if (m_ForgottenBest.count(auto1)) return std::nullopt;
    if (!m_Db.IsOpen() || !m_Db.HasTable("tblBestTime")) return std::nullopt;
    TSqliteStatement q = m_Db.Prepare("SELECT Seconds FROM tblBestTime WHERE Auto1 = ?");
    q.Bind(1, auto1);
    if (!q.Ok() || !q.Step()) return std::nullopt;
    return static_cast<int>(q.Int(0));
}

bool THistoryStore::PostBestTime(int32_t auto1, int seconds) {
    m_UnsavedBest[auto1] = seconds;
    m_ForgottenBest.erase(auto1);
    if (!MakeTable("tblBestTime (Auto1 INTEGER PRIMARY KEY, Seconds INTEGER NOT NULL)"))
        return false;
    TSqliteStatement q = m_Db.Prepare("INSERT OR REPLACE INTO tblBestTime VALUES (?, ?)");
    q.Bind(1, auto1);
    q.Bind(2, seconds);
    if (!RunWrite(q)) return false;
    m_UnsavedBest.erase(auto1);
    return true;
}

bool THistoryStore::PostAttempt(const TAttemptRow& row) {
    const auto keep = [&] {
        m_UnsavedAttempts.push_back(row);
        return false;
    };
    if (!MakeTable("tblAttempt (Id INTEGER PRIMARY KEY, Auto1 INTEGER NOT NULL, Began TEXT NOT NULL, "
                   "Ended TEXT NOT NULL, Result INTEGER NOT NULL, Failures INTEGER NOT NULL, "
                   "Hints INTEGER NOT NULL, Takebacks INTEGER NOT NULL, Seconds INTEGER NOT NULL, "
                   "Orientation INTEGER NOT NULL)"))
        return keep();
    TSqliteStatement q = m_Db.Prepare("INSERT INTO tblAttempt (Auto1, Began, Ended, Result, Failures, "
                                      "Hints, Takebacks, Seconds, Orientation) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    q.Bind(1, row.Auto1);
    q.Bind(2, row.Began);
    q.Bind(3, row.Ended);
    q.Bind(4, static_cast<int64_t>(row.Result));
    q.Bind(5, row.Failures);
    q.Bind(6, row.Hints);
    q.Bind(7, row.Takebacks);
    q.Bind(8, row.Seconds);
    q.Bind(9, row.Orientation);
    return RunWrite(q) || keep();
}

std::vector<TAttemptRow> THistoryStore::Attempts() const {
    std::vector<TAttemptRow> rows;
    if (m_Db.IsOpen() && m_Db.HasTable("tblAttempt")) {
        TSqliteStatement q = m_Db.Prepare("SELECT Auto1, Began, Ended, Result, Failures, Hints, "
                                          "Takebacks, Seconds, Orientation FROM tblAttempt ORDER BY Id");
        while (q.Ok() && q.Step()) {
            TAttemptRow row;
            row.Auto1 = static_cast<int32_t>(q.Int(0));
            if (m_ForgottenAttempts.count(row.Auto1)) continue;
            row.Began = q.Text(1);
            row.Ended = q.Text(2);
            const int64_t result = q.Int(3);
            row.Result = result >= 0 && result <= 3 ? static_cast<TAttemptResult>(result)
                                                    : TAttemptResult::Abandoned;
            row.Failures = static_cast<int>(q.Int(4));
            row.Hints = static_cast<int>(q.Int(5));
            row.Takebacks = static_cast<int>(q.Int(6));
            row.Seconds = static_cast<int>(q.Int(7));
            row.Orientation = static_cast<int>(q.Int(8));
            rows.push_back(std::move(row));
        }
    }
    rows.insert(rows.end(), m_UnsavedAttempts.begin(), m_UnsavedAttempts.end());
    return rows;
}

std::optional<TSolverVerdictRow> THistoryStore::SolverVerdict(int32_t auto1,
                                                              const std::string& position) const {
    if (const auto unsaved = m_UnsavedVerdicts.find({auto1, position});
        unsaved != m_UnsavedVerdicts.end())
        return unsaved->second;
    if (m_ForgottenVerdicts.count(auto1)) return std::nullopt;
    if (!m_Db.IsOpen() || !m_Db.HasTable("tblSolverVerdict")) return std::nullopt;
    TSqliteStatement q = m_Db.Prepare("SELECT Verdict, Line, Ends, BudgetMs FROM tblSolverVerdict "
                                      "WHERE Auto1 = ? AND Position = ?");
    q.Bind(1, auto1);
    q.Bind(2, position);
    if (!q.Ok() || !q.Step()) return std::nullopt;
    return TSolverVerdictRow{auto1, position, static_cast<int>(q.Int(0)), q.Text(1), q.Int(2) != 0,
                             static_cast<int>(q.Int(3))};
}

std::vector<TSolverVerdictRow> THistoryStore::SolverVerdicts(int32_t auto1) const {
    std::map<std::string, TSolverVerdictRow> rows;
    if (!m_ForgottenVerdicts.count(auto1) && m_Db.IsOpen() && m_Db.HasTable("tblSolverVerdict")) {
        TSqliteStatement q = m_Db.Prepare("SELECT Position, Verdict, Line, Ends, BudgetMs FROM "
                                          "tblSolverVerdict WHERE Auto1 = ? ORDER BY Position");
        q.Bind(1, auto1);
        while (q.Ok() && q.Step())
            rows[q.Text(0)] = {auto1, q.Text(0), static_cast<int>(q.Int(1)), q.Text(2), q.Int(3) != 0,
                               static_cast<int>(q.Int(4))};
    }
    for (const auto& [key, row] : m_UnsavedVerdicts)
        if (key.first == auto1) rows[key.second] = row;
    std::vector<TSolverVerdictRow> all;
    for (auto& [position, row] : rows)
        all.push_back(std::move(row));
    return all;
}

bool THistoryStore::PostSolverVerdict(const TSolverVerdictRow& row) {
    m_UnsavedVerdicts[{row.Auto1, row.Position}] = row;
    if (!MakeTable("tblSolverVerdict (Auto1 INTEGER NOT NULL, Position TEXT NOT NULL, "
                   "Verdict INTEGER NOT NULL, Line TEXT NOT NULL, Ends INTEGER NOT NULL, "
                   "BudgetMs INTEGER NOT NULL, PRIMARY KEY (Auto1, Position))"))
        return false;
    TSqliteStatement q = m_Db.Prepare("INSERT OR REPLACE INTO tblSolverVerdict VALUES (?, ?, ?, ?, ?, ?)");
    q.Bind(1, row.Auto1);
    q.Bind(2, row.Position);
    q.Bind(3, row.Verdict);
    q.Bind(4, row.Line);
    q.Bind(5, row.Ends ? 1 : 0);
    q.Bind(6, row.BudgetMs);
    if (!RunWrite(q)) return false;
    m_UnsavedVerdicts.erase({row.Auto1, row.Position});
    return true;
}

bool THistoryStore::DeleteRowsOf(const char* table, int32_t auto1, std::set<int32_t>& forgotten) {
    if (!m_Db.IsOpen() || !m_Db.HasTable(table)) return true;
    bool deleted = !m_ReadOnly;
    if (deleted) {
        TSqliteStatement q = m_Db.Prepare(std::string("DELETE FROM ") + table + " WHERE Auto1 = ?");
        q.Bind(1, auto1);
        deleted = RunWrite(q);
    }
    // Not deleted: not read back this session all the same.
    if (!deleted) forgotten.insert(auto1);
    return deleted;
}

bool THistoryStore::ForgetReviewAndBestTime(const std::vector<int32_t>& keys) {
    bool saved = true;
    for (const int32_t auto1 : keys) {
        saved &= RemoveReview(auto1);
        m_UnsavedBest.erase(auto1);
        std::erase_if(m_UnsavedVerdicts, [auto1](const auto& entry) { return entry.first.first == auto1; });
        std::erase_if(m_UnsavedAttempts, [auto1](const TAttemptRow& row) { return row.Auto1 == auto1; });
        saved &= DeleteRowsOf("tblBestTime", auto1, m_ForgottenBest);
        saved &= DeleteRowsOf("tblSolverVerdict", auto1, m_ForgottenVerdicts);
        saved &= DeleteRowsOf("tblAttempt", auto1, m_ForgottenAttempts);
    }
    return saved;
}

bool THistoryStore::MakeTable(const std::string& definition) {
    if (m_ReadOnly || !m_Db.Exec("CREATE TABLE IF NOT EXISTS " + definition)) {
        WriteFailed(m_ReadOnly ? "the file cannot be written" : m_Db.Error());
        return false;
    }
    return true;
}

bool THistoryStore::RunWrite(TSqliteStatement& q) {
    if (!q.Ok() || !q.Run()) {
        WriteFailed(sqlite3_errmsg(m_Db.Handle()));
        return false;
    }
    ++m_Writes;
    return true;
}

} // namespace karvena
