// The solver's board against the trainer's: the same stones after every move of seeded random
// games, the same moves refused (occupied, suicide, the ko retaken at once), the same position
// after take-backs, and a hash that always equals one computed from scratch. Then Benson's test
// on positions whose life is known.
#include <gtest/gtest.h>

#include <random>

#include "board/GoBoard.h"
#include "solver/Benson.h"
#include "solver/LifeAndDeath.h"

namespace karvena::test {
namespace {

TStone StoneOfCell(int8_t cell) {
    if (!IsStone(cell)) return TStone::Empty;
    return cell > 0 ? TStone::Black : TStone::White;
}

uint64_t HashFromScratch(const TSolverBoard& board) {
    uint64_t hash = TSolverBoard::KoKey(board.KoPoint());
    for (int p = 0; p < TSolverBoard::kCells; ++p)
        hash ^= TSolverBoard::StoneKey(p, board.At(p));
    return hash;
}

void ExpectSameStones(const TGoBoard& trainer, const TSolverBoard& solver, int lines) {
    for (int x = 1; x <= lines; ++x)
        for (int y = 1; y <= lines; ++y)
            ASSERT_EQ(StoneOfCell(trainer.GetCell(x, y)), solver.At(TSolverBoard::PointOf(x, y)))
                << "at " << x << "," << y;
}

TEST(SolverBoard, PlaysAsTheTrainersBoard) {
    std::mt19937 random(20261209);
    int refusedAlike = 0, kos = 0, captures = 0;
    for (const int lines : {19, 9, 7}) {
        for (int game = 0; game < 12; ++game) {
            SCOPED_TRACE("lines " + std::to_string(lines) + " game " + std::to_string(game));
            TGoBoard trainer;
            trainer.SetGoLines(lines);
            trainer.NewGame(false);
            TSolverBoard solver(lines);
            std::uniform_int_distribution<int> coordinate(1, lines);
            TStone side = TStone::Black;
            for (int k = 0; k < 400; ++k) {
                if (random() % 23 == 0 && solver.Depth() > 0) {
                    trainer.TakeBack();
                    solver.Undo();
                    side = Other(side);
                } else if (random() % 31 == 0) {
                    ASSERT_TRUE(trainer.MakeMove(20, 20, false));
                    solver.Pass();
                    side = Other(side);
                } else {
                    // A ko just taken is tried at once, half of the time.
                    const bool tryKo = solver.KoPoint() != TSolverBoard::kNoPoint && random() % 2;
                    const int x = tryKo ? TSolverBoard::XOf(solver.KoPoint()) : coordinate(random);
                    const int y = tryKo ? TSolverBoard::YOf(solver.KoPoint()) : coordinate(random);
                    const int point = TSolverBoard::PointOf(x, y);
                    const bool koBan = solver.KoPoint() == point;
                    const bool played = trainer.MakeMove(x, y, false);
                    ASSERT_EQ(solver.Play(point, side), played) << "move " << x << "," << y;
                    if (!played) {
                        ++refusedAlike;
                        kos += koBan;
                        continue;
                    }
                    captures += solver.LastCaptures();
                    side = Other(side);
                }
                ExpectSameStones(trainer, solver, lines);
                ASSERT_EQ(solver.Hash(), HashFromScratch(solver));
            }
        }
    }
    EXPECT_GT(refusedAlike, 500);
    EXPECT_GT(kos, 0) << "the games must meet a ko";
    EXPECT_GT(captures, 200);
}

// A position drawn as rows of text: X black, O white, . empty; row 1 first.
TSolverBoard Drawn(const std::vector<std::string>& rows) {
    TSolverBoard board(static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            const char c = rows[y][x];
            board.Set(TSolverBoard::PointOf(static_cast<int>(x) + 1, static_cast<int>(y) + 1),
                      c == 'X' ? TStone::Black : c == 'O' ? TStone::White : TStone::Empty);
        }
    return board;
}

TEST(Benson, KnownLifeAndDeath) {
    const struct {
        const char* name;
        std::vector<std::string> rows;
        int x, y;        // a black stone asked about
        bool wholeBoard; // every point is the region; else the region stops before row 6
        bool alive;
    } cases[] = {
        {"two eyes in the corner",
         {".X.XO..", "XXXXO..", "OOOOO..", ".......", ".......", ".......", "......."}, 2, 2, true, true},
        {"one eye of two points",
         {"..XO...", "XXXO...", "OOOO...", ".......", ".......", ".......", "......."}, 3, 1, true, false},
        {"two eyes, one with a white stone inside",
         {"O.X.XO.", "XXXXXO.", "OOOOOO.", ".......", ".......", ".......", "......."}, 3, 1, true, true},
        {"an eye with an empty point that is no liberty",
         {"...X.X.", "..XXXX.", "XXX....", ".......", ".......", ".......", "......."}, 4, 1, true, false},
        {"two chains sharing two eyes",
         {".X.X.O.", "X.XXXO.", "XXOOOO.", "OO.....", ".......", ".......", "......."}, 1, 2, true, true},
        {"the eyes reach outside the region",
         {".X.XO..", "XXXXO..", "OOOOO..", ".......", ".......", ".......", "......."}, 2, 2, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TSolverBoard board = Drawn(c.rows);
        std::vector<bool> mask(TSolverBoard::kCells, false);
        std::vector<int> region;
        for (int x = 1; x <= board.Lines(); ++x)
            for (int y = 1; y <= board.Lines(); ++y)
                if (c.wholeBoard || x > 1 || y > 1) {
                    region.push_back(TSolverBoard::PointOf(x, y));
                    mask[static_cast<size_t>(region.back())] = true;
                }
        const std::vector<bool> alive = UnconditionallyAlive(board, TStone::Black, region, mask);
        EXPECT_EQ(alive[static_cast<size_t>(TSolverBoard::PointOf(c.x, c.y))], c.alive);
    }
}

// The attacker wins only by taking every stone of the target: a part that lives for good is
// life, whatever became of the rest.
TEST(Benson, TheTargetLivesWhileAnyOfItLives) {
    TLifeAndDeath q;
    q.Board = Drawn({".X.XO.X", "XXXXOOO", "OOOOO..", ".......", ".......", ".......", "......."});
    for (int x = 1; x <= 7; ++x)
        for (int y = 1; y <= 3; ++y)
            q.Region.push_back(TSolverBoard::PointOf(x, y));
    q.Attacker = TStone::White;
    q.Target = q.Board.ChainOf(TSolverBoard::PointOf(2, 2));
    const std::vector<bool> mask = q.RegionMask();
    EXPECT_TRUE(q.TargetAlive(q.Board, mask)) << "the corner group alone";
    // With the lone stone at GA, which cannot live, and with it taken (its point empty).
    q.Target.push_back(TSolverBoard::PointOf(7, 1));
    EXPECT_TRUE(q.TargetAlive(q.Board, mask)) << "a dead part beside a living one";
    q.Board.Set(TSolverBoard::PointOf(7, 1), TStone::Empty);
    EXPECT_TRUE(q.TargetAlive(q.Board, mask)) << "a part already taken";
    // With its second eye filled nothing of it lives.
    q.Board.Set(TSolverBoard::PointOf(3, 1), TStone::Black);
    EXPECT_FALSE(q.TargetAlive(q.Board, mask));
}

} // namespace
} // namespace karvena::test
