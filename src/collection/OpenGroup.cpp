#include "collection/OpenGroup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "collection/Archive.h"
#include "index/IndexLine.h"

namespace karvena {

std::string IndexLineOf(const TProblemRow& row, bool solved) {
    return IndexLineOf(TProblemStore::TListedRow::Of(row), solved);
}

std::string IndexLineOf(const TProblemStore::TListedRow& row, bool solved) {
    const std::string result = row.Result2 ? std::to_string(*row.Result2) : "";
    // The first side as the solve loop reads it: "W" is white, anything else black.
    const bool whiteFirst = !row.FirstToPlay.empty() && row.FirstToPlay[0] == 'W';
    return BuildIndexLine(row.Auto1, false, solved, result, row.ArrangedBlack, row.ArrangedWhite,
                          row.Initial, whiteFirst, row.BoardSize);
}

namespace {

// Opens the archive's listing into `problems`, the table's copy made behind it into `cache`
// (or, when no copy can be written, the table read into memory); false for an archive without
// a listing.
bool OpenListing(const std::string& archivePath, const TCachedMember& cache,
                 TProblemStore& problems) {
    const TArchiveRead listing = ReadArchiveListing(archivePath);
    if (listing.Error != TArchiveError::None) return false;
    const bool opened =
        problems.OpenListing(listing.Bytes, [archivePath, cache](const std::atomic<bool>& cancel) {
            TFullTable full;
            if (MakeCachedMember(archivePath, cache, &cancel)) {
                full.Path = cache.Path;
                full.SolutionKey = cache.SolutionKey;
            } else if (!cancel) {
                TArchiveRead read = ReadArchiveMember(archivePath);
                full.Bytes = std::move(read.Bytes);
                full.Error = read.Detail;
            }
            return full;
        });
    if (opened && problems.HasProblemTable()) return true;
    problems.Close();
    return false;
}

} // namespace

TOpenGroupResult OpenGroup(const std::string& programFolder, int group, TProblemStore& problems,
                           THistoryStore& history, const std::string& cacheFolder) {
    TOpenGroupResult result;
    result.ArchivePath = ChooseArchive(programFolder);
    std::error_code error;
    if (!std::filesystem::exists(result.ArchivePath, error)) {
        result.Status = TOpenGroupStatus::MissingArchive;
        return result;
    }
    // A table still being made from an earlier opening is waited for: it is the copy below.
    problems.FinishFullTable();
    // The first start of an archive with a listing: the group is listed from it at once while
    // the copy is made on a worker thread.
    const TCachedMember found = FindCachedMember(result.ArchivePath, cacheFolder);
    if (!found.Path.empty() && !found.Made && OpenListing(result.ArchivePath, found, problems)) {
        ListGroup(problems, group, history, result);
        if (result.Status == TOpenGroupStatus::Ok) return result;
        problems.Close();
        result = TOpenGroupResult();
        result.ArchivePath = ChooseArchive(programFolder);
    }
    // The decrypted copy when there is a good one; a copy that does not read is dropped and the
    // archive itself read instead.
    const TCachedMember cached = found.Made ? found : CachedMember(result.ArchivePath, cacheFolder);
    if (!cached.Path.empty() && problems.OpenFile(cached.Path, cached.SolutionKey) &&
        problems.HasProblemTable()) {
        ListGroup(problems, group, history, result);
        if (result.Status == TOpenGroupStatus::Ok) return result;
        problems.Close();
        std::filesystem::remove(cached.Path, error);
        result = TOpenGroupResult();
        result.ArchivePath = ChooseArchive(programFolder);
    }
    const TArchiveRead read = ReadArchiveMember(result.ArchivePath);
    if (read.Error != TArchiveError::None) {
        result.Status = TOpenGroupStatus::BadArchive;
        result.Detail = read.Detail;
        return result;
    }
    if (!problems.Open(read.Bytes)) {
        result.Status = TOpenGroupStatus::BadArchive;
        result.Detail = problems.Error();
        return result;
    }
    if (!problems.HasProblemTable()) {
        result.Status = TOpenGroupStatus::NoProblemTable;
        return result;
    }
    ListGroup(problems, group, history, result);
    return result;
}

namespace {

// A large group's lines, read from the store a block at a time as the index shows them.
class TStoreLines : public IIndexLineSource {
public:
    TStoreLines(const TProblemStore& problems, int group) : m_Problems(problems), m_Group(group) {}
    std::vector<std::string> Lines(int first, int count) const override {
        std::vector<std::string> lines;
        lines.reserve(static_cast<size_t>(std::max(0, count)));
        m_Problems.ListGroupRange(m_Group, first, count, [&](const TProblemStore::TListedRow& row) {
            lines.push_back(IndexLineOf(row, false));
        });
        return lines;
    }

private:
    const TProblemStore& m_Problems;
    const int m_Group;
};

} // namespace

void ListGroup(const TProblemStore& problems, int group, THistoryStore& history,
               TOpenGroupResult& result, int wholeUpTo) {
    // The missing history rows are appended together, in one transaction.
    std::vector<int32_t> missing;
    const THistoryStore::TSolvedKeys known = history.SolvedKeys();
    std::vector<std::pair<int32_t, int32_t>> keys = problems.KeysOfGroupWithNext(group);
    const auto inGroup = static_cast<int>(
        std::count_if(keys.begin(), keys.end(), [group](const auto& k) { return k.second == group; }));
    std::vector<std::string> lines;
    std::vector<bool> solved;
    if (inGroup <= wholeUpTo) {
        problems.ListGroupWithNext(group, [&](const TProblemStore::TListedRow& row) {
            const int32_t key = problems.HistoryKeyOf(row.Auto1);
            if (!known.Has(key)) missing.push_back(key);
            if (row.Group1 != group) return;
            lines.push_back(IndexLineOf(row, known.IsSolved(key)));
        });
    } else {
        // A large group: its keys are all the opening reads; the lines come page by page.
        solved.reserve(static_cast<size_t>(inGroup));
        for (const auto& [auto1, itsGroup] : keys) {
            const int32_t key = problems.HistoryKeyOf(auto1);
            if (!known.Has(key)) missing.push_back(key);
            if (itsGroup == group) solved.push_back(known.IsSolved(key));
        }
    }
    if (!problems.ReadError().empty()) {
        // A damaged table is an error, never a shorter list.
        result.Status = TOpenGroupStatus::BadArchive;
        result.Detail = "the problem table is damaged: " + problems.ReadError();
        return;
    }
    result.Lines = std::move(lines);
    if (inGroup > wholeUpTo) {
        result.Solved = std::move(solved);
        result.Source = GroupLines(problems, group);
    }
    history.AppendAll(missing);
}

std::shared_ptr<const IIndexLineSource> GroupLines(const TProblemStore& problems, int group) {
    return std::make_shared<TStoreLines>(problems, group);
}

std::string OpenGroupMessage(const TOpenGroupResult& result, bool english) {
    switch (result.Status) {
    case TOpenGroupStatus::Ok:
        return "";
    case TOpenGroupStatus::MissingArchive:
        return (english ? "Can't find data file: " : "找不到数据文件") + result.ArchivePath;
    case TOpenGroupStatus::BadArchive:
        return (english ? "Can't read the problem collection " : "无法读取题库 ") +
               result.ArchivePath + (result.Detail.empty() ? "" : ": " + result.Detail);
    case TOpenGroupStatus::NoProblemTable:
        return english ? "problem database error, please reinstall and try."
                       : "数据有错误，请重新安装试试";
    }
    return "";
}

} // namespace karvena
