// What a node's text and flags say, and the queries the solve loop asks of the tree.
#include <gtest/gtest.h>

#include <fstream>

#include "collection/SolutionTree.h"

namespace karvena {
namespace {

TEST(NodeText, ResultCodes) {
    const struct {
        const char* text;
        bool children;
        const char* code;
        int value;
        TLineEnd end;
    } cases[] = {
        {"CC", true, "  ", 0, TLineEnd::Continues},
        {"CC", false, "0 ", 0, TLineEnd::Failure},
        {"CC 1", false, "1 ", 1, TLineEnd::Success},
        {"CC  1 comment", false, "1 ", 1, TLineEnd::Success},
        {"CC 11", false, "11", 5, TLineEnd::Success},
        {"CC 2", false, "2 ", 2, TLineEnd::Failure},
        {"CC ?", false, "? ", 0, TLineEnd::Failure},
        {"CC 0", true, "0 ", 0, TLineEnd::Failure},
        {"CC 9x", false, "9x", 9, TLineEnd::Success},
        {"CC b", false, "b ", 11, TLineEnd::Success},
        {"CC +", true, "+ ", 0, TLineEnd::Continues}, // 0x21..0x2F continue the line
        {"CC !1", true, "!1", 4, TLineEnd::Continues},
        {"CC /", false, "/ ", 0, TLineEnd::Continues},
        {" C 1", false, "1 ", 1, TLineEnd::Success}, // the first blank at 1 is no separator,
        {"C 1", false, "0 ", 0, TLineEnd::Failure},  // nor at 2: no code, and childless
        {"CC ", true, "  ", 0, TLineEnd::Continues},
        {"", false, "0 ", 0, TLineEnd::Failure},
    };
    for (const auto& c : cases) {
        const std::string code = ResultCodeOfText(c.text, c.children);
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_EQ(ResultValue(code), c.value) << c.text;
        EXPECT_EQ(LineEndOfCode(code), c.end) << c.text;
    }
}

TEST(NodeText, HexValues) {
    EXPECT_EQ(HexValue("41"), 0x41);
    EXPECT_EQ(HexValue("fF"), 255);
    EXPECT_EQ(HexValue(""), 0);
    EXPECT_EQ(HexValue("1g"), 0);
    EXPECT_EQ(HexValue("$1"), 0);
    EXPECT_EQ(HexValue("123456789"), 0) << "too long to be a flag";
    EXPECT_EQ(HexValue("1000001D"), 0x1000001D) << "eight digits are a whole flag word";
    EXPECT_EQ(HexValue("8000001D") & 0xFF, 0x1D);
}

TEST(NodeFlags, FlagsNoticesAndComments) {
    TRemarks remarks;
    remarks.English = {"line zero", "first remark", "second remark"};
    remarks.Chinese = {"零", "一", "二"};
    const struct {
        const char* flags;
        const char* remark;
        bool flagged;
        bool sometimes;
        const char* english;
        const char* chinese;
    } cases[] = {
        {"5", "", true, false, "", ""},
        {"41", "", true, true, "", ""},
        {"1", "", true, false, "Bad move", "坏棋"},
        {"2", "", false, false, "Seki", "双活"},
        {"4", "1", true, false, "Not best. first remark", "非最佳. 一"},
        {"", "2", false, false, "second remark", "二"},
        {"", "0", false, false, "", ""},
        {"", "3", false, false, "", ""},
        {"", "zz", false, false, "", ""},
        {"101", "102", true, false, "Bad move. second remark", "坏棋. 二"}, // low bytes only
    };
    for (const auto& c : cases) {
        TSolutionTree tree;
        const TNodeId node = tree.Add(kNoNode, "CC", c.flags, c.remark);
        const int flags = tree.FlagsOf(node);
        EXPECT_EQ(IsFlagged(flags), c.flagged) << c.flags;
        EXPECT_EQ((flags & kFlagSometimes) != 0, c.sometimes) << c.flags;
        EXPECT_EQ(CommentOf(tree, node, remarks, true), c.english) << c.flags << "/" << c.remark;
        EXPECT_EQ(CommentOf(tree, node, remarks, false), c.chinese) << c.flags << "/" << c.remark;
    }
}

TEST(VisitMarks, VisitAndReopen) {
    TSolutionTree tree;
    const TNodeId n = tree.Add(kNoNode, "root");
    EXPECT_TRUE(tree.IsVisited(n)) << "Unset counts as visited";
    tree.MarkVisited(n);
    EXPECT_EQ(tree.Node(n).Mark, kMarkUnset);
    tree.Reopen(n);
    EXPECT_EQ(tree.Node(n).Mark, kMarkOpen);
    EXPECT_FALSE(tree.IsVisited(n));
    tree.MarkVisited(n);
    EXPECT_EQ(tree.Node(n).Mark, kMarkVisited);
    tree.Reopen(n);
    EXPECT_EQ(tree.Node(n).Mark, kMarkOpen);
}

TEST(Queries, MatchMovePrefersTheExactMoveThenPlayElsewhere) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "root");
    const TNodeId tenuki = tree.Add(root, "TT");
    const TNodeId cc = tree.Add(root, "CC 1");
    tree.Add(root, "CC 0");
    EXPECT_EQ(tree.MatchMove(root, "CC").Child, cc);
    EXPECT_EQ(tree.MatchMove(root, "CC").Count, 2);
    EXPECT_EQ(tree.MatchMove(root, "DD").Child, tenuki);
    EXPECT_EQ(tree.MatchMove(root, "DD").Count, 1);
    EXPECT_EQ(tree.MatchMove(root, "cc").Child, tenuki) << "matching is exact";
    TSolutionTree plain;
    const TNodeId only = plain.Add(kNoNode, "root");
    plain.Add(only, "CC");
    EXPECT_EQ(plain.MatchMove(only, "DD").Child, kNoNode);
}

TEST(Queries, ChooseReplyHonoursTheMask) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "root");
    const TNodeId move = tree.Add(root, "CC");
    const TNodeId bad = tree.Add(move, "DD", "1");
    const TNodeId good = tree.Add(move, "EE");
    EXPECT_EQ(tree.ChooseReply(move, kMaskPlain), bad) << "bad moves may be played under 24";
    tree.SetAllMarks(kMarkUnset);
    EXPECT_EQ(tree.ChooseReply(move, kMaskAvoidBad), good);

    const TNodeId single = tree.Add(good, "FF");
    const TNodeId onlyBad = tree.Add(single, "GG", "1");
    EXPECT_EQ(tree.ChooseReply(single, kMaskAvoidBad), onlyBad)
        << "the only child is always played";
    EXPECT_EQ(tree.ChooseReply(onlyBad, kMaskAvoidBad), kNoNode) << "no children, no reply";

    const TNodeId allBad = tree.Add(onlyBad, "HH");
    tree.Add(allBad, "JJ", "4");
    tree.Add(allBad, "KK", "10");
    EXPECT_EQ(tree.ChooseReply(allBad, kMaskAvoidBad), kNoNode);
}

TEST(Queries, ChooseReplyReopensAfterAllWerePlayed) {
    TSolutionTree tree;
    const TNodeId root = tree.Add(kNoNode, "root");
    const TNodeId move = tree.Add(root, "CC");
    const TNodeId a = tree.Add(move, "DD");
    const TNodeId b = tree.Add(move, "EE");
    // Fresh marks are Unset (visited): the children are reopened and the first is played.
    EXPECT_EQ(tree.ChooseReply(move, kMaskAvoidBad), a);
    EXPECT_EQ(tree.Node(a).Mark, kMarkOpen);
    tree.MarkVisited(a);
    EXPECT_EQ(tree.ChooseReply(move, kMaskAvoidBad), b);
    tree.MarkVisited(b);
    EXPECT_EQ(tree.ChooseReply(move, kMaskAvoidBad), a) << "all played: reopened";
}

// root
//   CC            solver
//     DD          opponent, branch 1
//       EE 1      solver, success
//     FF          opponent, branch 2
//       GG        solver
//         HH      opponent, branch 2a
//           JJ 1
//         KK      opponent, branch 2b
//           LL 1
//   MM 0          solver, wrong first move
class TwoLevelTree : public ::testing::Test {
protected:
    void SetUp() override {
        root = tree.Add(kNoNode, "root");
        cc = tree.Add(root, "CC");
        dd = tree.Add(cc, "DD");
        ee = tree.Add(dd, "EE 1");
        ff = tree.Add(cc, "FF");
        gg = tree.Add(ff, "GG");
        hh = tree.Add(gg, "HH");
        jj = tree.Add(hh, "JJ 1");
        kk = tree.Add(gg, "KK");
        ll = tree.Add(kk, "LL 1");
        mm = tree.Add(root, "MM 0");
    }
    TSolutionTree tree;
    TNodeId root, cc, dd, ee, ff, gg, hh, jj, kk, ll, mm;
};

TEST_F(TwoLevelTree, AdvanceVariationWalksEveryOpponentVariationThenIsExhausted) {
    // First line: CC, the tree answers DD, EE succeeds.
    ASSERT_EQ(tree.ChooseReply(cc, kMaskAvoidBad), dd);
    TVariation next = tree.AdvanceVariation(ee, kMaskAvoidBad);
    ASSERT_FALSE(next.Exhausted);
    EXPECT_EQ(next.Branch, cc);
    EXPECT_EQ(next.Reply, ff);
    // Second line: FF, GG, the tree answers HH, JJ succeeds.
    ASSERT_EQ(tree.ChooseReply(gg, kMaskAvoidBad), hh);
    next = tree.AdvanceVariation(jj, kMaskAvoidBad);
    ASSERT_FALSE(next.Exhausted);
    EXPECT_EQ(next.Branch, gg);
    EXPECT_EQ(next.Reply, kk);
    // Third line: KK, LL succeeds; nothing is left.
    next = tree.AdvanceVariation(ll, kMaskAvoidBad);
    EXPECT_TRUE(next.Exhausted);
}

TEST_F(TwoLevelTree, HasSuccessBelowSkipsFlaggedOpponentMoves) {
    EXPECT_TRUE(tree.HasSuccessBelow(root));
    EXPECT_TRUE(tree.HasSuccessBelow(hh));
    EXPECT_FALSE(tree.HasSuccessBelow(mm));
    EXPECT_FALSE(tree.HasSuccessBelow(ee)) << "the node itself is not below itself";
    tree.Node(hh).StringData = "1";
    tree.Node(kk).StringData = "4";
    EXPECT_FALSE(tree.HasSuccessBelow(gg)) << "both successes pass a flagged opponent move";
    EXPECT_TRUE(tree.HasSuccessBelow(hh)) << "the flagged node itself is above the path";
    tree.Node(jj).StringData = "1";
    EXPECT_TRUE(tree.HasSuccessBelow(hh)) << "a flagged solver move does not count";
}

TEST_F(TwoLevelTree, RetryPointClimbsToAnEvenLevelWithASuccess) {
    const TNodeId wrong = tree.Add(hh, "XX 0");
    EXPECT_EQ(tree.RetryPoint(wrong), hh);
    EXPECT_EQ(tree.RetryPoint(mm), root);
    tree.Node(jj).Text = "JJ 0";
    EXPECT_EQ(tree.RetryPoint(wrong), ff) << "HH has no success left; GG is the solver's";
    TSolutionTree lost;
    const TNodeId r = lost.Add(kNoNode, "root");
    const TNodeId x = lost.Add(r, "CC 0");
    EXPECT_EQ(lost.RetryPoint(x), kNoNode);
}

TEST_F(TwoLevelTree, BranchPointAbove) {
    EXPECT_EQ(tree.BranchPointAbove(jj, 2), cc) << "CC has two replies";
    EXPECT_EQ(tree.BranchPointAbove(jj, 3), ff)
        << "FF has one child: the nearest node with a success";
    EXPECT_EQ(tree.BranchPointAbove(jj, 9), kNoNode);
    TSolutionTree lost;
    const TNodeId r = lost.Add(kNoNode, "root");
    const TNodeId a = lost.Add(r, "CC");
    const TNodeId b = lost.Add(a, "DD 0");
    EXPECT_EQ(lost.BranchPointAbove(b, 1), kNoNode);
}

TEST_F(TwoLevelTree, SyncToBoardStepsUpOneMoveAfterATakeBack) {
    tree.Select(ee); // level 3: three moves beyond an initial of 4 characters
    tree.SyncToBoard(4 + 6, 4);
    EXPECT_EQ(tree.Current(), ee) << "the board still shows three moves";
    tree.SyncToBoard(4 + 4, 4);
    EXPECT_EQ(tree.Current(), dd);
    tree.Select(root);
    tree.SyncToBoard(0, 0);
    EXPECT_EQ(tree.Current(), root) << "the root has no parent";
}

TEST_F(TwoLevelTree, DepthFirstOrderAndDump) {
    std::vector<TNodeId> order;
    for (TNodeId n = root; n != kNoNode; n = tree.NextInDepthFirst(n))
        order.push_back(n);
    EXPECT_EQ(order, (std::vector<TNodeId>{root, cc, dd, ee, ff, gg, hh, jj, kk, ll, mm}));
    const std::string dump = tree.Dump();
    EXPECT_NE(dump.find("root mark=-1\n  CC mark=-1\n    DD mark=-1\n      EE 1 mark=-1\n"),
              std::string::npos)
        << dump;
}

} // namespace
} // namespace karvena

#include <random>

namespace karvena {
namespace {

TEST(Queries, TheDumpOfADeepLineGrowsWithTheTreeNotWithItsDepth) {
    TSolutionTree tree;
    TNodeId at = tree.Add(kNoNode, "");
    const int depth = 10000;
    for (int i = 0; i < depth; ++i)
        at = tree.Add(at, i % 2 ? "AA" : "BB");
    const std::string dump = tree.Dump();
    EXPECT_LT(dump.size(), static_cast<size_t>(depth) * 100) << "about a line's width a node";
    EXPECT_NE(dump.find("[10000] "), std::string::npos);
}

TEST(Queries, SuccessBelowAllAgreesWithHasSuccessBelow) {
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        TSolutionTree tree;
        tree.Add(kNoNode, "");
        for (int i = 0; i < 80; ++i) {
            const TNodeId parent = static_cast<TNodeId>(random() % tree.Size());
            const char* results[] = {"", " 1", " 0", " 5", " +"};
            const char* flags[] = {"", "", "1", "4", "40", "8"};
            tree.Add(parent, std::string("CC") + results[random() % 5], flags[random() % 6]);
        }
        const std::vector<bool> all = tree.SuccessBelowAll();
        for (TNodeId n = 0; n < tree.Size(); ++n)
            ASSERT_EQ(all[n], tree.HasSuccessBelow(n)) << round << " node " << n;
    }
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

TEST(Remarks, ChineseRemarkLinesAreReadFromGB2312) {
    const std::string path = testing::TempDir() + "RemarkGB.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\xB6\xFE\r\n" // 二
            << "\xCB\xC0\xBB\xEE\n" // 死活
            << "\xFF\xFF\n"; // no GB2312 text: left empty
    }
    EXPECT_EQ(LoadRemarkLines(path, "GB18030"), (std::vector<std::string>{"二", "死活", ""}));
    EXPECT_EQ(LoadRemarkLines(path)[1], "\xCB\xC0\xBB\xEE") << "without a charset, as it stands";
}

} // namespace
} // namespace karvena
