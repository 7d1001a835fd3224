#include "collection/Collections.h"

#include <set>

namespace karvena {

std::pair<int, int> SolvedAndTotal(const TProblemStore& store, int group,
                                   const THistoryStore::TSolvedKeys& solved) {
    const std::vector<int32_t> keys = store.KeysOfGroup(group);
    int done = 0;
    for (const int32_t key : keys) done += solved.IsSolved(store.HistoryKeyOf(key));
    return {done, static_cast<int>(keys.size())};
}

void TCollections::SetProgramFolder(std::string folder, std::string cacheFolder) {
    m_ProgramFolder = std::move(folder);
    m_CacheFolder = std::move(cacheFolder);
}

bool TCollections::IsBundledGroup(int group) {
    return group == -1 || group == -100 || IsBundledLevelGroup(group);
}

std::optional<TCollectionId> TCollections::CollectionOf(int group) const {
    if (group == kReviewGroup) return TCollectionId::Review;
    if (IsBundledGroup(group)) return TCollectionId::Bundled;
    for (const TImportedGroup& imported : m_User.Groups())
        if (imported.Group == group) return TCollectionId::Imported;
    return std::nullopt;
}

TCollectionId TCollections::CollectionOfHistoryKey(int32_t historyKey) {
    return historyKey >= kImportedHistoryBase ? TCollectionId::Imported : TCollectionId::Bundled;
}

int32_t TCollections::HistoryBase(TCollectionId id) {
    return id == TCollectionId::Imported ? kImportedHistoryBase : 0;
}

bool TCollections::IsLevelGroup(int group) const {
    return IsBundledLevelGroup(group) || CollectionOf(group) == TCollectionId::Imported;
}

TProblemStore& TCollections::Store(TCollectionId id) {
    switch (id) {
    case TCollectionId::Imported: return m_Imported;
    case TCollectionId::Review: return m_Review;
    case TCollectionId::Bundled: break;
    }
    return m_Bundled;
}

TOpenGroupResult TCollections::OpenBundled(int group, TProblemStore& into) {
    // The table a first start is still making is waited for: it is the copy this opening reads.
    m_Bundled.FinishFullTable();
    return karvena::OpenGroup(m_ProgramFolder, group, into, m_History, m_CacheFolder);
}

TProblemStore& TCollections::Bundled() {
    if (!m_Bundled.IsOpen()) {
        TProblemStore opened;
        if (OpenBundled(0, opened).Status == TOpenGroupStatus::Ok) m_Bundled = std::move(opened);
    }
    return m_Bundled;
}

TOpenedGroup TCollections::Open(int group, int today) {
    TOpenedGroup opened;
    // A group no collection lists can only be an imported one since removed, or one of a
    // collection that cannot be read now: the imported collection is asked (an empty list, or
    // why it cannot be read).
    const TCollectionId from = CollectionOf(group).value_or(TCollectionId::Imported);
    // The group is opened into a store of its own: the collection's store changes only when
    // the opening succeeded.
    TProblemStore store;
    switch (from) {
    case TCollectionId::Review:
        static_cast<TOpenGroupResult&>(opened) = GatherReview(today);
        break;
    case TCollectionId::Imported:
        opened.ArchivePath = m_User.Path();
        if (!m_User.OpenStore(store)) {
            opened.Status = TOpenGroupStatus::BadArchive;
            opened.Detail = store.Error();
        } else {
            ListGroup(store, group, m_History, opened);
        }
        break;
    case TCollectionId::Bundled:
        static_cast<TOpenGroupResult&>(opened) = OpenBundled(group, store);
        break;
    }
    if (opened.Status != TOpenGroupStatus::Ok) return opened;
    if (from != TCollectionId::Review) Store(from) = std::move(store);
    opened.Problems = &Store(from);
    // A large group's lines are read from the store where it now lies.
    if (opened.Source) opened.Source = GroupLines(*opened.Problems, group);
    return opened;
}

std::vector<TDueProblem> TCollections::Due(int today) {
    std::vector<TDueProblem> rows;
    const std::vector<TReviewEntry> due = m_History.DueReviews(today);
    // Nothing due: no collection needs reading.
    if (due.empty()) return rows;
    TProblemStore& bundled = Bundled();
    TProblemStore imported;
    const bool importedReadable = m_User.OpenStore(imported);
    for (const TReviewEntry& entry : due) {
        const TCollectionId from = CollectionOfHistoryKey(entry.Auto1);
        if (from == TCollectionId::Imported && !importedReadable) continue;
        const TProblemStore& store = from == TCollectionId::Imported ? imported : bundled;
        std::optional<TProblemRow> row = store.Find(entry.Auto1 - HistoryBase(from));
        if (!row) continue; // a problem no longer in any collection is not due
        rows.push_back({from, entry.Auto1, std::move(*row)});
    }
    return rows;
}

TOpenGroupResult TCollections::GatherReview(int today) {
    TOpenGroupResult result;
    TProblemTableWriter writer;
    // Two collections may both have a key: a row keeps its own while it is free in the review,
    // else takes the lowest free one, and each keeps its history key beside it.
    std::unordered_map<int32_t, int32_t> historyKeys;
    int32_t free = 1;
    for (TDueProblem& due : Due(today)) {
        TProblemRow& row = due.Row;
        if (historyKeys.count(row.Auto1)) {
            while (historyKeys.count(free)) ++free;
            row.Auto1 = free;
        }
        historyKeys[row.Auto1] = due.HistoryKey;
        row.Group1 = kReviewGroup;
        writer.Add(row);
    }
    if (!m_Review.Open(writer.Image())) {
        result.Status = TOpenGroupStatus::BadArchive;
        result.Detail = m_Review.Error();
        return result;
    }
    m_Review.HistoryBase = 0;
    m_Review.HistoryKeys = std::move(historyKeys);
    ListGroup(m_Review, kReviewGroup, m_History, result);
    return result;
}

std::map<int, std::pair<int, int>> TCollections::ProgressOfGroups() {
    std::map<int, std::pair<int, int>> progress;
    const std::vector<TImportedGroup> imported = m_User.Groups();
    TProblemStore user;
    const bool userReadable = !imported.empty() && m_User.OpenStore(user);
    if (!m_Bundled.IsOpen() && !userReadable) return progress;
    const THistoryStore::TSolvedKeys solved = m_History.SolvedKeys();
    if (m_Bundled.IsOpen())
        for (int group = 0; IsBundledLevelGroup(group); ++group)
            progress[group] = SolvedAndTotal(m_Bundled, group, solved);
    if (userReadable)
        for (const TImportedGroup& g : imported)
            progress[g.Group] = SolvedAndTotal(user, g.Group, solved);
    return progress;
}

std::pair<int, int> TCollections::Progress(int group) {
    const std::map<int, std::pair<int, int>> progress = ProgressOfGroups();
    const auto found = progress.find(group);
    return found != progress.end() ? found->second : std::pair<int, int>{0, 0};
}

std::vector<int32_t> TCollections::HistoryKeysOf(int group) {
    std::vector<int32_t> keys;
    const std::optional<TCollectionId> from = CollectionOf(group);
    auto historyKeys = [&keys, group](const TProblemStore& store) {
        for (const int32_t key : store.KeysOfGroup(group)) keys.push_back(store.HistoryKeyOf(key));
    };
    if (from == TCollectionId::Imported) {
        TProblemStore store;
        if (m_User.OpenStore(store)) historyKeys(store);
    } else if (from) {
        historyKeys(*from == TCollectionId::Bundled ? Bundled() : m_Review);
    }
    return keys;
}

void TCollections::SeparateKeySpaces() {
    std::vector<int32_t> imported;
    TProblemStore user;
    if (m_User.OpenStore(user)) imported = user.Keys();
    std::set<int32_t> bundled;
    TProblemStore problems;
    if (!imported.empty() && OpenBundled(-1, problems).Status == TOpenGroupStatus::Ok) {
        const std::vector<int32_t> keys = problems.Keys();
        bundled.insert(keys.begin(), keys.end());
    }
    m_History.MoveImportedRows(imported, bundled, kImportedHistoryBase);
}

} // namespace karvena
