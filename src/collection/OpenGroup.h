#pragma once
// Opening a level group: read the collection archive beside the program, make sure every
// problem of the group has a history row, and build the index lines the problem index shows.
#include <memory>
#include <string>
#include <vector>

#include "collection/HistoryStore.h"
#include "collection/ProblemStore.h"
#include "index/IndexLine.h"

namespace karvena {

enum class TOpenGroupStatus {
    Ok,
    MissingArchive, // no archive file
    BadArchive,     // not a ZIP, wrong password, no member, or a member that is no database
    NoProblemTable, // the database has no problem table
};

struct TOpenGroupResult {
    TOpenGroupStatus Status = TOpenGroupStatus::Ok;
    std::string ArchivePath;
    std::string Detail; // what the reader said, for BadArchive
    // The index lines of a group listed whole; a large group comes as its solved flags (one per
    // line) and the source of its lines instead (TGoIndexModel::SetListing).
    std::vector<std::string> Lines;
    std::vector<bool> Solved;
    std::shared_ptr<const IIndexLineSource> Source;
    // The failures that play the error sound.
    bool ErrorSound() const {
        return Status == TOpenGroupStatus::BadArchive || Status == TOpenGroupStatus::NoProblemTable;
    }
};

// The index line of a problem (BuildIndexLine): key in hex, "0", the solved flag, then the
// result, the black and white stones, the initial moves, the first side as the solve loop reads
// it, and the board's lines when they are not 19.
std::string IndexLineOf(const TProblemRow& row, bool solved);
std::string IndexLineOf(const TProblemStore::TListedRow& row, bool solved);

// Opens the archive in `programFolder` into `problems` and lists `group`, appending missing
// history rows (the next group's first problem gets its row too). With a cache folder the
// problem table is kept there decrypted and opened from it (CachedMember).
TOpenGroupResult OpenGroup(const std::string& programFolder, int group, TProblemStore& problems,
                           THistoryStore& history, const std::string& cacheFolder = "");

// Lists `group` of an open problem table into `result` (its Lines, or BadArchive when the table
// is damaged), appending missing history rows as OpenGroup does. A group of more than
// `wholeUpTo` problems is listed by its keys, its lines left to `result.Source`, which reads
// them from `problems` where it lies (GroupLines again for a store moved elsewhere).
constexpr int kListWholeUpTo = 2000;
void ListGroup(const TProblemStore& problems, int group, THistoryStore& history,
               TOpenGroupResult& result, int wholeUpTo = kListWholeUpTo);

// The lines of `group` read from `problems`, a block at a time.
std::shared_ptr<const IIndexLineSource> GroupLines(const TProblemStore& problems, int group);

// The message a failed opening shows, in English or Chinese; empty for Ok.
std::string OpenGroupMessage(const TOpenGroupResult& result, bool english);

} // namespace karvena
