#pragma once
// tblProblems: the problem collection, an SQLite database opened read-only from the archive's
// member bytes. Rows are looked up by Auto1 and listed by level group in the order
// Group1, Level1, Num.
#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "collection/Sqlite.h"

namespace karvena {

struct TProblemRow {
    int32_t Auto1 = 0;
    int32_t Group1 = 0;
    int32_t Level1 = 0;
    int32_t Num = 0;
    std::string ArrangedBlack;
    std::string ArrangedWhite;
    std::string Initial;
    std::string FirstToPlay;
    int32_t Flag = 0;
    int32_t NotGood = 0;
    std::vector<uint8_t> Solution;
    int32_t Tag = 0;
    int32_t Id1 = 0;
    // 0 dies, 1 lives, 2 killed by ko, 3 lives by ko; an imported problem whose answer is a ko
    // but states no goal has kResultKoGoalUnstated.
    std::optional<int32_t> Result2;
    int32_t SenteGoteKind = 0;
    int32_t ValueKind = 0;
    int32_t Value1 = 0;
    int32_t Value2 = 0;
    // The author's comments (EncodeComments) and the board's size, 7 to 19 lines: the player's
    // imported collection keeps them beside the table (tblProblemExtras), which has no columns
    // for them.
    std::string Comments;
    int32_t BoardSize = 19;
};

// What makes two problems the same, as 16 hexadecimal digits: the position, the side to play, the
// tree and the board's size (a 64-bit FNV-1a hash).
std::string ProblemFingerprint(const TProblemRow& row);

constexpr int32_t kResultKoGoalUnstated = 4;
// A goal the problem does not state, found by the solver from its tree when the collection was
// built (the player is never told it as the problem's word): kill, live, and the same where the
// answer is a ko.
constexpr int32_t kResultDerivedKill = 5;
constexpr int32_t kResultDerivedLive = 6;
constexpr int32_t kResultDerivedKoKill = 7;
constexpr int32_t kResultDerivedKoLive = 8;
constexpr int32_t DerivedResult(bool kill, bool ko) {
    return ko ? (kill ? kResultDerivedKoKill : kResultDerivedKoLive) : (kill ? kResultDerivedKill : kResultDerivedLive);
}
constexpr bool DerivedKill(int32_t result) { return result == kResultDerivedKill || result == kResultDerivedKoKill; }

// The schema of the collection database: tblProblems with its two indexes, and tblProverb.
extern const char* const kProblemSchema;
// What an imported problem has beyond the table's columns: its author's comments, its board size.
extern const char* const kProblemExtrasSchema;

// The whole table as a worker made it: a cached copy to open, or the bytes themselves when no
// copy could be written, or why neither could be had.
struct TFullTable {
    std::string Path;
    uint64_t SolutionKey = 0;
    std::vector<uint8_t> Bytes;
    std::string Error;
};
// Makes the whole table; returns early, with nothing, once `cancel` is set.
using TMakeFullTable = std::function<TFullTable(const std::atomic<bool>& cancel)>;

class TProblemStore {
public:
    TProblemStore() = default;
    ~TProblemStore() { Close(); }
    TProblemStore(TProblemStore&&) noexcept = default;
    // Takes the other's table; a table this one was making is stopped first.
    TProblemStore& operator=(TProblemStore&& other) noexcept;
    // Opens the database image; false when the bytes are no SQLite database.
    bool Open(const std::vector<uint8_t>& image);
    // Opens a collection database file for reading (the player's imported problems, or the
    // cached table, whose Solution blobs are scrambled with `solutionKey`, undone as read).
    bool OpenFile(const std::string& path, uint64_t solutionKey = 0);
    // Opens the listing image (what the index shows, no answers) and has `make` bring the whole
    // table on a worker thread meanwhile: every listing reads the listing, the first read of a
    // whole row waits for the table. False when the image is no database.
    bool OpenListing(const std::vector<uint8_t>& listing, TMakeFullTable make);
    // True while the whole table is still being made.
    bool MakingFullTable() const { return m_Full.valid(); }
    // Waits for the whole table being made, if it is, and reads from it from then on; false,
    // with ReadError, when it could not be had.
    bool FinishFullTable() const;
    // Closes the table; a table being made is stopped first.
    void Close();
    bool IsOpen() const { return m_Db.IsOpen(); }
    // True when the database holds tblProblems with its fields.
    bool HasProblemTable() const;
    // The problem with this key.
    std::optional<TProblemRow> Find(int32_t auto1) const;
    // The rows of a group in order, followed by the first row of the next group when there is
    // one (its history row is created with the group's); empty when the group has no rows.
    // The rows come without their Solution: Find gives the whole row.
    std::vector<TProblemRow> GroupWithNext(int32_t group) const;
    // The same rows, what an index line shows of each, handed to `row` one by one without a
    // copy (the texts are valid during the call); nothing for a group without rows.
    struct TListedRow {
        int32_t Auto1 = 0, Group1 = 0, Level1 = 0, Num = 0;
        std::string_view ArrangedBlack, ArrangedWhite, Initial, FirstToPlay;
        std::optional<int32_t> Result2;
        int32_t BoardSize = 19;
        // The listed fields of a whole row, and back (the other fields left as they start).
        static TListedRow Of(const TProblemRow& row);
        TProblemRow Row() const;
    };
    void ListGroupWithNext(int32_t group, const std::function<void(const TListedRow&)>& row) const;
    // Rows [first, first + count) of the group alone, in the same order.
    void ListGroupRange(int32_t group, int first, int count,
                        const std::function<void(const TListedRow&)>& row) const;
    // The keys of ListGroupWithNext's rows, in its order, and the group of each (read from the
    // narrow ByGroupKeys index where the table has it).
    std::vector<std::pair<int32_t, int32_t>> KeysOfGroupWithNext(int32_t group) const;
    // The keys of a group's problems (any order): what a count needs, without the rows.
    std::vector<int32_t> KeysOfGroup(int32_t group) const;
    // Every problem's key and level, in key order (the whole collection, every group).
    std::vector<std::pair<int32_t, int32_t>> KeysAndLevels() const;
    // The groups that have problems, in order.
    std::vector<int32_t> GroupNumbers() const;
    const std::string& Error() const { return m_Db.Error(); }
    // Set when a lookup or listing stopped on a damaged database (what SQLite said); a failed
    // read is never taken for a shorter table.
    const std::string& ReadError() const { return m_ReadError; }
    // Every key of the table, in order.
    std::vector<int32_t> Keys() const;

    // The history keeps each collection's problems in a key space of its own: a row's history
    // key is its key plus the collection's base (0 for the bundled or built collection), or the
    // key given for it (the review's table, whose rows come from several collections).
    int32_t HistoryBase = 0;
    std::unordered_map<int32_t, int32_t> HistoryKeys;
    int32_t HistoryKeyOf(int32_t auto1) const {
        const auto given = HistoryKeys.find(auto1);
        return given != HistoryKeys.end() ? given->second : HistoryBase + auto1;
    }

private:
    // Notes a statement that ended in an error.
    void Check(const TSqliteStatement& q) const;
    // The listing's query: what an index line shows, in the group's order, `where` and `tail`
    // placed around the order.
    TSqliteStatement PrepareListing(const std::string& where, const std::string& tail) const;
    static TListedRow ListedRowOf(const TSqliteStatement& q);
    // Stops the table being made, if it is, and forgets it.
    void StopMakingFullTable();
    // The whole table replaces the listing when it arrives, behind a reader's const call.
    mutable TSqliteDb m_Db;
    mutable std::string m_ReadError;
    mutable uint64_t m_SolutionKey = 0;
    mutable std::future<TFullTable> m_Full;
    std::shared_ptr<std::atomic<bool>> m_Cancel;
};

// Inserts a problem row into a collection database; false with `error` for a key outside
// 0..65535 or a key already present.
bool InsertProblem(TSqliteDb& db, const TProblemRow& row, std::string& error);

// Builds collection databases: the collection tool and the tests use it.
class TProblemTableWriter {
public:
    TProblemTableWriter();
    // Writes the table into a new database file instead, for collections too large to hold:
    // call Finish once every row is added.
    explicit TProblemTableWriter(const std::string& file);
    // Commits the rows of a file's table; false with Error() when it could not be written.
    bool Finish();
    // Adds a row; false (and nothing added) for a key outside 0..65535, which an index line
    // cannot carry, or a key already present.
    bool Add(const TProblemRow& row);
    // The database image for the archive.
    std::vector<uint8_t> Image() const { return m_Db.Serialize(); }
    const std::string& Error() const { return m_Error; }

private:
    TSqliteDb m_Db;
    std::string m_Error;
};

} // namespace karvena
