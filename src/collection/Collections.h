#pragma once
// The open collections, and where each problem belongs. Three are known: the bundled collection
// beside the program (or a full collection built in its place), the player's imported collection,
// and the review, a view over both that lists the problems due today. Which collection holds a
// group, which one a history row belongs to, which store a problem is played from: every caller
// asks here, and each collection answers from its own groups and its own key space.
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "collection/HistoryStore.h"
#include "collection/OpenGroup.h"
#include "collection/ProblemStore.h"
#include "collection/UserCollection.h"

namespace karvena {

enum class TCollectionId { Bundled, Imported, Review };

// The review's group number.
inline constexpr int kReviewGroup = -200;

// A problem due for review, from the collection that holds it.
struct TDueProblem {
    TCollectionId From = TCollectionId::Bundled;
    int32_t HistoryKey = 0;
    TProblemRow Row;
};

// A group opened: the index lines, and the store the solve loop plays them from (on success).
struct TOpenedGroup : TOpenGroupResult {
    TProblemStore* Problems = nullptr;
};

// "solved/total" of a group: the total from the problem table, the solved from the history.
std::pair<int, int> SolvedAndTotal(const TProblemStore& store, int group,
                                   const THistoryStore::TSolvedKeys& solved);

class TCollections {
public:
    explicit TCollections(THistoryStore& history) : m_History(history) {}

    // Where the bundled archive lies, and the folder its decrypted table is cached in.
    void SetProgramFolder(std::string folder, std::string cacheFolder);
    TUserCollection& User() { return m_User; }
    const TUserCollection& User() const { return m_User; }

    // The bundled collection's level groups: the order of ending (-1), basic (0) to bonus (4),
    // and all (-100).
    static bool IsBundledGroup(int group);
    // The bundled level groups a player picks from: basic (0) to bonus (4).
    static bool IsBundledLevelGroup(int group) { return group >= 0 && group <= 4; }
    // The collection that holds the group; none for a group no collection has (an imported
    // group since removed).
    std::optional<TCollectionId> CollectionOf(int group) const;
    // The collection a history row belongs to: each collection has a key space of its own.
    static TCollectionId CollectionOfHistoryKey(int32_t historyKey);
    // The history key space of a collection's problems begins here (key + base).
    static int32_t HistoryBase(TCollectionId id);
    // A group the player chose as the one to open by default: a level group of a collection.
    bool IsLevelGroup(int group) const;

    // Opens a group in its collection and lists it, adding missing history rows; the review is
    // gathered for `today`. A group no collection lists is asked of the imported collection: an
    // empty list when it can be read, else why not.
    TOpenedGroup Open(int group, int today);
    // The store of a collection (the review's holds what the last Open gathered).
    TProblemStore& Store(TCollectionId id);
    // The bundled store, opened when no group of it was yet.
    TProblemStore& Bundled();

    // The problems due for review on `today` that are still in a collection.
    std::vector<TDueProblem> Due(int today);
    // "solved/total" of every level group that can be counted now: the bundled ones once their
    // collection has been read (never read only for a count), and every imported one. The
    // history is read once for all.
    std::map<int, std::pair<int, int>> ProgressOfGroups();
    // One group's of those (0/0 when it cannot be counted now).
    std::pair<int, int> Progress(int group);
    // The history keys of a group's problems (read before the group is removed).
    std::vector<int32_t> HistoryKeysOf(int group);
    // Once, for a history from before the imported problems had their own key space: their
    // rows move there.
    void SeparateKeySpaces();

private:
    TOpenGroupResult OpenBundled(int group, TProblemStore& into);
    TOpenGroupResult GatherReview(int today);

    THistoryStore& m_History;
    std::string m_ProgramFolder, m_CacheFolder;
    TUserCollection m_User;
    TProblemStore m_Bundled, m_Imported, m_Review;
};

} // namespace karvena
