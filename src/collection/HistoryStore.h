#pragma once
// tblHistory: the player's counters per problem, in the SQLite file "History1.cds". Every post
// is its own transaction in a WAL journal with full sync, so what was posted survives a crash,
// a kill or a power cut. A file that cannot be read as a history is never overwritten: it is
// moved aside and an empty history is started.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "collection/Sqlite.h"

namespace karvena {

inline constexpr const char* kHistoryFileName = "History1.cds";

struct THistoryRow {
    int32_t Auto1 = 0;
    int32_t FailedCount = 0;
    int32_t Hint0Count = 0;
    int32_t Hint1Count = 0;
    int32_t Hint2Count = 0;
    int32_t SolvedCount = 0;
    int32_t FailedCountBeforeSolve = 0;
    int32_t Hint0CountBeforeSolve = 0;
    int32_t Hint1CountBeforeSolve = 0;
    int32_t Hint2CountBeforeSolve = 0;
    int32_t TakebackBeforeSolve = 0;
    int32_t StudyBeforeSolve = 0;
    friend bool operator==(const THistoryRow&, const THistoryRow&) = default;
};

// What opening the history found.
struct THistoryOpen {
    bool Ok = false;
    bool Created = false;   // there was no file: an empty history was made
    std::string MovedAside; // the path a broken file was moved to, empty when none was
    std::string Error;      // why it could not be opened at all
};

class THistoryStore {
public:
    // Opens (or creates) the history file at `path`. A file that is no history database is
    // moved aside as "<path>.broken-<date-time>" and a new one started.
    THistoryOpen Open(const std::string& path);
    bool IsOpen() const { return m_Db.IsOpen(); }
    const std::string& Path() const { return m_Path; }

    // The row of a problem; null counters read as 0.
    std::optional<THistoryRow> Find(int32_t auto1) const;
    // Appends a row with only Auto1 set; false when it is there already or cannot be written.
    bool Append(int32_t auto1);
    // Writes the row's counters when they differ from the stored ones; durable on return.
    // Nothing is written when nothing changed. False when it could not be written.
    bool Post(const THistoryRow& row);
    // Sets every row's SolvedCount to 0 in one transaction; false when it could not be written.
    bool ClearAllSolved();
    // Number of rows.
    int Count() const;
    // How many posts actually wrote (for tests and the benchmark).
    int Writes() const { return m_Writes; }

private:
    bool CreateSchema();
    bool HasHistorySchema() const;
    TSqliteDb m_Db;
    std::string m_Path;
    int m_Writes = 0;
};

// Where the history lives: beside the program when that folder is writable, else in the
// per-user data folder (created when missing).
std::string HistoryPath(const std::string& programFolder, const std::string& userDataFolder);

} // namespace karvena
