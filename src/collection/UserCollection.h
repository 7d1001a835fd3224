#pragma once
// The player's own problems, imported from SGF files and folders next to the bundled collection:
// an SQLite file ("Imported.cds") with the problem table, the imported level groups by name, and
// a fingerprint of every imported problem so a second import of the same files adds nothing.
// Keys start at 0x8000, away from the bundled keys, and never change, so history rows stay
// valid. Every import and removal writes a new file beside the old one and renames it into
// place: a failed or cancelled one leaves the old file byte for byte.
#include <functional>
#include <string>
#include <vector>

#include "collection/ProblemStore.h"
#include "collection/SgfImport.h"

namespace karvena {

inline constexpr const char* kUserCollectionName = "Imported.cds";
// Imported groups are numbered from here; the bundled ones are 0 to 4.
inline constexpr int kFirstImportedGroup = 100;
inline constexpr int32_t kFirstImportedKey = 0x8000;
// The imported problems' key space in the history, apart from the bundled one: key + base.
inline constexpr int32_t kImportedHistoryBase = 0x10000;

struct TImportedGroup {
    int Group = 0;
    std::string Name; // the folder it came from ("tsumego/elementary")
    int Count = 0;
};

struct TImportSummary {
    bool Cancelled = false;
    std::string Error; // set when nothing was written, with why
    // What was added: group, its name, how many problems.
    std::vector<TImportedGroup> Added;
    int AlreadyThere = 0;              // problems found in the collection already
    std::vector<std::string> Skipped;  // "file:row:col: why" for files and problems left out
    std::vector<std::string> Warnings; // what was left out of imported problems
    int Files = 0;
    // The first group that received problems (0 when none did).
    int FirstGroup() const { return Added.empty() ? 0 : Added.front().Group; }
};

class TUserCollection {
public:
    explicit TUserCollection(std::string path = "") : m_Path(std::move(path)) {}
    const std::string& Path() const { return m_Path; }
    void SetPath(std::string path) { m_Path = std::move(path); }

    // The imported groups in group order; empty when there is no collection yet.
    std::vector<TImportedGroup> Groups() const;
    // Opens the problem table for reading; false when there is none.
    bool OpenStore(TProblemStore& store) const;

    // Reads the inputs (SGF files, folders and everything below them) and adds their problems:
    // one group per folder, named after it. `progress` is told (files read, files in all) after
    // every file and may return false to cancel. The collection file changes only when the
    // whole import succeeds.
    TImportSummary Import(const std::vector<std::string>& inputs,
                          const std::function<bool(int done, int total)>& progress = {});
    // What an imported problem must pass to be added (the trainer hands in the collection
    // tool's check); none: every problem read is added.
    TProblemCheck Check;
    // Removes an imported group and its problems; an empty string, else why not.
    std::string RemoveGroup(int group);

    // The highest key an import may give (the index line carries four hex digits); tests lower it.
    int32_t MaxKey = 0xFFFF;

private:
    // Copies the collection (or makes an empty one) to a temporary file, lets `change` work on
    // it in one transaction, and renames it into place; an empty string, else why not.
    std::string Rewrite(const std::function<std::string(TSqliteDb& db)>& change);
    std::string m_Path;
};

} // namespace karvena
