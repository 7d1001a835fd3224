// Hostile collection files, one row each: what opening a group says, what the collection tool
// exits with, and that the player's history is left byte for byte as it was.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <fstream>
#include <functional>
#include <sys/wait.h>

#include "collection/Archive.h"
#include "collection/OpenGroup.h"
#include "collection/TempFolder.h"

namespace karvena::test {
namespace {

// A collection of 200 problems with solution blobs, so its image spans many pages.
std::vector<uint8_t> LargeCollection() {
    TProblemTableWriter writer;
    for (int key = 1; key <= 200; ++key) {
        TProblemRow row;
        row.Auto1 = row.Num = key;
        row.Group1 = 1;
        row.Level1 = 30;
        row.ArrangedBlack = "CCDC";
        row.ArrangedWhite = "BBCB";
        row.FirstToPlay = "B";
        row.Solution.assign(300, static_cast<uint8_t>(key));
        EXPECT_TRUE(writer.Add(row)) << writer.Error();
    }
    return writer.Image();
}

// An archive whose member is written with another cipher or none.
void WriteForeignArchive(const std::string& path, const std::vector<uint8_t>& member,
                         zip_uint16_t method, const char* password) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    const zip_int64_t index = zip_file_add(
        z, kArchiveMember, zip_source_buffer(z, member.data(), member.size(), 0), 0);
    if (method != ZIP_EM_NONE)
        zip_file_set_encryption(z, static_cast<zip_uint64_t>(index), method, password);
    zip_close(z);
}

int ToolStatus(const std::string& words) {
    const int raw = std::system((std::string(KARVENA_COLLECTION_TOOL) + " " + words +
                                 " > /dev/null 2> /dev/null")
                                    .c_str());
    return WEXITSTATUS(raw);
}

TEST(FaultTable, EveryBrokenCollectionIsReportedAndLosesNothing) {
    const std::vector<uint8_t> image = LargeCollection();
    struct TCase {
        const char* name;
        std::function<void(const std::string& path)> make;
        const char* says; // a part of the message the player reads
        int toolStatus;   // of `karvena-collection list`
    };
    const std::vector<TCase> cases = {
        {"empty file", [](const std::string& p) { std::ofstream(p, std::ios::binary); },
         "not a problem collection", 2},
        {"truncated archive",
         [&](const std::string& p) {
             WriteArchive(p, image);
             std::filesystem::resize_file(p, std::filesystem::file_size(p) / 2);
         },
         "Can't read the problem collection", 2},
        {"archive without the member",
         [&](const std::string& p) {
             int error = 0;
             zip_t* z = zip_open(p.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
             zip_file_add(z, "Other.txt", zip_source_buffer(z, "x", 1, 0), 0);
             zip_close(z);
         },
         "no problem table", 2},
        {"wrong AES password", [&](const std::string& p) { WriteArchive(p, image, "another"); },
         "not one of this program's", 2},
        {"old-style ZIP password",
         [&](const std::string& p) {
             WriteForeignArchive(p, image, ZIP_EM_TRAD_PKWARE, ArchivePassword().c_str());
         },
         "not one of this program's", 2},
        {"no encryption",
         [&](const std::string& p) { WriteForeignArchive(p, image, ZIP_EM_NONE, nullptr); },
         "not one of this program's", 2},
        {"damaged table image",
         [&](const std::string& p) {
             std::vector<uint8_t> damaged = image;
             // Every page after the schema overwritten: rows and the listing index alike.
             for (size_t i = 4096; i < damaged.size(); ++i)
                 damaged[i] = 0xA5;
             WriteArchive(p, damaged);
         },
         "damaged", 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder program;
        const std::string archive = program.File(kArchiveName);
        c.make(archive);
        THistoryStore history;
        ASSERT_TRUE(history.Open(program.File(kHistoryFileName)).Ok);
        THistoryRow row;
        row.Auto1 = 3;
        row.SolvedCount = 1;
        ASSERT_TRUE(history.Post(row));
        const std::string before = program.Read(kHistoryFileName);

        TProblemStore problems;
        const TOpenGroupResult result = OpenGroup(program.Path(), 1, problems, history);
        EXPECT_EQ(result.Status, TOpenGroupStatus::BadArchive);
        EXPECT_TRUE(result.Lines.empty()) << "never a part of the list";
        const std::string message = OpenGroupMessage(result, true);
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_EQ(history.Count(), 1) << "no history rows for a collection that was not read";
        EXPECT_EQ(program.Read(kHistoryFileName), before);

        EXPECT_EQ(ToolStatus("list " + archive), c.toolStatus);
        EXPECT_EQ(ToolStatus("check " + archive), c.toolStatus);
    }
}

// A member that unpacks beyond the bound is refused before it is read.
// Damage only among the rows: the listing (read from its index) still shows the group, but the
// damaged problem cannot be opened and `check`, which reads every row, says so.
TEST(FaultTable, ADamagedRowIsAnErrorWhenItIsRead) {
    std::vector<uint8_t> image = LargeCollection();
    TProblemStore intact;
    ASSERT_TRUE(intact.Open(image));
    // Overwrite the page holding the first problem's row.
    const std::vector<uint8_t> marker(300, 1); // problem 1's solution bytes
    const auto at = std::search(image.begin(), image.end(), marker.begin(), marker.end());
    ASSERT_NE(at, image.end());
    const size_t page = static_cast<size_t>(at - image.begin()) / 4096 * 4096;
    std::fill(image.begin() + page, image.begin() + page + 4096, 0xA5);
    TProblemStore damaged;
    ASSERT_TRUE(damaged.Open(image));
    EXPECT_FALSE(damaged.Find(1));
    EXPECT_NE(damaged.ReadError(), "");
    TTempFolder folder;
    WriteArchive(folder.File(kArchiveName), image);
    EXPECT_EQ(ToolStatus("check " + folder.File(kArchiveName)), 2);
}

TEST(FaultTable, AnOversizedMemberIsRefused) {
    TTempFolder folder;
    const std::string path = folder.File(kArchiveName);
    ASSERT_EQ(WriteArchive(path, std::vector<uint8_t>(3 << 20, 0)), "");
    const TArchiveRead refused = ReadArchiveMember(path, ArchivePassword(), 1 << 20);
    EXPECT_EQ(refused.Error, TArchiveError::TooLarge);
    EXPECT_NE(refused.Detail.find("allowed"), std::string::npos) << refused.Detail;
    EXPECT_TRUE(refused.Bytes.empty());
    EXPECT_EQ(ReadArchiveMember(path, ArchivePassword(), 4 << 20).Error, TArchiveError::None);
}

} // namespace
} // namespace karvena::test

namespace karvena::test {
namespace {

// The decrypted copy: made once, reused, replaced when the archive changes, and dropped when it
// does not read, without the player noticing anything but the speed.
TEST(MemberCache, MadeOnceReusedReplacedAndDroppedWhenBroken) {
    TTempFolder program;
    TTempFolder cache;
    auto files = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(cache.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    };
    ASSERT_EQ(WriteArchive(program.File(kArchiveName), LargeCollection()), "");
    THistoryStore history;
    ASSERT_TRUE(history.Open(program.File(kHistoryFileName)).Ok);
    TProblemStore problems;
    ASSERT_EQ(OpenGroup(program.Path(), 1, problems, history, cache.Path()).Lines.size(), 200u);
    const std::vector<std::string> first = files();
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(OpenGroup(program.Path(), 1, problems, history, cache.Path()).Lines.size(), 200u);
    EXPECT_EQ(files(), first) << "reused";
    EXPECT_TRUE(problems.Find(7)) << "the rows read from the copy";
    EXPECT_EQ(problems.Find(7)->Solution, std::vector<uint8_t>(300, 7)) << "the answer as stored";
    {
        // Any SQLite reader sees the copy's table, but not one answer as it is.
        TSqliteDb raw;
        ASSERT_TRUE(raw.OpenFile(cache.File(first[0]), false, true));
        TSqliteStatement q = raw.Prepare("SELECT Auto1, Solution FROM tblProblems");
        int rows = 0;
        while (q.Step()) {
            ++rows;
            const std::vector<uint8_t> blob = q.Blob(1);
            EXPECT_EQ(blob.size(), 300u);
            EXPECT_NE(blob, std::vector<uint8_t>(300, static_cast<uint8_t>(q.Int(0))))
                << "problem " << q.Int(0) << " readable in the cache";
        }
        EXPECT_EQ(rows, 200);
    }

    // A new archive: a new copy, the old one gone.
    TProblemTableWriter writer;
    TProblemRow row;
    row.Auto1 = 1;
    row.Group1 = 1;
    ASSERT_TRUE(writer.Add(row));
    ASSERT_EQ(WriteArchive(program.File(kArchiveName), writer.Image()), "");
    ASSERT_EQ(OpenGroup(program.Path(), 1, problems, history, cache.Path()).Lines.size(), 1u);
    ASSERT_EQ(files().size(), 1u);
    EXPECT_NE(files(), first);

    // A copy spoiled on disk (same size): read from the archive instead, the copy dropped.
    const std::string copy = cache.File(files()[0]);
    std::string bytes = cache.Read(files()[0]);
    std::fill(bytes.begin() + 100, bytes.end(), '\xA5');
    cache.Write(files()[0], bytes);
    const TOpenGroupResult result = OpenGroup(program.Path(), 1, problems, history, cache.Path());
    EXPECT_EQ(result.Status, TOpenGroupStatus::Ok) << result.Detail;
    EXPECT_EQ(result.Lines.size(), 1u);
}

// A first start of an archive with a listing: the group is listed from the listing at once, the
// copy made behind it; a problem read meanwhile waits for it, and a copy that cannot be written
// leaves the table read into memory.
TEST(MemberCache, AFirstStartListsFromTheListingWhileTheCopyIsMadeBehindIt) {
    const struct {
        const char* name;
        bool listing;     // the archive carries one
        bool cacheIsFile; // the cache folder cannot be made
        bool copyAfter;   // a copy lies in the cache afterwards
    } cases[] = {
        {"listing, copy made behind", true, false, true},
        {"listing, no copy can be written", true, true, false},
        {"no listing: copy made first", false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder program;
        TTempFolder cache;
        const std::string folder = c.cacheIsFile ? cache.File("not-a-folder") : cache.File("cache");
        if (c.cacheIsFile) cache.Write("not-a-folder", "x");
        const std::vector<uint8_t> table = LargeCollection();
        ASSERT_EQ(c.listing ? WriteArchiveWithListing(program.File(kArchiveName), table)
                            : WriteArchive(program.File(kArchiveName), table),
                  "");
        // What a stopped start left behind goes.
        const TCachedMember where = FindCachedMember(program.File(kArchiveName), folder);
        if (!c.cacheIsFile) {
            std::filesystem::create_directories(folder);
            std::ofstream(where.Path + ".tmp-1") << "half";
        }
        THistoryStore history;
        ASSERT_TRUE(history.Open(program.File(kHistoryFileName)).Ok);
        TProblemStore problems;
        const TOpenGroupResult result = OpenGroup(program.Path(), 1, problems, history, folder);
        ASSERT_EQ(result.Status, TOpenGroupStatus::Ok) << result.Detail;
        EXPECT_EQ(result.Lines.size(), 200u);
        EXPECT_EQ(history.Count(), 200);
        EXPECT_EQ(problems.MakingFullTable(), c.listing);
        const std::optional<TProblemRow> row = problems.Find(7);
        ASSERT_TRUE(row) << problems.ReadError();
        EXPECT_EQ(row->Solution, std::vector<uint8_t>(300, 7));
        EXPECT_FALSE(problems.MakingFullTable());
        EXPECT_EQ(OpenGroup(program.Path(), 1, problems, history, folder).Lines.size(), 200u);
        EXPECT_EQ(FindCachedMember(program.File(kArchiveName), folder).Made, c.copyAfter);
        if (!c.cacheIsFile) {
            std::vector<std::string> names;
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                names.push_back(entry.path().filename().string());
            EXPECT_EQ(names, std::vector<std::string>{std::filesystem::path(where.Path).filename()})
                << "the copy alone, no temporary";
        }
    }
}

TEST(MemberCache, TheListingHoldsNoAnswerAndAStoppedCopyLeavesNothing) {
    TTempFolder program;
    TTempFolder cache;
    ASSERT_EQ(WriteArchiveWithListing(program.File(kArchiveName), LargeCollection()), "");
    const TArchiveRead listing = ReadArchiveListing(program.File(kArchiveName));
    ASSERT_EQ(listing.Error, TArchiveError::None) << listing.Detail;
    TSqliteDb db;
    ASSERT_TRUE(db.OpenImage(listing.Bytes));
    const std::vector<std::string> columns = db.Columns("tblProblems");
    EXPECT_EQ(std::count(columns.begin(), columns.end(), "Solution"), 0);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), "ArrangedBlack"), 1);
    ASSERT_EQ(WriteArchive(program.File("plain.dgo"), LargeCollection()), "");
    EXPECT_EQ(ReadArchiveListing(program.File("plain.dgo")).Error, TArchiveError::NoMember);

    const TCachedMember where = FindCachedMember(program.File(kArchiveName), cache.Path());
    ASSERT_FALSE(where.Made);
    const std::atomic<bool> stop{true};
    EXPECT_FALSE(MakeCachedMember(program.File(kArchiveName), where, &stop));
    EXPECT_TRUE(std::filesystem::is_empty(cache.Path())) << "a stopped copy leaves nothing";
    EXPECT_TRUE(MakeCachedMember(program.File(kArchiveName), where));
    EXPECT_TRUE(FindCachedMember(program.File(kArchiveName), cache.Path()).Made);
}

} // namespace
} // namespace karvena::test

#include "collection/HistoryLock.h"
#include "collection/UserCollection.h"

namespace karvena::test {
namespace {

// The player's files under stress, one row each: said once, nothing moved aside, every count
// still there afterwards, and no collection written.
TEST(FaultTable, ALockedOrReadOnlyHistoryAndAnOversizedFileLoseNothing) {
    const struct {
        const char* name;
        std::function<void(TTempFolder&, std::vector<std::string>& told)> run;
    } cases[] = {
        {"a history locked by another program",
         [](TTempFolder& folder, std::vector<std::string>& told) {
             const std::string path = folder.File(kHistoryFileName);
             THistoryLock other;
             ASSERT_TRUE(other.Take(path));
             THistoryStore history;
             history.BusyWaitMilliseconds = 100;
             history.OnWriteFailed = [&](const std::string&, const std::string& why) {
                 told.push_back(why);
             };
             const THistoryOpen opened = history.Open(path);
             EXPECT_TRUE(opened.ReadOnly);
             EXPECT_TRUE(opened.MovedAside.empty());
             ASSERT_TRUE(other.Release());
         }},
        {"a read-only history keeps the review of this run",
         [](TTempFolder& folder, std::vector<std::string>& told) {
             THistoryStore history;
             history.OnWriteFailed = [&](const std::string&, const std::string& why) {
                 told.push_back(why);
             };
             ASSERT_TRUE(history.Open(folder.File(kHistoryFileName), THistoryAccess::ReadOnly).Ok);
             EXPECT_FALSE(history.PostReview({3, 1, 10}));
             EXPECT_EQ(history.DueReviews(10).size(), 1u);
         }},
        {"an oversized SGF file",
         [](TTempFolder& folder, std::vector<std::string>& told) {
             {
                 std::ofstream(folder.File("huge.sgf"), std::ios::binary) << "(;AB[dd]";
             }
             std::filesystem::resize_file(folder.File("huge.sgf"), kMaxSgfFileBytes + 1);
             TUserCollection collection;
             collection.SetPath(folder.File("Imported.cds"));
             const TImportSummary summary = collection.Import({folder.File("huge.sgf")});
             for (const std::string& s : summary.Skipped) told.push_back(s);
             EXPECT_FALSE(std::filesystem::exists(folder.File("Imported.cds")));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTempFolder folder;
        {
            THistoryStore history;
            ASSERT_TRUE(history.Open(folder.File(kHistoryFileName)).Ok);
            THistoryRow row;
            row.Auto1 = 3;
            row.SolvedCount = 1;
            ASSERT_TRUE(history.Post(row));
        }
        std::vector<std::string> told;
        c.run(folder, told);
        EXPECT_EQ(told.size(), 1u) << "said once";
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            EXPECT_EQ(entry.path().string().find(".broken-"), std::string::npos) << "nothing aside";
        THistoryStore after;
        ASSERT_TRUE(after.Open(folder.File(kHistoryFileName)).Ok);
        EXPECT_EQ(after.Find(3)->SolvedCount, 1);
    }
}

} // namespace
} // namespace karvena::test
