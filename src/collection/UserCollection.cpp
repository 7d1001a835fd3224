#include "collection/UserCollection.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <algorithm>
#include <map>

#include "collection/CollectionBuilder.h"
#include "collection/Sgf.h"
#include "collection/SgfImport.h"
#include "collection/SolutionBlob.h"

namespace karvena {

namespace fs = std::filesystem;

namespace {

constexpr const char* kUserSchema = R"(
CREATE TABLE IF NOT EXISTS tblGroups (Group1 INTEGER PRIMARY KEY, Name TEXT NOT NULL UNIQUE);
CREATE TABLE IF NOT EXISTS tblImported (Fingerprint TEXT PRIMARY KEY, Auto1 INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tblNext (Name TEXT PRIMARY KEY, Value INTEGER NOT NULL);
)";

// The next key and group number only ever grow: a removed group's keys are never given again,
// so no history row can come to stand for another problem.
int64_t Next(const TSqliteDb& db, const char* name, int64_t first) {
    TSqliteStatement q = db.Prepare("SELECT Value FROM tblNext WHERE Name = ?");
    q.Bind(1, name);
    return q.Step() ? std::max<int64_t>(q.Int(0), first) : first;
}
bool SetNext(TSqliteDb& db, const char* name, int64_t value) {
    TSqliteStatement q = db.Prepare("INSERT OR REPLACE INTO tblNext VALUES (?, ?)");
    q.Bind(1, name);
    q.Bind(2, value);
    return q.Run();
}

int64_t One(const TSqliteDb& db, const std::string& sql) {
    TSqliteStatement q = db.Prepare(sql);
    return q.Ok() && q.Step() ? q.Int(0) : 0;
}

} // namespace

std::vector<TImportedGroup> TUserCollection::Groups() const {
    std::vector<TImportedGroup> groups;
    std::error_code ignored;
    if (m_Path.empty() || !fs::exists(m_Path, ignored)) return groups;
    TSqliteDb db;
    if (!db.OpenFile(m_Path, false, true)) return groups;
    TSqliteStatement q = db.Prepare(
        "SELECT g.Group1, g.Name, (SELECT count(*) FROM tblProblems p WHERE p.Group1 = g.Group1) "
        "FROM tblGroups g ORDER BY g.Group1");
    while (q.Ok() && q.Step())
        groups.push_back({static_cast<int>(q.Int(0)), q.Text(1), static_cast<int>(q.Int(2))});
    return groups;
}

bool TUserCollection::OpenStore(TProblemStore& store) const {
    store.HistoryBase = kImportedHistoryBase;
    store.HistoryKeys.clear();
    std::error_code ignored;
    if (m_Path.empty() || !fs::exists(m_Path, ignored)) return false;
    return store.OpenFile(m_Path) && store.HasProblemTable();
}

std::string TUserCollection::Rewrite(const std::function<std::string(TSqliteDb& db)>& change) {
    if (m_Path.empty()) return "no place for the collection";
    const std::string temporary = m_Path + ".tmp-" + std::to_string(getpid());
    std::error_code ignored;
    fs::remove(temporary, ignored);
    auto fail = [&](const std::string& why) {
        fs::remove(temporary, ignored);
        return why;
    };
    if (fs::exists(m_Path, ignored)) {
        // A consistent copy of the old file, through SQLite.
        TSqliteDb old;
        std::string quoted;
        for (char c : temporary)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        if (!old.OpenFile(m_Path, false, true) || !old.Exec("VACUUM INTO '" + quoted + "'"))
            return fail("cannot copy " + m_Path + ": " + old.Error());
    }
    {
        TSqliteDb db;
        if (!db.OpenFile(temporary, true))
            return fail("cannot write " + temporary + ": " + db.Error());
        if (!db.HasTable("tblProblems") && !db.Exec(kProblemSchema))
            return fail("cannot write " + temporary + ": " + db.Error());
        if (!db.Exec(kUserSchema) || !db.Exec(kProblemExtrasSchema) || !db.Exec("BEGIN"))
            return fail("cannot write " + temporary + ": " + db.Error());
        const std::string why = change(db);
        if (!why.empty()) return fail(why);
        if (!db.Exec("COMMIT")) return fail("cannot write " + temporary + ": " + db.Error());
    }
    // Durable before it replaces the old one.
    if (FILE* f = std::fopen(temporary.c_str(), "rb")) {
        fsync(fileno(f));
        std::fclose(f);
    }
    std::error_code error;
    fs::rename(temporary, m_Path, error);
    if (error) return fail("cannot move the new collection into place: " + error.message());
    return "";
}

TImportSummary TUserCollection::Import(const std::vector<std::string>& inputs,
                                       const std::function<bool(int, int)>& progress) {
    TImportSummary summary;
    const std::vector<TSourceFile> files = ListSgfFiles(inputs, summary.Skipped);
    summary.Files = static_cast<int>(files.size());

    // Read everything first: nothing is written until every file has been read.
    std::vector<std::string> folders; // in the order met
    std::map<std::string, std::vector<TProblemRow>> byFolder;
    size_t read = 0;
    bool tooMany = false;
    for (size_t i = 0; i < files.size(); ++i) {
        if (!byFolder.count(files[i].Folder)) folders.push_back(files[i].Folder);
        std::vector<TProblemRow>& rows = byFolder[files[i].Folder];
        const size_t before = rows.size();
        // Game by game: each problem is kept as its row and compact tree, the rest let go.
        TFileImport imported = ImportSgfFile(
            files[i].Path,
            [&](TImportedProblem&& problem) {
                // A problem the trainer could never set up or solve is left out, and said so.
                if (!PassesCheck(problem, Check, summary.Skipped)) return true;
                // More than the keys could ever hold: stop reading, nothing will be written.
                if (++read > static_cast<size_t>(MaxKey - kFirstImportedKey + 1)) {
                    tooMany = true;
                    return false;
                }
                TProblemRow row = std::move(problem.Row);
                row.Solution = SaveSolution(problem.Tree);
                row.Comments = EncodeComments(problem.Comments);
                rows.push_back(std::move(row));
                return true;
            },
            [&] { return !progress || progress(static_cast<int>(i), summary.Files); });
        summary.Skipped.insert(summary.Skipped.end(), imported.Skipped.begin(),
                               imported.Skipped.end());
        summary.Warnings.insert(summary.Warnings.end(), imported.Warnings.begin(),
                                imported.Warnings.end());
        // A file that breaks adds nothing, as before it was read in one piece.
        if (imported.Broken) rows.resize(before);
        if (tooMany) {
            summary.Error = "more than " + std::to_string(MaxKey - kFirstImportedKey + 1) +
                            " problems to import (keys up to " + std::to_string(MaxKey) +
                            "): nothing was imported";
            return summary;
        }
        if (imported.Cancelled) {
            summary.Cancelled = true;
            return summary;
        }
        if (progress && !progress(static_cast<int>(i + 1), summary.Files)) {
            summary.Cancelled = true;
            return summary;
        }
    }
    if (files.empty()) {
        summary.Error = "no SGF file was found";
        return summary;
    }
    // Nothing read, nothing to write: the collection stays as it was (or is not made at all).
    bool anything = false;
    for (const auto& [folder, rows] : byFolder) anything |= !rows.empty();
    if (!anything) return summary;

    std::vector<TImportedGroup> added;
    int alreadyThere = 0;
    int written = 0;
    const std::string kCancelled = "cancelled";
    const std::string why = Rewrite([&](TSqliteDb& db) -> std::string {
        int32_t nextKey = static_cast<int32_t>(Next(db, "Key", kFirstImportedKey));
        int nextGroup = static_cast<int>(Next(db, "Group", kFirstImportedGroup));
        std::string error;
        for (const std::string& folder : folders) {
            // The folder's group: the one imported from it before, else a new one.
            TSqliteStatement find = db.Prepare("SELECT Group1 FROM tblGroups WHERE Name = ?");
            find.Bind(1, folder);
            int group = find.Step() ? static_cast<int>(find.Int(0)) : 0;
            int number = 0;
            TImportedGroup counted;
            for (TProblemRow& row : byFolder[folder]) {
                const std::string print = ProblemFingerprint(row);
                TSqliteStatement seen = db.Prepare("SELECT 1 FROM tblImported WHERE Fingerprint = ?");
                seen.Bind(1, print);
                if (seen.Step()) {
                    ++alreadyThere;
                    continue;
                }
                if (nextKey > MaxKey)
                    return "the collection would pass " + std::to_string(MaxKey - kFirstImportedKey + 1) +
                           " imported problems (keys up to " + std::to_string(MaxKey) +
                           "): nothing was imported";
                if (!group) {
                    group = nextGroup++;
                    TSqliteStatement make = db.Prepare("INSERT INTO tblGroups VALUES (?, ?)");
                    make.Bind(1, group);
                    make.Bind(2, folder);
                    if (!make.Run()) return "cannot add the group " + folder + ": " + db.Error();
                }
                if (!number)
                    number = static_cast<int>(One(db, "SELECT count(*) FROM tblProblems WHERE Group1 = " +
                                                          std::to_string(group)));
                row.Auto1 = nextKey++;
                row.Group1 = group;
                // The level the source names (0: none, which the rating leaves out).
                row.Num = ++number;
                if (!InsertProblem(db, row, error)) return error;
                TSqliteStatement note = db.Prepare("INSERT INTO tblImported VALUES (?, ?)");
                note.Bind(1, print);
                note.Bind(2, row.Auto1);
                if (!note.Run()) return "cannot note problem " + std::to_string(row.Auto1);
                counted.Group = group;
                counted.Name = folder;
                ++counted.Count;
                // Writing is told too, so a progress display keeps moving (and may cancel).
                if (progress && ++written % 256 == 0 && !progress(summary.Files, summary.Files))
                    return kCancelled;
            }
            if (counted.Count) added.push_back(counted);
        }
        if (!SetNext(db, "Key", nextKey) || !SetNext(db, "Group", nextGroup))
            return "cannot write " + m_Path + ": " + db.Error();
        return "";
    });
    if (why == kCancelled) {
        summary.Cancelled = true;
        return summary;
    }
    if (!why.empty()) {
        summary.Error = why;
        return summary;
    }
    summary.Added = added;
    summary.AlreadyThere = alreadyThere;
    return summary;
}

std::string TUserCollection::RemoveGroup(int group) {
    if (group < kFirstImportedGroup) return "only imported groups can be removed";
    return Rewrite([group](TSqliteDb& db) -> std::string {
        const std::string g = std::to_string(group);
        if (!db.Exec("DELETE FROM tblImported WHERE Auto1 IN (SELECT Auto1 FROM tblProblems WHERE "
                     "Group1 = " + g + ");"
                     "DELETE FROM tblProblemExtras WHERE Auto1 IN (SELECT Auto1 FROM tblProblems WHERE "
                     "Group1 = " + g + ");"
                     "DELETE FROM tblProblems WHERE Group1 = " + g + ";"
                     "DELETE FROM tblGroups WHERE Group1 = " + g + ";"))
            return db.Error();
        return "";
    });
}

} // namespace karvena
