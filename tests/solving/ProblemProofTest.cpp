// Problems put to the solver: the region, target and goal derived from what the problem says,
// and the tree's first moves judged against its marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "collection/ImportedRow.h"
#include "solver/Solver.h"
#include "solving/ProblemProof.h"

namespace karvena::test {
namespace {

// Black lives in the corner by BA (or CA); AA and EA die. `marks` are the three first moves'
// comments in that order, `root` the root comment.
std::string CornerLife(const std::string& root, const std::string& ba, const std::string& aa,
                       const std::string& ea) {
    return "(;SZ[19]C[" + root +
           "]AB[ab][bb][da][db][eb][fa][fb]AW[ac][bc][bd][cb][cd][dc][ec][fc][ga][gb][gc]"
           "(;B[ba]C[" + ba + "])(;B[aa];W[ba]C[" + aa + "])(;B[ea];W[ba]C[" + ea + "]))";
}

bool Contains(const std::vector<int>& points, const char* move) {
    return std::find(points.begin(), points.end(), PointOfMove(move, 19)) != points.end();
}

// A search bound by positions, with a table of `megabytes`.
TSolverBudget NodesBudget(int64_t nodes, size_t megabytes) {
    TSolverBudget budget;
    budget.Nodes = nodes;
    budget.TableBytes = megabytes << 20;
    return budget;
}

// The question of an imported SGF problem, with `goal` when given.
TProblemQuestion AskedOf(const std::string& sgf, std::optional<TLifeGoal> goal = std::nullopt,
                         bool alongTheEdge = false) {
    const TProblemRow row = ImportedRow(sgf);
    TSolutionTree tree;
    LoadSolution(tree, row.Solution);
    return QuestionOf(row, tree, goal, alongTheEdge);
}

TEST(ProblemQuestion, RegionTargetAndGoalOfACornerProblem) {
    const TProblemQuestion question =
        AskedOf(CornerLife("Black to live.", "Correct", "Wrong", "Wrong"));
    ASSERT_TRUE(question.Ok()) << question.Error;
    const TLifeAndDeath& q = question.Question;
    EXPECT_EQ(q.Goal, TLifeGoal::Live);
    EXPECT_EQ(q.ToMove, TStone::Black);
    EXPECT_EQ(q.Attacker, TStone::White);
    EXPECT_TRUE(Contains(q.Target, "DA")) << "the largest black chain";
    for (const char* inside : {"AA", "BA", "CA", "EA", "DA"})
        EXPECT_TRUE(Contains(q.Region, inside)) << inside;
    for (const char* outside : {"AC", "GA", "HA", "AE", "KK"})
        EXPECT_FALSE(Contains(q.Region, outside)) << outside;

    // Without a stated goal there is no question until the tree's answer chooses one.
    const std::string silent = CornerLife("", "Correct", "Wrong", "Wrong");
    EXPECT_EQ(AskedOf(silent).Error, kNoStatedGoal);
    EXPECT_TRUE(AskedOf(silent, TLifeGoal::Kill).Ok());
}

TEST(ProblemQuestion, AnOpenSideStaysOutsideTheRegion) {
    // Two black stones far apart on the first line: the empty line between them is open board.
    const TProblemQuestion question =
        AskedOf("(;SZ[19]C[Black to live.]AB[aa][ia]AW[ba](;B[ab]C[Correct])(;B[bb])(;B[ha]))");
    ASSERT_TRUE(question.Ok()) << question.Error;
    for (const char* inside : {"AB", "BB", "HA", "JB"})
        EXPECT_TRUE(Contains(question.Question.Region, inside)) << inside;
    for (const char* outside : {"EA", "EB", "DB"})
        EXPECT_FALSE(Contains(question.Question.Region, outside)) << outside;
}

TEST(ProblemQuestion, StonesFarFromTheTreeAreNoPartOfTheQuestion) {
    // The corner problem with black stones elsewhere on the board: one in the far corner, one
    // on the side, and a chain two lines beyond the problem's own stones, on the far side of
    // White's safe wall: no part of the question either.
    std::string sgf = CornerLife("Black to live.", "Correct", "Wrong", "Wrong");
    sgf.replace(sgf.find("AB["), 3, "AB[pp][ja][ad][ae][");
    const TProblemQuestion question = AskedOf(sgf);
    ASSERT_TRUE(question.Ok()) << question.Error;
    const TLifeAndDeath& q = question.Question;
    for (const char* far : {"PP", "OO", "QQ", "JA", "IA", "JB"})
        EXPECT_FALSE(Contains(q.Region, far)) << far;
    EXPECT_FALSE(Contains(q.Region, "AD"));
    for (const char* inside : {"AA", "BA", "CA", "EA"})
        EXPECT_TRUE(Contains(q.Region, inside)) << inside;
    EXPECT_TRUE(Contains(q.Target, "DA"));
    EXPECT_FALSE(Contains(q.Target, "PP"));
}

TEST(ProblemQuestion, TheEdgeBesideTheProblemIsInside) {
    // White on the third line from the left edge, walled in by Black; the tree plays to the
    // right of it only. The empty first and second lines on the left are White's to live by.
    const TProblemQuestion question = AskedOf(
        "(;SZ[19]C[Black to kill.]AW[ca][cb][cc][da]AB[db][dc][cd][bd][fa][fb]"
        "(;B[ea]C[Correct])(;B[eb]))");
    ASSERT_TRUE(question.Ok()) << question.Error;
    for (const char* inside : {"AB", "AC", "BB", "BC"})
        EXPECT_TRUE(Contains(question.Question.Region, inside)) << inside;
    for (const char* framed : {"AB", "AC"})
        EXPECT_FALSE(std::find(question.Frame.begin(), question.Frame.end(),
                               PointOfMove(framed, 19)) != question.Frame.end())
            << framed << " is no attacker's stone";

    // Black inside a white wall on the second line, and reaching the edge below it: the first
    // line above is White's outside, and the region does not run round the wall along it.
    const TProblemQuestion inside = AskedOf(
        "(;SZ[19]C[Black to live.]AW[ba][bb][bc][af][bf][cf][df]AB[ca][cb][cc][bd][be][ce][de][dd]"
        "(;B[dc]C[Correct])(;B[eb]))");
    ASSERT_TRUE(inside.Ok()) << inside.Error;
    for (const char* outside : {"AA", "AB"})
        EXPECT_FALSE(Contains(inside.Question.Region, outside)) << outside;
    EXPECT_TRUE(Contains(inside.Question.Region, "AD"));
}

TEST(ProblemQuestion, EveryOrientationAsksTheSameQuestion) {
    const TProblemQuestion stored = AskedOf(CornerLife("Black to live.", "Correct", "Wrong", "Wrong"));
    ASSERT_TRUE(stored.Ok()) << stored.Error;
    const TSolverBudget budget = NodesBudget(200000, 1);
    const std::vector<TJudgedMove> asStored = JudgeMoves(stored.Question, budget);
    for (int number = 1; number < TOrientation::kCount; ++number) {
        SCOPED_TRACE("orientation " + std::to_string(number));
        const TOrientation orientation(number);
        const TProblemQuestion shown = Oriented(stored, orientation);
        const TLifeAndDeath& q = shown.Question;
        EXPECT_EQ(q.Attacker, number >= 8 ? TStone::Black : TStone::White);
        ASSERT_EQ(q.Region.size(), stored.Question.Region.size());
        // Each move judged as stored is judged alike where the orientation puts it.
        const std::vector<TJudgedMove> judged = JudgeMoves(q, budget);
        ASSERT_EQ(judged.size(), asStored.size());
        for (const TJudgedMove& m : asStored) {
            int where = m.Point;
            if (where != TSolverBoard::kNoPoint) {
                const TPoint p = orientation.Apply(TPoint{TSolverBoard::XOf(where), TSolverBoard::YOf(where)});
                where = TSolverBoard::PointOf(p.P, p.Q);
            }
            const auto found = std::find_if(judged.begin(), judged.end(),
                                            [&](const TJudgedMove& j) { return j.Point == where; });
            ASSERT_NE(found, judged.end()) << SolverPointText(m.Point);
            EXPECT_EQ(VerdictName(found->Verdict), std::string(VerdictName(m.Verdict)))
                << SolverPointText(m.Point) << " shown at " << SolverPointText(where);
        }
    }
}

TEST(ProblemProof, AKoMadeByTheFrameIsNoDisagreement) {
    // A bundled problem: Black lives by AE. After White's AF, Black takes it at AG, which has
    // AH as a second liberty on the board; the frame's stone at AH makes that a ko White may
    // retake, and the answer looks like a ko. With the region a point further along the edge
    // the answer lives outright, and the tree is right.
    const std::string sgf =
        "(;SZ[19]C[Black to live.]AB[ac][ba][bc][bf][cb][cd][ce][de]"
        "AW[ab][bb][bg][cc][cf][cg][db][dc][ed][ee][ef](;B[ae]C[Correct])(;B[aa]))";
    const TProblemQuestion narrow = AskedOf(sgf);
    ASSERT_TRUE(narrow.Ok()) << narrow.Error;
    EXPECT_TRUE(Contains(narrow.Frame, "AH"));
    const TProblemQuestion wider = AskedOf(sgf, std::nullopt, true);
    EXPECT_TRUE(Contains(wider.Question.Region, "AH"));
    EXPECT_FALSE(Contains(wider.Frame, "AH"));

    const TSolverBudget budget = NodesBudget(1000000, 16);
    TLifeAndDeath after = narrow.Question;
    ASSERT_TRUE(after.Play(PointOfMove("AE", 19)));
    EXPECT_EQ(VerdictName(Solve(after, budget).Verdict), std::string("ko")) << "the frame's ko";
    const TProblemProof proof = ProveProblem(ImportedRow(sgf), budget);
    ASSERT_EQ(proof.Error, "");
    ASSERT_FALSE(proof.Moves.empty());
    EXPECT_EQ(proof.Moves[0].Move, "AE");
    EXPECT_EQ(VerdictName(proof.Moves[0].Solved.Verdict), std::string("win"));
    EXPECT_EQ(proof.Moves[0].Agreement, TAgreement::Agree);
    EXPECT_NE(proof.Agreement, TAgreement::Disagree);
}

TEST(ProblemQuestion, TheTargetIsTheGroupThatMayGiveUpAPart) {
    // White's group of three chains joined by shared liberties. After Black's FA and White's
    // DA, Black can take the three stones on the right, but White lives with the rest: that
    // is no kill.
    const TProblemQuestion question = AskedOf(
        "(;SZ[19]C[Black to kill.]AB[ga][ha][hb][ec][fc][gc][hc][ad][bd][cd][dd]"
        "AW[ba][eb][fb][gb][bc][cc][dc](;B[ab]C[Correct])(;B[fa];W[da]))");
    ASSERT_TRUE(question.Ok()) << question.Error;
    for (const char* stone : {"BA", "BC", "DC", "EB", "GB"})
        EXPECT_TRUE(Contains(question.Question.Target, stone)) << stone;
    TLifeAndDeath after = question.Question;
    ASSERT_TRUE(after.Board.Play(PointOfMove("FA", 19), TStone::Black));
    ASSERT_TRUE(after.Board.Play(PointOfMove("DA", 19), TStone::White));
    const TSolverBudget budget = NodesBudget(2000000, 4);
    EXPECT_EQ(VerdictName(Solve(after, budget).Verdict), std::string("loss"));
}

TEST(ProblemProof, TheTreesFirstMovesAgainstTheSolver) {
    const TSolverBudget budget = NodesBudget(600000, 4);
    const struct {
        const char* name;
        std::string sgf;
        TAgreement agreement;
        bool derived;
        std::vector<std::string> disagreeing;
    } cases[] = {
        {"stated goal, tree right", CornerLife("Black to live.", "Correct", "Wrong", "Wrong"),
         TAgreement::Agree, false, {}},
        {"goal from the tree's answer", CornerLife("", "Correct", "Wrong", "Wrong"),
         TAgreement::Agree, true, {}},
        {"a tree that calls a dead move correct",
         CornerLife("Black to live.", "Correct", "Correct", "Wrong"), TAgreement::Disagree, false,
         {"AA"}},
        {"a tree that calls the answer wrong",
         CornerLife("Black to live.", "Wrong", "Correct", "Wrong"), TAgreement::Disagree, false,
         {"BA", "AA"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TProblemProof proof = ProveProblem(ImportedRow(c.sgf), budget);
        ASSERT_EQ(proof.Error, "");
        EXPECT_EQ(AgreementName(proof.Agreement), std::string(AgreementName(c.agreement)));
        EXPECT_EQ(proof.GoalDerived, c.derived);
        EXPECT_EQ(proof.Question.Question.Goal, TLifeGoal::Live);
        ASSERT_EQ(proof.Moves.size(), 3u);
        std::vector<std::string> disagreeing;
        for (const TFirstMoveProof& move : proof.Moves) {
            EXPECT_NE(move.Solved.Verdict, TSolverVerdict::Unknown) << move.Move;
            if (move.Agreement != TAgreement::Disagree) continue;
            disagreeing.push_back(move.Move);
            EXPECT_EQ(LineText(move.Move, move.Solved.Line).substr(0, 2), move.Move);
        }
        EXPECT_EQ(disagreeing, c.disagreeing);
    }
    // A tree whose answer fits no goal says so.
    const TProblemProof none = ProveProblem(ImportedRow(CornerLife("", "Wrong", "Correct", "Correct")), budget);
    EXPECT_NE(none.Error.find("the goal cannot be derived"), std::string::npos) << none.Error;

    // A straight four on the edge lives whatever Black plays, yet the tree calls CA wrong: as
    // living it needs no move at all, as killing nothing works. No goal is guessed.
    const TProblemProof wrongWins = ProveProblem(
        ImportedRow("(;SZ[19]AB[ea][ab][bb][cb][db][eb]AW[fa][fb][ac][bc][cc][dc][ec][fc]"
                    "(;B[ba]C[Correct])(;B[ca]))"),
        budget);
    EXPECT_NE(wrongWins.Error.find("as living, the goal is reached without a move"), std::string::npos)
        << wrongWins.Error;
}

// Black's wall has two eyes of its own, so living is no question; killing is the problem's
// even when the search cannot settle it within its budget: the one goal left.
TEST(ProblemProof, AGoalRuledOutLeavesTheOther) {
    const std::string sgf =
        "(;SZ[19]AB[ac][bc][cc][dc][ec][fc][gc][ae][be][ce][de][ee][fe][ge][dd][gd][gb][ga]"
        "AW[ab][bb][cb][db][eb][fb][fa](;B[ca]C[Correct])(;B[aa];W[ca]C[Wrong]))";
    const TProblemProof proof = ProveProblem(ImportedRow(sgf), NodesBudget(1, 1));
    ASSERT_EQ(proof.Error, "");
    EXPECT_TRUE(proof.GoalDerived);
    EXPECT_EQ(proof.Question.Question.Goal, TLifeGoal::Kill);
    ASSERT_EQ(proof.Moves.size(), 2u);
    EXPECT_EQ(proof.Moves[0].Solved.Verdict, TSolverVerdict::Unknown) << "the budget settles nothing";
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ProblemProof, TheWinningMoveIsNamedWhereHarderMovesAreTriedFirst) {
    // A bundled problem: Black lives only by AD (as the archive shows it), and several moves
    // tried before it in the solver's order take long to refute. The move named must still be
    // the one that wins, with its line, not none because the others spent the room.
    const std::string sgf = FileText(std::string(KARVENA_DATA_DIR) + "/ggg-weekly/easy/ggg-easy-71.sgf");
    ASSERT_FALSE(sgf.empty());
    const TProblemQuestion question = AskedOf(sgf, TLifeGoal::Live);
    ASSERT_TRUE(question.Ok()) << question.Error;
    const TSolverBudget budget = NodesBudget(400000, 16);
    const TSolveResult result = Solve(question.Question, budget);
    ASSERT_EQ(VerdictName(result.Verdict), std::string("win"));
    EXPECT_EQ(SolverPointText(result.Best), "AD");
    ASSERT_FALSE(result.Line.empty());
    EXPECT_EQ(result.Line.front(), result.Best);
}

// The target is the group the tree's moves are about, not the largest chain of the region: the
// six white stones on the F line are another group, alive or not.
TEST(ProblemQuestion, TheTargetIsTheGroupTheTreesMovesAreAbout) {
    const std::string sgf =
        "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AW[da][db][ab][bb][cb][fa][fb][fc][fd][fe][ff]"
        "AB[ea][eb][ec][ac][bc][cc][dc][ed][ee][ef](;B[ba]C[Correct])(;B[aa];W[ba]C[Wrong]))";
    const TProblemQuestion question = AskedOf(sgf);
    ASSERT_TRUE(question.Ok()) << question.Error;
    EXPECT_TRUE(Contains(question.Question.Target, "DA"));
    EXPECT_TRUE(Contains(question.Question.Target, "AB"));
    EXPECT_FALSE(Contains(question.Question.Target, "FA")) << "the far chain is not the target";
    const TSolverBudget budget = NodesBudget(400000, 4);
    const TProblemProof proof = ProveProblem(ImportedRow(sgf), budget);
    ASSERT_EQ(proof.Error, "");
    ASSERT_EQ(proof.Moves.size(), 2u);
    EXPECT_EQ(VerdictName(proof.Moves[0].Solved.Verdict), std::string("win")) << "BA kills";
    EXPECT_EQ(VerdictName(proof.Moves[1].Solved.Verdict), std::string("loss")) << "AA lets White live";
    EXPECT_EQ(AgreementName(proof.Agreement), std::string("agree"));
}

// A target chain that reaches the open board with room to run has got out, and lives; one in
// a gap the attacker's wall closes in one move, or crawling along the edge, has not.
TEST(ProblemQuestion, AGroupThatGetsOutLives) {
    const TSolverBudget budget = NodesBudget(400000, 16);
    const struct {
        const char* name;
        const char* sgf;
        const char* move;
        const char* verdict; // for Black, the problem's player
    } cases[] = {
        {"the mouth open: DC closes it",
         "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AB[da][db][ad][bd][cd]AW[ca][cb][cc][bc][ac](;B[dc]C[Correct]))",
         "DC", "win"},
        {"the mouth open: after BB White plays DC and is out",
         "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AB[da][db][ad][bd][cd]AW[ca][cb][cc][bc][ac](;B[dc]C[Correct]))",
         "BB", "loss"},
        {"a gap White's next move closes is no way out",
         "(;SZ[19]C[Black to live.]AB[ac][ba][bc][bf][cb][cd][ce][de]"
         "AW[ab][bb][bg][cc][cf][cg][db][dc][ed][ee][ef](;B[ae]C[Correct])(;B[aa]))",
         "AA", "loss"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TProblemQuestion question = AskedOf(c.sgf);
        ASSERT_TRUE(question.Ok()) << question.Error;
        TLifeAndDeath q = question.Question;
        ASSERT_TRUE(q.Play(PointOfMove(c.move, 19)));
        const TSolveResult result = Solve(q, budget);
        EXPECT_EQ(VerdictName(result.Verdict), std::string(c.verdict)) << LineText(c.move, result.Line);
    }
}

// A goal found ahead (when the collection was built) is the question's goal at once, with no
// search when the problem opens; the root comment's own word still comes first, and a problem
// that states its goal is left as it is.
TEST(ProblemQuestion, AGoalFoundAheadIsTheQuestionsGoal) {
    const TSolverBudget budget = NodesBudget(200000, 4);
    TProblemRow silent = ImportedRow(CornerLife("", "Correct", "Wrong", "Wrong"));
    TSolutionTree tree;
    LoadSolution(tree, silent.Solution);
    EXPECT_EQ(QuestionOf(silent, tree).Error, kNoStatedGoal);
    ASSERT_TRUE(StoreDerivedGoal(silent, budget));
    EXPECT_EQ(silent.Result2, kResultDerivedLive) << "Black lives in the corner";
    const TProblemQuestion found = QuestionOf(silent, tree);
    ASSERT_TRUE(found.Ok()) << found.Error;
    EXPECT_EQ(found.Question.Goal, TLifeGoal::Live);
    EXPECT_FALSE(found.Ko);

    const struct {
        int32_t stored;
        const char* root;
        TLifeGoal goal;
        bool ko;
    } cases[] = {
        {kResultDerivedKill, "", TLifeGoal::Kill, false},
        {kResultDerivedKoLive, "", TLifeGoal::Live, true},
        {kResultDerivedKill, "Black to live.", TLifeGoal::Live, false}, // the author's word first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + " " + c.root);
        TProblemRow row = ImportedRow(CornerLife(c.root, "Correct", "Wrong", "Wrong"));
        row.Result2 = c.stored;
        const TProblemQuestion q = QuestionOf(row, tree);
        ASSERT_TRUE(q.Ok()) << q.Error;
        EXPECT_EQ(q.Question.Goal, c.goal);
        EXPECT_EQ(q.Ko, c.ko);
    }
    TProblemRow stated = ImportedRow(CornerLife("", "Correct", "Wrong", "Wrong"));
    stated.Result2 = 0;
    EXPECT_FALSE(StoreDerivedGoal(stated, budget));
    EXPECT_EQ(stated.Result2, 0);
}

// A goal reached without a move is no question: an answer-only tree above a white group that is
// dead already does not make every move "work" as killing.
TEST(ProblemQuestion, AGoalReachedByPassingIsRefused) {
    const std::string sgf = "(;SZ[19]AB[ad][bc][bb][ca][cb][da]AW[aa][ba][ab];B[ac])";
    const TSolverBudget budget = NodesBudget(200000, 4);
    const TProblemRow row = ImportedRow(sgf);
    TSolutionTree tree;
    LoadSolution(tree, row.Solution);
    const TProblemQuestion question = QuestionUnderItsGoal(row, tree, budget);
    EXPECT_FALSE(question.Ok() && question.Question.Goal == TLifeGoal::Kill)
        << "killing a dead group is no question";
    // Stated, the same goal stands: the author's word comes first.
    EXPECT_TRUE(AskedOf("(;SZ[19]C[Black to kill]AB[ad][bc][bb][ca][cb][da]AW[aa][ba][ab];B[ac])").Ok());
}

// The defender's own space behind a solid wall is the region's, never the frame's: a 5 x 3
// corner inside a closed white wall is alive, whatever Black plays in it.
TEST(ProblemQuestion, TheSpaceAWallClosesIsInsideTheRegion) {
    const std::string sgf =
        "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AW[ad][bd][cd][dd][ed][fd][fc][fb][fa]"
        "AB[ae][be][ce][de][ee][fe][ge][gd][gc][gb][ga](;B[bb];W[bc]C[Correct])(;B[ba];W[bb]C[Wrong]))";
    const TProblemQuestion question = AskedOf(sgf);
    ASSERT_TRUE(question.Ok()) << question.Error;
    for (const char* inside : {"DA", "DB", "EA", "EB", "EC", "AA"}) {
        EXPECT_TRUE(Contains(question.Question.Region, inside)) << inside;
        EXPECT_FALSE(Contains(question.Frame, inside)) << inside;
    }
    const TSolverBudget budget = NodesBudget(400000, 16);
    for (const char* move : {"BB", "BA"}) {
        TLifeAndDeath q = question.Question;
        ASSERT_TRUE(q.Play(PointOfMove(move, 19)));
        EXPECT_EQ(VerdictName(Solve(q, budget).Verdict), std::string("loss")) << move;
    }
}

// What encloses a problem: the attacker's stones and the edge around the defender's stones, with
// a gap one move closes (a point between two of the attacker's stones a point apart, between one
// and the edge, or between two of its chains a knight's move apart unless the defender has cut
// there) as its last point, and the point just beyond an inner gap. Where the wall encloses, the
// region is the area inside, and a tree's line played behind the wall adds nothing; an
// attacker's chain short of liberties in a race with the defender is no wall, and joins with its
// liberties; the defender's stones beyond a safe wall are no part of the problem.
TEST(ProblemQuestion, TheRegionStopsAtTheWall) {
    const struct {
        const char* name;
        const char* stones;   // Black kills; the tree: B BA correct, and `wrongMove` wrong
        const char* wrongMove;
        std::vector<const char*> inside, outside;
    } cases[] = {
        {"corner, a wrong line behind the wall", "AW[bb][cb][db]AB[ac][bc][cc][dc][ec][eb][ea]", "fa",
         {"AA", "BA", "CA", "DA", "AB"}, {"FA", "GA", "FB", "AD", "ED"}},
        {"side, a wrong line behind the wall", "AW[gb][hb][ib][jb]AB[fa][fb][gc][hc][ic][jc][kb][ka]", "lb",
         {"GA", "HA", "IA", "JA"}, {"LB", "LA", "EA", "EB", "HD"}},
        {"a gap between two chains of the wall, closed a point beyond",
         "AW[bb][cb][bc][cc]AB[ad][bd][cd][ed][ec][eb][ea]", "dd", {"AA", "DC", "DD"}, {"DF", "CE", "EE", "FD"}},
        {"the same wall closed", "AW[bb][cb][bc][cc]AB[ad][bd][cd][dd][ed][ec][eb][ea]", "ab",
         {"AA", "DC", "DB"}, {"DD", "DE"}},
        {"a gap at the edge under the wall's end, closed there", "AW[ab][bb][cb]AB[bc][cc][dc][db]", "ca",
         {"DA", "AC", "AA"}, {"EA", "AD", "EB"}},
        {"the attacker's stones inside the defender's space are no wall",
         "AW[da][db][ac][bc][cc][dc]AB[bb][cb][ea][eb][ec][ad][bd][cd][dd][ed]", "aa",
         {"AA", "BA", "CA", "AB", "BB"}, {"FA", "AE"}},
        {"a race: a wall chain beside the defender, two liberties", "AW[ab][bb][cb][cc]AB[ac][bc][cd][dc][db][da]",
         "aa", {"AC", "BC", "AD", "BD"}, {"AE", "CE", "EA"}},
        {"a knight's move between two chains, closed a point beyond", "AW[bb][cb][bc]AB[ad][bd][cd][ec][eb][ea]",
         "ab", {"AA", "DA", "DC", "DD"}, {"DE", "ED", "FC"}},
        {"the same knight's move cut by the defender", "AW[bb][cb][bc][dd]AB[ad][bd][cd][ec][eb][ea]", "ab",
         {"AA", "DC", "DE"}, {}},
        {"a loose net: lone stones a point apart, one on the second line closing the first",
         "AW[bb][bc][cc][db][dc][ea]AB[ad][bd][cd][dd][ed][eb][fc][gb]", "fa",
         {"AA", "FA", "FB", "GA", "EC"}, {"HA", "HB", "GC", "FD"}},
        {"the defender's stones outside a safe wall attack the wall, not the problem",
         "AW[bb][bc][cc][db][dc][ea][be][ce]AB[ad][bd][cd][dd][ed][eb][fc][gb]", "fa",
         {"AA", "FA", "EC"}, {"BE", "CE", "DE", "AF"}},
    };
    for (const auto& c : cases) {
        const std::string sgf = std::string("(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]") + c.stones +
                                "(;B[ba]C[Correct])(;B[" + c.wrongMove + "];W[ba]C[Wrong]))";
        const TProblemQuestion question = AskedOf(sgf);
        ASSERT_TRUE(question.Ok()) << c.name << ": " << question.Error;
        for (const char* point : c.inside)
            EXPECT_TRUE(Contains(question.Question.Region, point)) << c.name << ": " << point;
        for (const char* point : c.outside)
            EXPECT_FALSE(Contains(question.Question.Region, point)) << c.name << ": " << point;
    }
    // In the centre a closed ring is the whole region: its two empty points and the stones.
    const TProblemQuestion ring =
        AskedOf("(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AW[jj][kk]AB[ji][ki][ij][ik][lj][lk][jl][kl]"
                "(;B[kj]C[Correct])(;B[mm];W[kj]C[Wrong]))");
    ASSERT_TRUE(ring.Ok()) << ring.Error;
    EXPECT_EQ(ring.Question.Region.size(), 4u);

    // Black's stones outside White's wall stay where they touch a wall chain short of
    // liberties (DC takes CB-CC: the answer's threat), though the area they stand in is open
    // along the top edge.
    const TProblemQuestion race = AskedOf(
        "(;GM[1]FF[4]SZ[19]PL[B]C[Black to live.]AB[bb][bc][cd][db][dd][ec]"
        "AW[ad][bd][bf][cb][cc][ce][ee][fc][fd](;B[ab];W[ba];B[dc]C[Correct])(;B[dc];W[ab]C[Wrong]))");
    ASSERT_TRUE(race.Ok()) << race.Error;
    for (const char* point : {"DB", "DC", "DD", "CA"})
        EXPECT_TRUE(Contains(race.Question.Region, point)) << point;

    // White's lone stone at AD has three liberties and touches no black stone: a wall stone,
    // until a line of the tree puts it in atari (Black AE after White AC); then it can be taken,
    // and it joins the region with its liberties.
    const auto lonely = [](const char* lastMove) {
        return AskedOf(std::string("(;GM[1]FF[4]SZ[19]PL[B]C[Black to live.]AB[ab][bb][db][eb][cc][cd]"
                                   "AW[cb][fa][fb][dc][ec][fc][ad][be][ce][dd](;B[ca];W[ea];B[bd];W[ac];B[") +
                       lastMove + "]C[Correct]))");
    };
    const TProblemQuestion attacked = lonely("ae"), spared = lonely("da");
    ASSERT_TRUE(attacked.Ok() && spared.Ok());
    for (const char* point : {"AD", "AE"}) {
        EXPECT_TRUE(Contains(attacked.Question.Region, point)) << point;
        EXPECT_FALSE(Contains(spared.Question.Region, point)) << point;
    }
}

// A ko the defender can only prolong is no ko: after the capture and the retake, the attacker
// passes, and the defender, left in atari and unable to connect, must let its chain be taken.
// Seven stones on the second line with the attacker to play are dead, as the proverb says.
TEST(ProblemQuestion, AKoTheDefenderCanOnlyProlongIsDeath) {
    const TSolverBudget budget = NodesBudget(400000, 16);
    const struct {
        const char* name;
        const char* sgf;
        const char* first; // played before the question is asked, "" for none
    } cases[] = {
        {"the ko only White can retake",
         "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AB[aa][ba][ab][bb][cb][ac][bc][cc][dc][ec][fc][gc][hc][hb][ha]"
         "AW[ca][db][ea][eb][fb][gb][ga](;B[da]C[Correct]))",
         "DA"},
        {"a ko whose stone shares its last liberty with the group",
         "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AB[ds][dr][er][eq][ap][ep][ao][bo][co][do][eo][fo]"
         "AW[cr][aq][bq][dq][bp][cp][dp](;B[bs];W[cs];B[br]C[Correct]))",
         "BA"}, // the import turns the problem into the top-left corner
        {"seven stones on the second line",
         "(;GM[1]FF[4]SZ[19]PL[B]C[Black to kill.]AB[ec][fc][gc][hc][ic][jc][kc][lc][mc][eb][mb][ea][ma]"
         "AW[fb][gb][hb][ib][jb][kb][lb](;B[ga]C[Correct]))",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TProblemQuestion question = AskedOf(c.sgf);
        ASSERT_TRUE(question.Ok()) << question.Error;
        TLifeAndDeath q = question.Question;
        if (*c.first) {
            ASSERT_TRUE(q.Play(PointOfMove(c.first, 19)));
        }
        const TSolveResult result = Solve(q, budget);
        EXPECT_EQ(VerdictName(result.Verdict), std::string("win")) << LineText("", result.Line);
    }
}

// A correct line whose last move takes a ko is a ko in all but words; one that ends on a plain
// capture, or takes a ko earlier and ends otherwise, is not.
TEST(ProblemQuestion, TheAnswersEndingOnAKoAreKnown) {
    const char* const corner = "(;SZ[19]C[Black to kill.]AB[ae][be][ca][cd][ce][dc][ec][fa][fb][fc][bb]"
                               "AW[ab][ac][bd][cb][cc][db][ea][eb][ba]";
    const struct {
        const char* name;
        std::string sgf;
        std::vector<const char*> koEndings;
    } cases[] = {
        {"AA takes the ko and ends the line", std::string(corner) + "(;B[aa]C[Correct])(;B[ad]))", {"AA"}},
        {"the ko taken, then White's reply ends the line",
         std::string(corner) + "(;B[aa];W[ad]C[Correct])(;B[ad]))", {}},
        {"the wrong line ends on the ko", std::string(corner) + "(;B[ad]C[Correct])(;B[aa]C[Wrong]))", {}},
        {"a plain capture", CornerLife("Black to live.", "Correct", "Wrong", "Wrong"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TProblemQuestion question = AskedOf(c.sgf);
        ASSERT_TRUE(question.Ok()) << question.Error;
        std::vector<int> expected;
        for (const char* move : c.koEndings)
            expected.push_back(PointOfMove(move, 19));
        EXPECT_EQ(question.AnswersEndingOnAKo, expected);
    }
}

TEST(ProblemProof, AnAnswerThatOnlyReachesAKoTellsTheGoalAndDisagrees) {
    // Black kills the white corner only by taking the ko at AA first; the tree, stating no
    // goal, calls AA a clean answer. As killing it is a ko, as living it fails: the goal is
    // killing, and the answer disagrees with its line shown.
    const TSolverBudget budget = NodesBudget(600000, 4);
    const TProblemProof proof = ProveProblem(
        ImportedRow("(;SZ[19]AB[ae][be][ca][cd][ce][dc][ec][fa][fb][fc][bb]"
                    "AW[ab][ac][bd][cb][cc][db][ea][eb][ba](;B[aa]C[Correct])(;B[ad]))"),
        budget);
    ASSERT_EQ(proof.Error, "");
    EXPECT_TRUE(proof.GoalDerived);
    EXPECT_EQ(proof.Question.Question.Goal, TLifeGoal::Kill);
    EXPECT_EQ(AgreementName(proof.Agreement), std::string("disagree"));
    ASSERT_EQ(proof.Moves.size(), 2u) << "every first move judged";
    EXPECT_EQ(proof.Moves[0].Move, "AA");
    EXPECT_EQ(VerdictName(proof.Moves[0].Solved.Verdict), std::string("ko"));
    EXPECT_EQ(proof.Moves[0].Agreement, TAgreement::Disagree);
    EXPECT_FALSE(proof.Moves[0].Solved.Line.empty()) << "the ko's line is shown";
}

} // namespace
} // namespace karvena::test
