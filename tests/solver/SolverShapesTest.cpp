// Textbook shapes in the corner and on the edge, each with the answer Go gives it: Black's
// group around an eye space, White's wall outside it. A three-point space lives if Black plays
// its middle first and dies if White does; four in a square die whoever starts; four in a row
// or bent live even when White starts, as does a bent five, but a bent four whose bend is the
// corner point is a ko (a stone there stands alone); a pyramid four or a bulky five dies if
// White takes its vital point first.
#include <gtest/gtest.h>

#include <algorithm>

#include "solver/Solver.h"

namespace karvena::test {
namespace {

// Rows from the first line: X and O stones, '.' an empty point, o a white stone inside (in the
// region); the region is every empty point drawn, Black's stones and the white ones inside. Whatever is not drawn is empty and outside the region.
TLifeAndDeath Shape(const std::vector<std::string>& rows, TStone toMove) {
    TLifeAndDeath q;
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const int p = TSolverBoard::PointOf(static_cast<int>(x) + 1, static_cast<int>(y) + 1);
            const char c = rows[y][x];
            if (c == 'X' || c == 'O' || c == 'o') q.Board.Set(p, c == 'X' ? TStone::Black : TStone::White);
            if (c == 'X' || c == '.' || c == 'o') q.Region.push_back(p);
            if (c == 'X' && q.Target.empty()) q.Target = q.Board.ChainOf(p);
        }
    q.Target = q.Board.ChainOf(q.Target.front());
    q.Attacker = TStone::White;
    q.ToMove = toMove;
    q.Goal = toMove == TStone::White ? TLifeGoal::Kill : TLifeGoal::Live;
    return q;
}

// The rows with each `mark` drawn as `as`, and the points of the marks.
std::vector<std::string> Drawn(std::vector<std::string> rows, char mark, char as) {
    for (std::string& row : rows)
        std::replace(row.begin(), row.end(), mark, as);
    return rows;
}
std::vector<int> PointsMarked(const std::vector<std::string>& rows, char mark) {
    std::vector<int> points;
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] == mark) points.push_back(TSolverBoard::PointOf(static_cast<int>(x) + 1, static_cast<int>(y) + 1));
    return points;
}

// Room enough for any shape here.
TSolverBudget ShapeBudget() {
    TSolverBudget budget;
    budget.Nodes = 2000000;
    budget.TableBytes = size_t{4} << 20;
    return budget;
}

TEST(SolverShapes, TextbookEyeSpaces) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        const char* whiteFirst; // White to kill
        const char* blackFirst; // Black to live
        const char* vital;      // the move that wins for whoever starts, if one does
    } cases[] = {
        {"straight three on the edge", {"...XO", "XXXXO", "OOOOO"}, "win", "win", "BA"},
        {"bent three in the corner", {"..XO", ".XXO", "XXOO", "OOO"}, "win", "win", "AA"},
        {"square four in the corner", {"..XO", "..XO", "XXXO", "OOOO"}, "win", "loss", nullptr},
        {"straight four on the edge", {"....XO", "XXXXXO", "OOOOOO"}, "loss", "win", nullptr},
        {"pyramid four in the corner", {"...XO", "X.XXO", "XXXOO", "OOOO"}, "win", "win", "BA"},
        {"bulky five in the corner", {"...XO", "..XXO", "XXXOO", "OOOO"}, "win", "win", nullptr},
        {"bent four bending at the corner", {"...XO", ".XXXO", "XXOOO", "OO"}, "ko", "win", nullptr},
        {"bent five in the corner", {"....XO", ".XXXXO", "XXOOOO", "OO"}, "loss", "win", nullptr},
        {"bent four on the edge", {"X...XO", "XXX.XO", "OOXXXO", "OOOOOO"}, "loss", "win", nullptr},
        {"straight three with White in its middle", {".o.XO", "XXXXO", "OOOOO"}, "win", "loss", nullptr},
        {"straight three with White at its end", {"o..XO", "XXXXO", "OOOOO"}, "win", "win", "BA"},
        {"bent three with White in the corner", {"o.XO", ".XXO", "XXOO", "OOO"}, "win", "loss", nullptr},
    };
    const TSolverBudget budget = ShapeBudget();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TSolveResult white = Solve(Shape(c.rows, TStone::White), budget);
        const TSolveResult black = Solve(Shape(c.rows, TStone::Black), budget);
        EXPECT_EQ(VerdictName(white.Verdict), std::string(c.whiteFirst));
        EXPECT_EQ(VerdictName(black.Verdict), std::string(c.blackFirst));
        if (c.vital) {
            EXPECT_EQ(SolverPointText(white.Best), c.vital) << "White's killing move";
            EXPECT_EQ(SolverPointText(black.Best), c.vital) << "Black's living move";
        }
    }
}

// A space of three with the attacker's stone on its middle is dead whoever moves, and seen so at
// once; with the stone at an end it is not (the defender takes it from the middle and lives).
TEST(SolverShapes, AStoneOnTheMiddleOfThreeIsDeathAtOnce) {
    const struct {
        std::vector<std::string> rows;
        bool dead;
    } cases[] = {
        {{".o.XO", "XXXXO", "OOOOO"}, true},
        {{"o..XO", "XXXXO", "OOOOO"}, false},
        {{"o.XO", ".XXO", "XXOO", "OOO"}, true},
        {{"oo.XO", "XXXXO", "OOOOO"}, true}, // two stones in it, in atari: taking them leaves two points
        {{"...XO", "XXXXO", "OOOOO"}, false}, // empty, and the defender to move
        {{".O.XO", "XXXXO", "OOOOO"}, false}, // a stone off the region: taken, its point is an eye
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.front());
        const TLifeAndDeath q = Shape(c.rows, TStone::Black);
        EXPECT_EQ(q.TargetDead(q.Board, q.RegionMask(), false), c.dead);
    }
}

// A target chain with two ways out to the open board (an open point beside it, or a liberty
// beside one; '*' draws an open point, an attacker's stone standing for the board beyond the
// region) has got out; with one, the attacker's next move shuts it in.
TEST(SolverShapes, TwoWaysOutAreAnEscapeOneIsNot) {
    const struct {
        std::vector<std::string> rows;
        bool escaped;
    } cases[] = {
        {{"XX*O", "OOOO"}, false}, // one open point beside it
        {{"XX*O", "O*OO"}, true},  // two
        {{"XX.*", "OOOO"}, false}, // a liberty beside an open point: one way
        {{"XX.*", "O*OO"}, true},  // that liberty and an open point
        {{"X.*O", ".*OO", "OOOO"}, true}, // two liberties, each beside an open point
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows.front() + " / " + c.rows[1]);
        TLifeAndDeath q = Shape(Drawn(c.rows, '*', 'O'), TStone::White);
        q.Open = PointsMarked(c.rows, '*');
        EXPECT_EQ(q.TargetEscaped(q.Board), c.escaped);
    }
}

std::string LineOf(const TSolveResult& result) {
    std::string line;
    for (const int p : result.Line)
        line += SolverPointText(p) + " ";
    return line;
}

// A ko names the side that takes it first. In the bent four of the corner White, to kill,
// plays into the bend and then takes first: Black needs a threat to take back. Once Black has
// answered in the corner, asked for Black's life with White to move, the same ko is taken
// first by Black's opponent.
// White's stones in the corner share Black's last two liberties: neither side can fill one
// without being taken. On the edge that is seki (Black takes four and lives in a straight four);
// in the corner Black takes four in a bent four, White throws in at its bend and it is a ko, but
// one only White can start, so White starts it when no threat is left: bent four in the corner
// is dead. The same ko started at once by White's first move (the bend already empty) stays a ko.
TEST(SolverShapes, BentFourInTheCornerIsDead) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        const char* whiteToKill;
    } cases[] = {
        {"White's three in the corner", {"ooo.XO", ".XXXXO", "XXOOO", "OO"}, "win"},
        {"White's three on the edge", {"OX.ooo.XO", "OXXXXXXXO", "OOOOOOOOO"}, "loss"},
        {"the bend empty, White to play", {"...XO", ".XXXO", "XXOOO", "OO"}, "ko"},
    };
    const TSolverBudget budget = ShapeBudget();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TLifeAndDeath q = Shape(c.rows, TStone::White);
        q.Target = q.Board.ChainOf(TSolverBoard::PointOf(static_cast<int>(c.rows[1].find('X')) + 1, 2));
        const TSolveResult result = Solve(q, budget);
        EXPECT_EQ(VerdictName(result.Verdict), std::string(c.whiteToKill)) << LineOf(result);
    }
}

TEST(SolverShapes, AKoNamesWhoTakesItFirst) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        TLifeGoal goal;
    } cases[] = {{"White to kill", {"...XO", ".XXXO", "XXOOO", "OO"}, TLifeGoal::Kill},
                 {"Black to live, White to move", {"Xo.XO", ".XXXO", "XXOOO", "OO"}, TLifeGoal::Live}};
    const TSolverBudget budget = ShapeBudget();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TLifeAndDeath q = Shape(c.rows, TStone::White);
        q.Goal = c.goal;
        q.Target = q.Board.ChainOf(TSolverBoard::PointOf(4, 1)); // the group, not the stone in the corner
        const TSolveResult result = Solve(q, budget);
        EXPECT_EQ(VerdictName(result.Verdict), std::string("ko"));
        EXPECT_EQ(result.KoTakenFirstBy, TStone::White) << LineOf(result);
        EXPECT_EQ(VerdictText(result), "ko, White takes first");
        // The line shows the fight once: it stops before a position comes round again.
        TSolverBoard board = q.Board;
        TStone toMove = q.ToMove;
        std::vector<std::pair<uint64_t, TStone>> seen{{board.Hash(), toMove}};
        for (const int move : result.Line) {
            if (move == TSolverBoard::kNoPoint) board.Pass();
            else ASSERT_TRUE(board.Play(move, toMove, true)) << LineOf(result);
            toMove = Other(toMove);
            const std::pair<uint64_t, TStone> position{board.Hash(), toMove};
            EXPECT_EQ(std::count(seen.begin(), seen.end(), position), 0) << LineOf(result);
            seen.push_back(position);
        }
    }
}


// The attacker's stones inside the group are there to be taken, and one more of them can decide
// the shape their capture leaves: White fills its own eye at the corner point, in atari, so
// that Black, taking five, is left a bulky five whose middle White then takes. Without that
// move every line is a ko at best.
TEST(SolverShapes, TheAttackerFillsItsOwnEyeToShapeWhatIsTaken) {
    const std::vector<std::string> rows = {".ooXX.O", "ooXXXO", ".XX.OO", "XXOO", ".OO", "O"};
    const TLifeAndDeath q = Shape(rows, TStone::White);
    const TSolveResult result = Solve(q, ShapeBudget());
    EXPECT_EQ(VerdictName(result.Verdict), std::string("win")) << LineOf(result);
    EXPECT_EQ(SolverPointText(result.Best), "AA") << LineOf(result);
}

// Beyond a gap of the wall ('+': a point of the region, the far side of the wall) the defender
// has nothing to seek, and the attacker plays only to take a liberty of a defender's stone
// beside it. Black's straight three dies once White takes its middle, unless Black may take
// White's stone in its corner from beyond the wall (the point beyond it, open behind, is no
// one's to fill): that is an eye, and Black lives. Beyond the gap, Black may not: dead.
// White may fill the point beyond Black's stone in the gap.
TEST(SolverShapes, NothingIsPlayedBeyondTheWallButToTakeALiberty) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        const char* whiteToKill;
    } cases[] = {
        {"a point of the region", {"...Xo.", "XXXXXO", "OOOOOO"}, "loss"},
        {"a point beyond the wall", {"...Xo+", "XXXXXO", "OOOOOO"}, "win"},
        // Black's two-point space is dead, but its chain keeps the liberty beyond the wall
        // until White fills it, which White may: it takes a liberty of Black's stone.
        {"a point beyond the wall beside Black's stone", {"..X+", "XXXO", "OOOO"}, "win"},
    };
    const TSolverBudget budget = ShapeBudget();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TLifeAndDeath q = Shape(Drawn(c.rows, '+', '.'), TStone::White);
        q.Beyond = PointsMarked(c.rows, '+');
        const TSolveResult result = Solve(q, budget);
        EXPECT_EQ(VerdictName(result.Verdict), std::string(c.whiteToKill)) << LineOf(result);
    }
}

} // namespace
} // namespace karvena::test
