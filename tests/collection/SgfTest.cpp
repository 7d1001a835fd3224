// The SGF reader on real and broken text, and the importer on small problems.
#include <gtest/gtest.h>

#include "board/Notation.h"
#include "collection/SgfImport.h"

namespace karvena {
namespace {

TEST(SgfReader, ReadsTreesValuesAndGames) {
    const TSgfRead read = ReadSgf(
        "(;GM[1]C[a \\] b\\\\ c\\\nd](;B[aa];W[bb])(;B[cc]))(;AB[aa:bc]AW[dd][ee])", "t.sgf");
    ASSERT_TRUE(read.File) << read.Error;
    const TSgfFile& file = *read.File;
    ASSERT_EQ(file.Games.size(), 2u);
    const TSgfNode& root = file.Nodes[file.Games[0]];
    EXPECT_EQ(root.Get("C"), "a ] b\\ cd") << "escapes and a soft line break";
    EXPECT_EQ(root.Children.size(), 2u);
    EXPECT_EQ(file.Nodes[root.Children[0]].Get("B"), "aa");
    EXPECT_EQ(file.Nodes[file.Nodes[root.Children[0]].Children[0]].Get("W"), "bb");
    const TSgfNode& second = file.Nodes[file.Games[1]];
    EXPECT_EQ(SgfPoints(second.Props.at("AB")).size(), 6u) << "aa:bc is a rectangle of 2 x 3";
    EXPECT_EQ(SgfPoints(second.Props.at("AW")), (std::vector<std::pair<int, int>>{{4, 4}, {5, 5}}));
}

TEST(SgfReader, ConvertsTheDeclaredCharset) {
    // "黑先" (black first) in GB18030 bytes.
    const std::string gb = "(;CA[GB18030]C[\xBA\xDA\xCF\xC8])";
    const TSgfRead read = ReadSgf(gb, "gb.sgf");
    ASSERT_TRUE(read.File) << read.Error;
    EXPECT_EQ(read.File->Nodes[0].Get("C"), "黑先");
    // GB2312 is read as its superset, including a second byte that is a ']' in ASCII.
    const TSgfRead gbk = ReadSgf("(;CA[gb2312]C[\x81\x5D])", "gbk.sgf");
    ASSERT_TRUE(gbk.File) << gbk.Error;
    EXPECT_EQ(gbk.File->Nodes[0].Get("C"), "乚");
    const TSgfRead latin = ReadSgf("(;C[caf\xE9])", "latin.sgf");
    ASSERT_TRUE(latin.File);
    EXPECT_EQ(latin.File->Nodes[0].Get("C"), "café") << "no CA and not UTF-8: Latin-1";
    EXPECT_EQ(ReadSgf("(;C[café])", "utf8.sgf").File->Nodes[0].Get("C"), "café");
}

TEST(SgfReader, ReportsWhereItStopped) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"(;B[aa]\n;W[bb", "bad.sgf:2:3: expected ']' to close the value opened here"},
        {"(;B[aa]", "bad.sgf:1:8: expected ')' to close the game tree"},
        {"(;B[aa]\n  7)", "bad.sgf:2:3: expected ';', '(' or ')' but found '7'"},
        {"(;B[aa]\n  x)", "bad.sgf:2:4: expected '[' after property "},
        {"(B[aa])", "bad.sgf:1:2: expected ';', '(' or ')' but found 'B'"},
        {"(;B)", "bad.sgf:1:4: expected '[' after property B"},
        {"()", "bad.sgf:1:2: expected ';' to start a node"},
        {"", "bad.sgf:1:1: expected '(' to start a game tree"},
        {"no sgf here", "bad.sgf:1:12: expected '(' to start a game tree"},
        {"(;CA[UTF-8]C[\xFF])", "bad.sgf:1:1: expected UTF-8 text as CA declares"},
        {"(;CA[NO-SUCH-CHARSET]C[x])", "bad.sgf:1:1: expected text in charset NO-SUCH-CHARSET"},
    };
    for (const auto& c : cases) {
        const TSgfRead read = ReadSgf(c.text, "bad.sgf");
        EXPECT_FALSE(read.File) << c.text;
        EXPECT_EQ(read.Error, c.error) << c.text;
    }
    EXPECT_TRUE(ReadSgf("(;B[aa]))\n", "extra.sgf").File)
        << "a stray ')' after the game is passed over";
}

TEST(SgfReader, MovesAndPasses) {
    EXPECT_EQ(SgfMove("ab"), std::make_pair(1, 2));
    EXPECT_EQ(SgfMove(""), std::make_pair(20, 20));
    EXPECT_EQ(SgfMove("tt"), std::make_pair(20, 20));
    EXPECT_FALSE(SgfMove("zz"));
    EXPECT_FALSE(SgfMove("a"));
}

TImportedProblem ImportOne(const std::string& sgf) {
    const TSgfRead read = ReadSgf(sgf, "p.sgf");
    EXPECT_TRUE(read.File) << read.Error;
    TImportResult result = ImportSgf(*read.File, "p.sgf");
    EXPECT_EQ(result.Problems.size(), 1u) << (result.Skipped.empty() ? "" : result.Skipped[0]);
    return result.Problems.empty() ? TImportedProblem{} : std::move(result.Problems[0]);
}

TEST(SgfImport, EveryCornerLandsTopLeft) {
    // The same shape in each corner, along both edges: always ends as the top-left one.
    const struct {
        const char* setup;
        const char* move;
    } corners[] = {
        {"AB[ba][bb]AW[ca][cb]", "B[aa]"}, // top-left already
        {"AB[ra][rb]AW[qa][qb]", "B[sa]"}, // top-right
        {"AB[bs][br]AW[cs][cr]", "B[as]"}, // bottom-left
        {"AB[rs][rr]AW[qs][qr]", "B[ss]"}, // bottom-right
        {"AB[ab][bb]AW[ac][bc]", "B[aa]"}, // top-left, turned
        {"AB[sb][rb]AW[sc][rc]", "B[sa]"}, // top-right, turned
    };
    std::string first;
    for (const auto& c : corners) {
        const TImportedProblem p =
            ImportOne(std::string("(;SZ[19]") + c.setup + "(;" + c.move + "C[Correct]))");
        EXPECT_EQ(p.Tree.Node(p.Tree.FirstChild(p.Tree.Root())).Text, "AA 1") << c.setup;
        const std::string shape = p.Row.ArrangedBlack + "/" + p.Row.ArrangedWhite;
        for (char ch : shape) {
            if (ch == '/') continue;
            EXPECT_LE(LetterToCoord(ch), 3) << c.setup << " " << shape;
        }
    }
    EXPECT_EQ(ChooseSymmetry({{1, 1}, {2, 2}}).Number(), 0) << "the identity wins a tie";
    EXPECT_EQ(ChooseSymmetry({{19, 19}}).Number(), 2) << "the half turn";
    // A tie goes to the first in the importer's order: the mirror top-bottom before the half turn
    // and the turns that bring the edge to the left.
    EXPECT_EQ(ChooseSymmetry({{1, 19}, {19, 19}}).Number(), 5);
}

TEST(SgfImport, OutcomesAndFlags) {
    const TImportedProblem p =
        ImportOne("(;AB[ab]AW[ac]"
                  "(;B[aa]C[Correct.])"     // success
                  "(;B[ba]C[RIGHT])"        // success, other convention
                  "(;B[ca]C[+])"            // success
                  "(;B[da]TE[1])"           // TE on a leaf
                  "(;B[ea]C[Also correct])" // success, not the best
                  "(;B[fa]BM[1];W[ga])"     // bad move, failure
                  "(;B[ha]DO[1])"           // doubtful, failure
                  "(;B[ja]C[Correct, and more follows];W[ka];B[la]C[Correct])"
                  "(;B[ma]C[Wrong.]))");
    const TSolutionTree& t = p.Tree;
    std::vector<std::string> texts;
    std::vector<std::string> flags;
    for (TNodeId c : t.Children(t.Root())) {
        texts.push_back(t.Node(c).Text);
        flags.push_back(t.Node(c).StringData);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"AA 1", "BA 1", "CA 1", "DA 1", "EA 5", "FA", "HA",
                                               "JA", "MA"}));
    EXPECT_EQ(flags, (std::vector<std::string>{"", "", "", "", "4", "1", "4", "", ""}));
    const TNodeId ja = t.Children(t.Root())[7];
    EXPECT_EQ(t.ChildCount(ja), 1) << "a correct node keeps its children, and the line goes on";
    EXPECT_EQ(p.SuccessNodes, 6);
    EXPECT_EQ(t.LineEndOf(t.Children(t.Root())[5]), TLineEnd::Continues) << "FA continues to GA";
    EXPECT_EQ(t.LineEndOf(t.FirstChild(t.Children(t.Root())[5])), TLineEnd::Failure);
}

TEST(SgfImport, TwoMovesOfOneColourGetAPassBetween) {
    const TImportedProblem p = ImportOne("(;AB[bb]AW[cc];B[aa];B[ab];W[ba];W[ca]C[Correct])");
    const TSolutionTree& t = p.Tree;
    std::vector<std::string> line;
    for (TNodeId n = t.FirstChild(t.Root()); n != kNoNode; n = t.FirstChild(n))
        line.push_back(t.Node(n).Text);
    EXPECT_EQ(line, (std::vector<std::string>{"AA", "TT", "AB", "BA", "TT", "CA 1"}));
}

TEST(SgfImport, PassesAndTheSideToPlay) {
    TImportedProblem p = ImportOne("(;PL[W]AB[bb]AW[cc];W[];B[aa]C[Correct])");
    EXPECT_EQ(p.Row.FirstToPlay, "W");
    EXPECT_EQ(p.Tree.Node(p.Tree.FirstChild(p.Tree.Root())).Text, "TT");
    p = ImportOne("(;AB[bb]AW[cc];W[aa];B[tt])");
    EXPECT_EQ(p.Row.FirstToPlay, "W") << "without PL the first move's colour";
    EXPECT_EQ(p.Tree.Node(p.Tree.FirstChild(p.Tree.FirstChild(p.Tree.Root()))).Text, "TT 1")
        << "nothing marked: the main line is the answer";
}

TEST(SgfImport, StatedResultFromTheRootComment) {
    const struct {
        const char* comment;
        int result;
    } cases[] = {{"Black to live.", 1},
                 {"White lives?", 1},
                 {"Kill the white group", 0},
                 {"Black to live by ko", 3},
                 {"Black kills with a ko.", 2},
                 {"Black to play.", -1},
                 {"Black to play. The kosumi is the key", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(StatedResult(c.comment), c.result) << c.comment;
    EXPECT_FALSE(ImportOne("(;AB[bb]C[Black to play.];B[aa])").Row.Result2);
    EXPECT_EQ(ImportOne("(;AB[bb]C[Black to live];B[aa])").Row.Result2, 1);
}

TEST(SgfImport, SkipsWhatTheTreeCannotExpress) {
    const struct {
        const char* sgf;
        const char* reason;
    } cases[] = {
        {"(;SZ[21]AB[aa];B[bb])",
         "p.sgf: board size 21, only square boards of 7 to 19 lines are played"},
        {"(;SZ[13:9]AB[aa];B[bb])",
         "p.sgf: board size 13:9, only square boards of 7 to 19 lines are played"},
        {"(;SZ[6]AB[aa];B[bb])",
         "p.sgf: board size 6, only square boards of 7 to 19 lines are played"},
        {"(;SZ[9]AB[aa][jj];B[bb])", "p.sgf: a stone off the 9 x 9 board"},
        {"(;SZ[9]AB[aa];B[ss])", "p.sgf:1:14: a move that is no point: ss"},
        {"(;AB[aa]C[just a diagram])", "p.sgf: no moves at all"},
        {"(;AB[aa]B[zz];B[bb])", "p.sgf: a move in the root node that is no point: zz"},
        {"(;AB[aa];B[zz])", "p.sgf:1:9: a move that is no point: zz"},
    };
    for (const auto& c : cases) {
        const TImportResult result = ImportSgf(*ReadSgf(c.sgf, "p.sgf").File, "p.sgf");
        EXPECT_TRUE(result.Problems.empty()) << c.sgf;
        ASSERT_EQ(result.Skipped.size(), 1u) << c.sgf;
        EXPECT_EQ(result.Skipped[0], c.reason);
    }
    // A setup node right after the root, before any move, is still setup.
    const TImportedProblem p = ImportOne("(;GM[1];AB[bb]AW[cc];B[aa])");
    EXPECT_EQ(p.Row.ArrangedBlack, "BB");
}

TEST(SgfImport, CommentsAreNotCopied) {
    const TImportedProblem p =
        ImportOne("(;AB[bb]C[Some long prose];B[aa]C[Correct. Lovely prose here.])");
    for (TNodeId n = 0; n < p.Tree.Size(); ++n) {
        EXPECT_EQ(p.Tree.Node(n).Text.find("prose"), std::string::npos);
        EXPECT_EQ(p.Tree.Node(n).StringData2, "");
    }
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

std::vector<std::string> Texts(const TSolutionTree& t) {
    std::vector<std::string> out;
    for (TNodeId n = t.Root(); n != kNoNode; n = t.NextInDepthFirst(n))
        out.push_back(t.Node(n).Text +
                      (t.Node(n).StringData.empty() ? "" : "/" + t.Node(n).StringData));
    return out;
}

TEST(SgfImportRepairs, TheTreeCanAlwaysBeSolved) {
    const struct {
        const char* name;
        const char* sgf;
        std::vector<std::string> texts;
    } cases[] = {
        // An opponent alternative left without a correct answer is never chosen (flag 8).
        {"unfinished reply",
         "(;AB[bb];B[aa](;W[ab];B[ac]C[Correct])(;W[ba];B[ca]))",
         {"", "AA", "AB", "AC 1", "BA/8", "CA"}},
        // After a wrong first move the refutation stays playable.
        {"refutation",
         "(;AB[bb](;B[aa];W[ab];B[ac]C[Correct])(;B[ca];W[da]))",
         {"", "AA", "AB", "AC 1", "CA", "DA"}},
        // "Also correct" with no better answer beside it counts as correct.
        {"lone also correct",
         "(;AB[bb](;B[aa];W[ab]C[x](;B[ac]C[Also correct])))",
         {"", "AA", "AB", "AC 1"}},
        // A node marked correct keeps its continuation, whose end carries the success.
        {"continuation",
         "(;AB[bb](;B[aa]C[Correct, and then];W[ab];B[ac]))",
         {"", "AA", "AB", "AC 1"}},
    };
    for (const auto& c : cases) {
        const TSgfRead read = ReadSgf(c.sgf, "r.sgf");
        ASSERT_TRUE(read.File) << read.Error;
        const TImportResult result = ImportSgf(*read.File, "r.sgf");
        ASSERT_EQ(result.Problems.size(), 1u) << c.name;
        EXPECT_EQ(Texts(result.Problems[0].Tree), c.texts) << c.name;
    }
}

// The conventions of published problem collections, each imported and checked at its end node.
TEST(SgfImport, TheMarkersOfRealCollections) {
    const struct {
        const char* comment;
        bool success;
    } cases[] = {
        {"RIGHT", true},
        {"nice!RIGHT", true},
        {"sekiRIGHT", true},
        {":-)RIGHT", true},
        {"Correct.", true},
        {"  Correct", true},
        {"正解", true},
        {"正解です。", true},
        {"正确", true},
        {"正確", true},
        {"不正解", false},
        {"Wrong", false},
        {"the right side is weak", false},
        {"", false},
    };
    for (const auto& c : cases) {
        // A plainly correct sibling: the problem marks its answers, so an unmarked end fails.
        const std::string sgf =
            std::string("(;AB[dd]AW[ee](;B[aa]C[") + c.comment + "])(;B[ba]C[Correct]))";
        const TImportedProblem p = ImportOne(sgf.c_str());
        const TNodeId end = p.Tree.FirstChild(p.Tree.Root());
        EXPECT_EQ(p.Tree.LineEndOf(end) == TLineEnd::Success, c.success) << c.comment;
    }
}

TEST(SgfImport, KeepsWhatWorks) {
    // Repeated identifiers in one node, properties after the setup, White to play, TE and BM.
    const TImportedProblem p =
        ImportOne("(;AB[aa]AB[bb]GM[1]AW[cc]PL[W](;W[ba]TE[1])(;W[ab]BM[1];B[ba]))");
    EXPECT_EQ(p.Row.ArrangedBlack, "AABB");
    EXPECT_EQ(p.Row.ArrangedWhite, "CC");
    EXPECT_EQ(p.Row.FirstToPlay, "W");
    const TNodeId good = p.Tree.FirstChild(p.Tree.Root());
    EXPECT_EQ(p.Tree.LineEndOf(good), TLineEnd::Success);
    EXPECT_EQ(p.Tree.FlagsOf(p.Tree.NextSibling(good)) & kFlagBad, kFlagBad);
}

// Stones set up inside a line change the position its moves are played on: that line ends before
// them (here at B CC, a failure as its end would have been), the warning naming where they stand.
TEST(SgfImport, SetupInsideALineEndsThatLine) {
    const char* sgf = "(;AB[dd]AW[ee]\n(;B[aa]C[Correct])\n(;B[cc];W[hc]AB[mc]))";
    const TImportResult result = ImportSgf(*ReadSgf(sgf, "p.sgf").File, "p.sgf");
    ASSERT_EQ(result.Problems.size(), 1u);
    EXPECT_TRUE(result.Skipped.empty());
    EXPECT_EQ(result.Warnings,
              std::vector<std::string>{"p.sgf:3:8: stones set up inside a variation: the line ends before it"});
    const TSolutionTree& tree = result.Problems[0].Tree;
    const TNodeId cut = tree.NextSibling(tree.FirstChild(tree.Root()));
    EXPECT_EQ(tree.MoveOf(cut), "CC");
    EXPECT_FALSE(tree.HasChildren(cut));
    EXPECT_EQ(tree.LineEndOf(cut), TLineEnd::Failure);
}

} // namespace
} // namespace karvena
