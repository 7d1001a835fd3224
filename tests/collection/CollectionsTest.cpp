// The registry of open collections: which one holds a group or a history row, which store a
// group is played from, and the review gathered over both, where their keys may meet.
#include <gtest/gtest.h>

#include <set>

#include "collection/Archive.h"
#include "collection/Collections.h"
#include "collection/TempFolder.h"

namespace karvena::test {
namespace {

const std::string kClub = std::string(KARVENA_TEST_DATA) + "/import/club";

TProblemRow Bundled(int auto1, int group) {
    TProblemRow row;
    row.Auto1 = auto1;
    row.Group1 = group;
    row.Level1 = 1;
    row.Num = auto1;
    row.ArrangedBlack = "CCDC";
    row.ArrangedWhite = "BBCB";
    row.FirstToPlay = "B";
    row.Result2 = 1;
    return row;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        TProblemTableWriter writer;
        // A full collection built in the bundled one's place may use keys the imported problems
        // use too: 0x8000 is the first imported key.
        for (const TProblemRow& row : {Bundled(1, 1), Bundled(2, 1), Bundled(3, 2),
                                       Bundled(kFirstImportedKey, 2)})
            ASSERT_TRUE(writer.Add(row)) << writer.Error();
        ASSERT_EQ(WriteArchive(folder.File(kArchiveName), writer.Image()), "");
        ASSERT_TRUE(history.Open(folder.File(kHistoryFileName)).Ok);
        collections.SetProgramFolder(folder.Path(), "");
        collections.User().SetPath(folder.File(kUserCollectionName));
    }
    void Import() { ASSERT_EQ(collections.User().Import({kClub}).Error, ""); }
    TTempFolder folder;
    THistoryStore history;
    TCollections collections{history};
};

TEST_F(Registry, EachGroupAndHistoryRowBelongsToTheCollectionThatListsIt) {
    Import();
    const int imported = collections.User().Groups().front().Group;
    const struct {
        int group;
        std::optional<TCollectionId> holder;
    } groups[] = {
        {1, TCollectionId::Bundled},     {-1, TCollectionId::Bundled},
        {-100, TCollectionId::Bundled},  {4, TCollectionId::Bundled},
        {imported, TCollectionId::Imported}, {kReviewGroup, TCollectionId::Review},
        {imported + 50, std::nullopt},   {7, std::nullopt},
    };
    for (const auto& g : groups) EXPECT_EQ(collections.CollectionOf(g.group), g.holder) << g.group;
    EXPECT_TRUE(collections.IsLevelGroup(1));
    EXPECT_TRUE(collections.IsLevelGroup(imported));
    EXPECT_FALSE(collections.IsLevelGroup(-100)) << "All is no level group";
    EXPECT_FALSE(collections.IsLevelGroup(kReviewGroup));
    EXPECT_FALSE(collections.IsLevelGroup(imported + 50)) << "a removed group";

    EXPECT_EQ(TCollections::CollectionOfHistoryKey(kFirstImportedKey), TCollectionId::Bundled)
        << "a bundled key in the imported problems' range stays bundled";
    EXPECT_EQ(TCollections::CollectionOfHistoryKey(
                  TCollections::HistoryBase(TCollectionId::Imported) + kFirstImportedKey),
              TCollectionId::Imported);
}

TEST_F(Registry, AGroupIsPlayedFromItsOwnCollectionsStore) {
    Import();
    const TImportedGroup group = collections.User().Groups().front();
    const TOpenedGroup opened = collections.Open(group.Group, 0);
    ASSERT_EQ(opened.Status, TOpenGroupStatus::Ok) << OpenGroupMessage(opened, true);
    ASSERT_EQ(opened.Problems, &collections.Store(TCollectionId::Imported));
    EXPECT_EQ(static_cast<int>(opened.Lines.size()), group.Count);
    const TProblemRow first = opened.Problems->GroupWithNext(group.Group).front();
    EXPECT_EQ(opened.Problems->HistoryKeyOf(first.Auto1), kImportedHistoryBase + first.Auto1);
    EXPECT_TRUE(history.Find(kImportedHistoryBase + first.Auto1)) << "its history row is made";

    const TOpenedGroup bundled = collections.Open(2, 0);
    ASSERT_EQ(bundled.Problems, &collections.Store(TCollectionId::Bundled));
    EXPECT_EQ(bundled.Lines.size(), 2u);
    EXPECT_EQ(collections.Progress(2), std::make_pair(0, 2));
    EXPECT_EQ(collections.Progress(group.Group), std::make_pair(0, group.Count));
}

TEST_F(Registry, AGroupNoCollectionListsIsEmptyOrSaysWhyItCannotBeRead) {
    // No imported collection yet: the group cannot be confirmed, and the player is told.
    const TOpenedGroup missing = collections.Open(kFirstImportedGroup, 0);
    EXPECT_NE(missing.Status, TOpenGroupStatus::Ok);
    EXPECT_EQ(missing.Problems, nullptr);
    Import();
    const TOpenedGroup removed = collections.Open(kFirstImportedGroup + 50, 0);
    EXPECT_EQ(removed.Status, TOpenGroupStatus::Ok);
    EXPECT_TRUE(removed.Lines.empty());
}

TEST_F(Registry, TheReviewGathersBothCollectionsWhereTheirKeysMeet) {
    Import();
    TProblemStore user;
    ASSERT_TRUE(collections.User().OpenStore(user));
    const int32_t importedKey = user.Keys().front();
    ASSERT_EQ(importedKey, kFirstImportedKey) << "the same key as a bundled problem";
    const int32_t importedHistory = kImportedHistoryBase + importedKey;
    ASSERT_TRUE(history.PostReview({kFirstImportedKey, 1, 3}));
    ASSERT_TRUE(history.PostReview({importedHistory, 1, 3}));
    ASSERT_TRUE(history.PostReview({2, 1, 9})) << "due later";
    ASSERT_TRUE(history.PostReview({kImportedHistoryBase + 0x7777, 1, 1})) << "gone";

    const std::vector<TDueProblem> due = collections.Due(5);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].From, TCollectionId::Bundled);
    EXPECT_EQ(due[0].HistoryKey, kFirstImportedKey);
    EXPECT_EQ(due[0].Row.Group1, 2) << "the bundled problem, not the imported one";
    EXPECT_EQ(due[1].From, TCollectionId::Imported);
    EXPECT_EQ(due[1].HistoryKey, importedHistory);

    const TOpenedGroup review = collections.Open(kReviewGroup, 5);
    ASSERT_EQ(review.Status, TOpenGroupStatus::Ok);
    ASSERT_EQ(review.Problems, &collections.Store(TCollectionId::Review));
    ASSERT_EQ(review.Lines.size(), 2u);
    std::set<int32_t> historyKeys;
    for (const TProblemRow& row : review.Problems->GroupWithNext(kReviewGroup))
        historyKeys.insert(review.Problems->HistoryKeyOf(row.Auto1));
    EXPECT_EQ(historyKeys, (std::set<int32_t>{kFirstImportedKey, importedHistory}))
        << "each row keeps its own history key";
    EXPECT_EQ(collections.Open(kReviewGroup, 2).Lines.size(), 0u) << "nothing due yet";
}

} // namespace
} // namespace karvena::test
