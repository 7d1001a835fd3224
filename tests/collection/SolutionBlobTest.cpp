// Reading and writing the Solution blob, and surviving broken ones.
#include <gtest/gtest.h>

#include <random>

#include "board/Notation.h"
#include "collection/BlobBytes.h"
#include "collection/SolutionBlob.h"

namespace karvena::test {
namespace {

TEST(SolutionBlob, ThirtyTwoBytesHoldNoTree) {
    std::vector<uint8_t> blob(32, 0x41);
    TSolutionTree tree;
    tree.Add(kNoNode, "old");
    EXPECT_NO_THROW(LoadSolution(tree, blob));
    EXPECT_TRUE(tree.Empty());
}

TEST(SolutionBlob, ThirtyThreeBytesAreParsed) {
    // A top-level count of 1 and a cut record: 33 bytes is enough to be read, and it is broken.
    TBlobBytes b;
    b.Int(1).Record("", "", "", 0);
    b.bytes.resize(33);
    TSolutionTree tree;
    EXPECT_THROW(LoadSolution(tree, b.bytes), TBlobError);
}

TEST(SolutionBlob, ReadsEveryFieldAndTheTreeShape) {
    TBlobBytes b;
    b.Int(1)
        .Record("root", "", "", 2, 0, 7, 99)
        .Record("CC", "5", "3", 1)
        .Record("DD 1", "", "", 0)
        .Record("EE", "", "", 0);
    TSolutionTree tree;
    LoadSolution(tree, b.bytes);
    ASSERT_EQ(tree.Size(), 4);
    EXPECT_EQ(tree.Node(0).Text, "root");
    EXPECT_EQ(tree.Node(0).ImageIndex, 7);
    EXPECT_EQ(tree.Node(0).UserData, 99);
    EXPECT_EQ(tree.Node(0).Expanded, 1);
    EXPECT_EQ(tree.ChildCount(0), 2);
    const std::vector<TNodeId> first = tree.Children(0);
    EXPECT_EQ(tree.Node(first[0]).Text, "CC");
    EXPECT_EQ(tree.Node(first[0]).StringData, "5");
    EXPECT_EQ(tree.Node(first[0]).StringData2, "3");
    EXPECT_EQ(tree.Level(tree.FirstChild(first[0])), 2);
    EXPECT_EQ(tree.Node(first[1]).Text, "EE");
    for (TNodeId n = 0; n < tree.Size(); ++n)
        EXPECT_EQ(tree.Node(n).Mark, kMarkUnset);
    EXPECT_EQ(SaveSolution(tree), b.bytes) << "the writer gives the same bytes back";
}

TEST(SolutionBlob, SurplusRecordBytesAreSkippedAndTheRewriteIsCanonical) {
    TBlobBytes surplus;
    surplus.Int(1).Record("root", "", "", 1, 5).Record("CC 1", "1", "", 0, 3);
    TSolutionTree tree;
    LoadSolution(tree, surplus.bytes);
    ASSERT_EQ(tree.Size(), 2);
    EXPECT_EQ(tree.Node(1).Text, "CC 1");
    EXPECT_EQ(tree.Node(1).StringData, "1");
    TBlobBytes canonical;
    canonical.Int(1).Record("root", "", "", 1).Record("CC 1", "1", "", 0);
    EXPECT_EQ(SaveSolution(tree), canonical.bytes);
}

TEST(SolutionBlob, BrokenBlobsNameTheOffsetAndKeepWhatWasRead) {
    TBlobBytes good;
    good.Int(1).Record("root", "", "", 2).Record("CC 1", "", "", 0).Record("DD 0", "", "", 0);
    const struct {
        const char* name;
        std::vector<uint8_t> blob;
        size_t offset;
        int nodes;
    } cases[] = {
        {"cut inside the third record",
         {good.bytes.begin(), good.bytes.end() - 10},
         4 + 47 + 47,
         2},
        {"cut after the second record",
         {good.bytes.begin(), good.bytes.begin() + 4 + 47 + 47},
         98,
         2},
        {"huge child count", TBlobBytes().Int(1).Record("root", "", "", 0x7FFFFFFF).bytes, 51, 1},
        {"huge top-level count", TBlobBytes().Int(0x7FFFFFFF).Record("root", "", "", 0).bytes, 51,
         1},
        {"negative flags length", TBlobBytes().Int(1).Record("root", "", "", 0).Int(0).bytes, 4, 0},
        {"flags run past the end", TBlobBytes().Int(1).Record("root", "", "", 0).bytes, 51, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> blob = c.blob;
        if (std::string(c.name) == "negative flags length") {
            blob[4 + 30] = 0xFF, blob[4 + 31] = 0xFF, blob[4 + 32] = 0xFF, blob[4 + 33] = 0xFF;
        }
        if (std::string(c.name) == "flags run past the end") blob[4 + 30] = 200;
        TSolutionTree tree;
        try {
            LoadSolution(tree, blob);
            ADD_FAILURE() << "no error";
        } catch (const TBlobError& e) {
            EXPECT_EQ(e.Offset(), c.offset) << e.what();
            EXPECT_NE(std::string(e.what()).find(std::to_string(c.offset)), std::string::npos);
        }
        EXPECT_EQ(tree.Size(), c.nodes);
    }
}

TEST(SolutionBlob, ADeepChainLoadsWithoutRecursion) {
    TSolutionTree tree;
    TNodeId node = tree.Add(kNoNode, "root");
    for (int i = 0; i < 200000; ++i)
        node = tree.Add(node, "CC");
    const std::vector<uint8_t> blob = SaveSolution(tree);
    TSolutionTree loaded;
    LoadSolution(loaded, blob);
    EXPECT_EQ(loaded.Size(), 200001);
    EXPECT_EQ(loaded.Level(200000), 200000);
    EXPECT_EQ(SaveSolution(loaded), blob);
}

TEST(SolutionBlob, LongTextsAreCutTo255) {
    TSolutionTree tree;
    tree.Add(kNoNode, std::string(300, 'A'));
    TSolutionTree loaded;
    LoadSolution(loaded, SaveSolution(tree));
    EXPECT_EQ(loaded.Node(0).Text.size(), 255u);
}

// A random tree from the writer: read(write(t)) writes the same bytes again.
TSolutionTree RandomTree(std::mt19937& random, int nodes) {
    TSolutionTree tree;
    tree.Add(kNoNode, "root");
    for (int i = 1; i < nodes; ++i) {
        const TNodeId parent = static_cast<TNodeId>(random() % tree.Size());
        std::string text = PointText(1 + random() % 19, 1 + random() % 19);
        if (random() % 3 == 0) text += " " + std::string(1, "0123579?"[random() % 8]);
        const TNodeId id = tree.Add(parent, text, random() % 4 ? "" : std::to_string(random() % 80),
                                    random() % 5 ? "" : std::to_string(random() % 9));
        tree.Node(id).UserData = static_cast<int32_t>(random());
        tree.Node(id).StateIndex = static_cast<int32_t>(random() % 4) - 1;
    }
    return tree;
}

TEST(SolutionBlob, WriterMadeBlobsRoundTrip) {
    std::mt19937 random(42);
    for (int round = 0; round < 50; ++round) {
        const std::vector<uint8_t> blob = SaveSolution(RandomTree(random, 2 + round * 7));
        TSolutionTree loaded;
        LoadSolution(loaded, blob);
        ASSERT_EQ(SaveSolution(loaded), blob) << round;
    }
}

TEST(SolutionBlob, SeededMutationsNeverCrash) {
    std::mt19937 random(20261208);
    std::vector<std::vector<uint8_t>> seeds;
    for (int i = 0; i < 8; ++i)
        seeds.push_back(SaveSolution(RandomTree(random, 5 + i * 10)));
    int errors = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> blob = seeds[round % seeds.size()];
        switch (random() % 4) {
        case 0: // truncation
            blob.resize(random() % (blob.size() + 1));
            break;
        case 1: // flipped bytes
            for (int k = 0; k < 1 + static_cast<int>(random() % 6); ++k)
                blob[random() % blob.size()] ^= 1 << (random() % 8);
            break;
        case 2: { // a huge or negative count or length at a field boundary
            const size_t at = random() % (blob.size() - 4);
            const int32_t values[] = {0x7FFFFFFF, -1, 1 << 30, 300, 0};
            const int32_t v = values[random() % 5];
            for (int s = 0; s < 4; ++s)
                blob[at + s] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * s));
            break;
        }
        default: // random garbage of the same size
            for (uint8_t& b : blob)
                b = static_cast<uint8_t>(random());
        }
        TSolutionTree tree;
        try {
            LoadSolution(tree, blob);
            // Whatever loaded can be written and read again.
            TSolutionTree again;
            LoadSolution(again, SaveSolution(tree));
            ASSERT_EQ(again.Size(), tree.Size());
        } catch (const TBlobError& e) {
            ++errors;
            ASSERT_LE(e.Offset(), blob.size());
        }
    }
    EXPECT_GT(errors, 1000) << "the mutations must reach the error paths";
}

} // namespace
} // namespace karvena::test
