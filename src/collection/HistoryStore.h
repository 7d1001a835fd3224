#pragma once
// tblHistory: the player's counters per problem, in the SQLite file "History1.cds". Every post
// is its own transaction in a WAL journal with full sync, so what was posted survives a crash,
// a kill or a power cut. A file that cannot be read as a history is never overwritten: it is
// moved aside and an empty history is started.
#include <array>
#include <cstdint>
#include <functional>
#include <algorithm>
#include <map>
#include <set>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

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

// A problem in the review of failed problems: its box (1 .. 5) and the local day number it falls
// due (solving/Review.h has the schedule).
struct TReviewEntry {
    int32_t Auto1 = 0;
    int Box = 1;
    int Due = 0;
    friend bool operator==(const TReviewEntry&, const TReviewEntry&) = default;
};

// A position the solver judged for a problem, kept so that it is judged once: the moves from the
// problem's start as the tree writes them (or "goal" for the goal the problem was judged under),
// the verdict and the line as the solver gives them, and the budget it had.
struct TSolverVerdictRow {
    int32_t Auto1 = 0;
    std::string Position;
    int Verdict = 0;
    std::string Line;
    bool Ends = false;
    int BudgetMs = 0;
    friend bool operator==(const TSolverVerdictRow&, const TSolverVerdictRow&) = default;
};

// One go at a problem, from loading it to solving it or leaving it: when (local time,
// "YYYY-MM-DDTHH:MM:SS"), how it ended, what it took, and the orientation it was shown in.
enum class TAttemptResult { Clean = 0, WithHelp = 1, Failure = 2, Abandoned = 3 };
struct TAttemptRow {
    int32_t Auto1 = 0; // the problem's history key
    std::string Began, Ended;
    TAttemptResult Result = TAttemptResult::Abandoned;
    int Failures = 0, Hints = 0, Takebacks = 0, Seconds = 0, Orientation = 0;
    friend bool operator==(const TAttemptRow&, const TAttemptRow&) = default;
};

// What opening the history found.
struct THistoryOpen {
    bool Ok = false;
    bool Created = false;   // there was no file: an empty history was made
    bool ReadOnly = false;  // it can be read but not written: changes stay in memory
    std::string MovedAside; // the path a broken file was moved to, empty when none was
    std::string Error;      // why it could not be opened at all
};

enum class THistoryAccess { ReadWrite, ReadOnly };

class THistoryStore {
public:
    // Opens (or creates) the history file at `path`. A file that is no history database is
    // moved aside as "<path>.broken-<date-time>" and a new one started. A history that can be
    // read but not written (or is opened ReadOnly) is used as it is: changes are kept in memory
    // for the session and OnWriteFailed is told.
    THistoryOpen Open(const std::string& path, THistoryAccess access = THistoryAccess::ReadWrite);
    // Called once, the first time a change cannot be saved (or the history is read-only), with
    // the file's path and the reason.
    std::function<void(const std::string& path, const std::string& reason)> OnWriteFailed;
    // How long a history locked by another program is waited for before it is used read-only.
    int BusyWaitMilliseconds = 3000;
    // True once a change could not be saved.
    bool SaveFailed() const { return m_SaveFailed; }
    // Why the first change could not be saved.
    const std::string& WriteError() const { return m_WriteError; }
    bool IsOpen() const { return m_Db.IsOpen(); }
    const std::string& Path() const { return m_Path; }

    // The row of a problem as this session knows it (a change that could not be saved included);
    // null counters read as 0.
    std::optional<THistoryRow> Find(int32_t auto1) const;
    // Which keys have a row, and which of them were solved (as Find would give them), read in
    // one pass: listing a group of tens of thousands of problems asks this once instead of a
    // lookup per problem.
    struct TSolvedKeys {
        std::vector<int32_t> Known;  // sorted
        std::vector<int32_t> Solved; // sorted, SolvedCount > 0
        bool Has(int32_t key) const { return std::binary_search(Known.begin(), Known.end(), key); }
        bool IsSolved(int32_t key) const {
            return std::binary_search(Solved.begin(), Solved.end(), key);
        }
    };
    TSolvedKeys SolvedKeys() const;
    // Appends a row with only Auto1 set; false when it is there already or cannot be written.
    bool Append(int32_t auto1);
    // Appends rows for all these keys in one transaction: after a crash either all are there or
    // none; false when they could not be written.
    bool AppendAll(const std::vector<int32_t>& keys);
    // Writes the row's counters when they differ from the stored ones; durable on return.
    // Nothing is written when nothing changed. False when it could not be written; the row is
    // then kept in memory for the session.
    bool Post(const THistoryRow& row);
    // Sets every row's SolvedCount to 0 in one transaction; false when it could not be written
    // (the session then reads every SolvedCount as 0 all the same).
    bool ClearAllSolved();
    // Number of rows.
    int Count() const;

    // The review of failed problems, kept in the same file (its table is made at the first
    // change, so a history from before it opens as it is): a key's box and due day, or nothing.
    std::optional<TReviewEntry> Review(int32_t auto1) const;
    // Stores a key's box and due day, durable on return; false when it could not be written.
    bool PostReview(const TReviewEntry& row);
    // Takes a key out of the review.
    bool RemoveReview(int32_t auto1);
    // The fastest clean solve of a problem in seconds (its table made at the first one).
    std::optional<int> BestTime(int32_t auto1) const;
    bool PostBestTime(int32_t auto1, int seconds);
    // The attempt log (its table made at the first attempt): appended durably, kept in memory
    // for the session when it cannot be written; all of it in the order played.
    bool PostAttempt(const TAttemptRow& row);
    std::vector<TAttemptRow> Attempts() const;
    // The solver's verdict on a position of a problem (its table made at the first one).
    std::optional<TSolverVerdictRow> SolverVerdict(int32_t auto1, const std::string& position) const;
    bool PostSolverVerdict(const TSolverVerdictRow& row);
    // Every verdict kept for a problem, by position.
    std::vector<TSolverVerdictRow> SolverVerdicts(int32_t auto1) const;
    // Takes problems out of the review and forgets their best times, their attempts and the
    // solver's verdicts (their group was removed); false when something could not be written (it is then
    // forgotten for the session).
    bool ForgetReviewAndBestTime(const std::vector<int32_t>& keys);
    // Histories from before the imported problems had a key space of their own kept their rows
    // at the bare key: KeySpacesSeparate is false until MoveImportedRows ran once. It copies the
    // rows (counters, review, best time) of each imported key to `base` + key, and drops the bare
    // row unless a problem of the bundled collection has that key too (then both keep the
    // counts, as both showed them). One transaction; false when it could not be written (the
    // rows then stay as they are).
    bool KeySpacesSeparate() const;
    bool MoveImportedRows(const std::vector<int32_t>& importedKeys,
                          const std::set<int32_t>& bundledKeys, int32_t base);
    // The keys due on `today` or before, earliest first.
    std::vector<TReviewEntry> DueReviews(int today) const;
    // How many posts actually wrote (for tests and the benchmark).
    int Writes() const { return m_Writes; }

private:
    bool CreateSchema();
    bool HasHistorySchema() const;
    std::optional<THistoryRow> FindStored(int32_t auto1) const;
    void WriteFailed(const std::string& reason);
    // The tables added after the first version are made at their first change ("name (columns)").
    bool MakeTable(const std::string& definition);
    // Deletes a problem's rows of a later table; when that cannot be done, the problem goes into
    // `forgotten`, which the session's reads skip. False when not deleted.
    bool DeleteRowsOf(const char* table, int32_t auto1, std::set<int32_t>& forgotten);
    // Runs a write, counting it or reporting why it failed.
    bool RunWrite(TSqliteStatement& q);
    TSqliteDb m_Db;
    // The lookup by key, prepared once: a group of ten thousand problems asks it ten thousand
    // times.
    mutable std::unique_ptr<TSqliteStatement> m_Find;
    std::string m_Path;
    int m_Writes = 0;
    bool m_SaveFailed = false;
    std::string m_WriteError;
    bool m_ReadOnly = false;
    // What this session changed but could not save.
    std::map<int32_t, THistoryRow> m_Unsaved;
    // The review entries (none: taken out) and best times changed but not saved.
    std::map<int32_t, std::optional<TReviewEntry>> m_UnsavedReview;
    std::map<int32_t, int> m_UnsavedBest;
    std::set<int32_t> m_ForgottenBest; // best times deleted this session but still stored
    std::map<std::pair<int32_t, std::string>, TSolverVerdictRow> m_UnsavedVerdicts;
    std::set<int32_t> m_ForgottenVerdicts;
    std::vector<TAttemptRow> m_UnsavedAttempts;
    std::set<int32_t> m_ForgottenAttempts;
    bool m_SolvedClearedUnsaved = false;
};

// Where the history lives: beside the program when that folder is writable, else in the
// per-user data folder (created when missing).
struct THistoryPlace {
    std::string Path;
    // A history beside a read-only program folder copied to the user's folder on this start
    // (empty when none was), and why a copy failed.
    std::string TakenOverFrom;
    std::string TakeOverError;
};
THistoryPlace HistoryPlace(const std::string& programFolder, const std::string& userDataFolder,
                           bool programFolderWritable);
// Whether the program may write into a folder.
bool FolderWritable(const std::string& folder);

} // namespace karvena
