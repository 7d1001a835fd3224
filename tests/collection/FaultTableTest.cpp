// Hostile collection files, one row each: what opening a group says, what the collection tool
// exits with, and that the player's history is left byte for byte as it was.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
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
             // A run of pages in the middle overwritten: the listing meets them.
             for (size_t i = damaged.size() / 3; i < damaged.size() / 3 + 3 * 4096; ++i)
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
