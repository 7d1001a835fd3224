// The player's own problems: folders of folders read in natural order, imported into a
// collection of their own next to the bundled one, again and again without duplicates, and
// never half written.
#include <gtest/gtest.h>

#include <filesystem>

#include "collection/CollectionBuilder.h"
#include "collection/Sqlite.h"
#include "collection/TempFolder.h"
#include "collection/UserCollection.h"
#include "solving/PlaySession.h"
#include "text/Texts.h"

namespace karvena::test {
namespace {

const std::string kClub = std::string(KARVENA_TEST_DATA) + "/import/club";

TEST(NaturalOrder, NumbersCompareByValue) {
    const struct {
        const char* a;
        const char* b;
        bool less;
    } cases[] = {
        {"2.sgf", "10.sgf", true},   {"10.sgf", "2.sgf", false}, {"a2", "a10", true},
        {"a10b", "a10c", true},      {"007", "7", false},        {"7", "007", true},
        {"abc", "abd", true},        {"ab", "abc", true},        {"x/9/a", "x/10/a", true},
        {"same", "same", false},
    };
    for (const auto& c : cases) EXPECT_EQ(NaturalLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST(FoldersOfFolders, EveryFileBelowTheInputInPathOrder) {
    std::vector<std::string> skipped;
    const std::vector<TSourceFile> files = ListSgfFiles({kClub}, skipped);
    std::vector<std::string> seen;
    for (const TSourceFile& f : files) seen.push_back(f.Folder + " " + f.Relative);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "club/elementary elementary/1.sgf",
                        "club/elementary elementary/2.sgf",
                        "club/elementary elementary/10.sgf",
                        "club/elementary/ko elementary/ko/3.sgf",
                        "club/intermediate intermediate/answer-only.sgf",
                        "club/intermediate intermediate/broken.sgf",
                        "club/intermediate intermediate/slip.sgf",
                    }));
    EXPECT_TRUE(skipped.empty());
}

TEST(FoldersOfFolders, TheLevelMapMatchesAFolderByItsPath) {
    const TLevelMap levels = {{"club/elementary", {1, 30, 30}}, {"club/elementary/ko", {2, 35, 35}},
                              {"club/intermediate", {3, 36, 36}}};
    const TBuiltCollection built = BuildCollection({kClub}, &levels);
    EXPECT_EQ(built.ProblemsPerGroup.at(1), 3);
    EXPECT_EQ(built.ProblemsPerGroup.at(2), 1);
    EXPECT_EQ(built.ProblemsPerGroup.at(3), 2)
        << "the broken file is skipped, the answer line and the slip (its faulty line cut) imported";
}

class Importing : public ::testing::Test {
protected:
    std::string Bytes() { return folder.Read(kUserCollectionName); }
    TTempFolder folder;
    TUserCollection collection{folder.File(kUserCollectionName)};
};

TEST_F(Importing, OneGroupPerFolderNamedAfterIt) {
    const TImportSummary summary = collection.Import({kClub});
    ASSERT_EQ(summary.Error, "");
    EXPECT_EQ(summary.Files, 7);
    const std::vector<TImportedGroup> groups = collection.Groups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].Name, "club/elementary");
    EXPECT_EQ(groups[0].Group, kFirstImportedGroup);
    EXPECT_EQ(groups[0].Count, 3);
    EXPECT_EQ(groups[1].Name, "club/elementary/ko");
    EXPECT_EQ(groups[2].Name, "club/intermediate");
    EXPECT_EQ(summary.FirstGroup(), kFirstImportedGroup);
    // The broken file is named with where it broke; the answer line without marks is imported
    // with a warning, and so is the slip, the line with its stray setup cut there.
    ASSERT_EQ(summary.Skipped.size(), 1u);
    EXPECT_NE(summary.Skipped[0].find("broken.sgf:3:"), std::string::npos) << summary.Skipped[0];
    ASSERT_EQ(summary.Warnings.size(), 2u);
    EXPECT_NE(summary.Warnings[0].find("answer-only.sgf:1:2: nothing is marked"),
              std::string::npos)
        << summary.Warnings[0];
    EXPECT_NE(summary.Warnings[1].find("slip.sgf:3:8: stones set up"), std::string::npos)
        << summary.Warnings[1];
    // Keys from 0x8000 in file order: 1, 2, 10.
    TProblemStore store;
    ASSERT_TRUE(collection.OpenStore(store));
    const std::vector<TProblemRow> rows = store.GroupWithNext(kFirstImportedGroup);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0].Auto1, kFirstImportedKey);
    EXPECT_EQ(rows[2].Auto1, kFirstImportedKey + 2);
    EXPECT_EQ(rows[2].ArrangedBlack.size(), 4u) << "10.sgf has two black stones";
}

TEST_F(Importing, TheSameFilesAgainAddNothingAndKeysNeverChange) {
    ASSERT_EQ(collection.Import({kClub}).Error, "");
    const std::string first = Bytes();
    const TImportSummary again = collection.Import({kClub});
    EXPECT_EQ(again.Error, "");
    EXPECT_TRUE(again.Added.empty());
    EXPECT_EQ(again.AlreadyThere, 6);
    TProblemStore store;
    ASSERT_TRUE(collection.OpenStore(store));
    EXPECT_EQ(store.KeysAndLevels().size(), 6u);
    // A group removed and imported again gets new keys, never the old ones.
    ASSERT_EQ(collection.RemoveGroup(kFirstImportedGroup), "");
    EXPECT_EQ(collection.Groups().size(), 2u);
    ASSERT_EQ(collection.Import({kClub + "/elementary"}).Error, "");
    ASSERT_TRUE(collection.OpenStore(store));
    for (const auto& [key, level] : store.KeysAndLevels()) EXPECT_FALSE(key >= 0x8000 && key < 0x8003) << key;
    EXPECT_NE(collection.RemoveGroup(2), "") << "bundled groups stay";
}

// The author's words stay with an imported problem, and go with its group.
TEST_F(Importing, CommentsAreKeptAndRemovedWithTheirGroup) {
    ASSERT_EQ(collection.Import({kClub}).Error, "");
    const std::vector<TImportedGroup> groups = collection.Groups();
    ASSERT_EQ(groups.size(), 3u);
    TProblemStore store;
    ASSERT_TRUE(collection.OpenStore(store));
    const std::vector<TProblemRow> rows = store.GroupWithNext(groups[2].Group);
    ASSERT_FALSE(rows.empty());
    const std::optional<TProblemRow> answerOnly = store.Find(rows[0].Auto1);
    ASSERT_TRUE(answerOnly);
    EXPECT_EQ(DecodeComments(answerOnly->Comments).Root, "Black to play.");
    store.Close();
    ASSERT_EQ(collection.RemoveGroup(groups[2].Group), "");
    TSqliteDb db;
    ASSERT_TRUE(db.OpenFile(folder.File(kUserCollectionName), false, true));
    TSqliteStatement left = db.Prepare("SELECT count(*) FROM tblProblemExtras WHERE Auto1 = ?");
    left.Bind(1, rows[0].Auto1);
    ASSERT_TRUE(left.Step());
    EXPECT_EQ(left.Int(0), 0);
}

TEST_F(Importing, ACancelledOrFailedImportLeavesTheCollectionAsItWas) {
    ASSERT_EQ(collection.Import({kClub + "/elementary"}).Error, "");
    const std::string before = Bytes();
    // Cancelled after the first file.
    const TImportSummary cancelled = collection.Import({kClub}, [](int done, int) { return done < 1; });
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_TRUE(Bytes() == before) << "the collection file changed";
    // More problems than keys.
    collection.MaxKey = kFirstImportedKey + 3; // room for one of the two new problems
    const TImportSummary full = collection.Import({kClub});
    EXPECT_NE(full.Error.find("nothing was imported"), std::string::npos) << full.Error;
    EXPECT_TRUE(Bytes() == before) << "the collection file changed";
    // A place that cannot be written: a file where the folder should be.
    folder.Write("plain", "not a folder");
    TUserCollection nowhere(folder.File("plain/Imported.cds"));
    EXPECT_NE(nowhere.Import({kClub}).Error, "");
    EXPECT_TRUE(Bytes() == before) << "the collection file changed";
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << "no leftovers";
}

// An imported problem plays as a bundled one: solved by following its tree.
TEST_F(Importing, AnImportedProblemIsSolvedByFollowingItsTree) {
    ASSERT_EQ(collection.Import({kClub + "/elementary"}).Error, "");
    TProblemStore store;
    ASSERT_TRUE(collection.OpenStore(store));
    SetLanguageFlags(TLanguage::English);
    TGoBoard board;
    ApplyMainFormPreset(board);
    TPlaySession session(board, store, folder.File("History1.cds"));
    ASSERT_TRUE(session.Load(kFirstImportedKey + 1)); // 2.sgf, marked "nice!RIGHT"
    session.Take();
    ASSERT_TRUE(session.Word("AB"));
    const std::vector<std::string> lines = session.Take();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "solved"), lines.end());
    // Kept in the imported problems' own key space: the bundled key 0x8001 is another problem.
    EXPECT_EQ(session.History().Find(kImportedHistoryBase + kFirstImportedKey + 1)->SolvedCount, 1);
    EXPECT_FALSE(session.History().Find(kFirstImportedKey + 1));
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// A file of many games is read one game at a time: every problem of it, the game records left
// out, a cancel between two games, and a file larger than any collection refused whole.
TEST(LargeFiles, AFileOfManyGamesIsImportedGameByGame) {
    TTempFolder folder;
    std::string many;
    for (int g = 0; g < 200; ++g) {
        if (g % 4 == 3)
            many += "(;GM[1]SZ[19]PB[a]PW[b];B[pd];W[dp];B[pp];W[dd])\n"; // a game record
        else // each problem a stone of its own, so no two games in a row are one problem
            many += std::string("(;AB[dd][de]") + "AB[" + char('a' + g % 19) +
                    char('s' - g / 19) + "]AW[ed][ee](;B[cc]C[Correct])(;B[cd];W[cc]))\n";
    }
    folder.Write("many.sgf", many);
    int problems = 0;
    TFileImport all = ImportSgfFile(folder.File("many.sgf"), [&](TImportedProblem&&) {
        ++problems;
        return true;
    });
    EXPECT_EQ(problems, 150);
    EXPECT_EQ(all.Skipped.size(), 50u);
    EXPECT_NE(all.Skipped.at(0).find("many.sgf#4: a game record"), std::string::npos)
        << all.Skipped.at(0);
    EXPECT_FALSE(all.Cancelled);
    EXPECT_FALSE(all.Broken);
    EXPECT_EQ(problems, static_cast<int>(ImportSgf(*ReadSgfFile(folder.File("many.sgf")).File,
                                                    "many.sgf")
                                              .Problems.size()))
        << "the same problems as the file read whole";

    // Asked every 64 games whether to go on.
    int asked = 0;
    problems = 0;
    TFileImport stopped = ImportSgfFile(
        folder.File("many.sgf"),
        [&](TImportedProblem&&) {
            ++problems;
            return true;
        },
        [&] { return ++asked < 2; });
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_LT(problems, 150);

    // A file past the bound is refused before it is read, with a message.
    {
        std::ofstream big(folder.File("huge.sgf"), std::ios::binary);
        big << "(;AB[dd]";
    }
    std::filesystem::resize_file(folder.File("huge.sgf"), kMaxSgfFileBytes + 1);
    TFileImport huge = ImportSgfFile(folder.File("huge.sgf"), [](TImportedProblem&&) { return true; });
    ASSERT_EQ(huge.Skipped.size(), 1u);
    EXPECT_NE(huge.Skipped[0].find("larger than 256 MB"), std::string::npos) << huge.Skipped[0];
    EXPECT_TRUE(huge.Broken);
    TUserCollection collection;
    collection.SetPath(folder.File("Imported.cds"));
    const TImportSummary summary = collection.Import({folder.File("huge.sgf")});
    ASSERT_EQ(summary.Skipped.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.File("Imported.cds"))) << "nothing was written";
}

} // namespace
} // namespace karvena::test
