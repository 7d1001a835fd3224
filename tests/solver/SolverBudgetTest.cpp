// The solver within its budget: a node bound, a deadline and a cancel from another thread each end a
// search that cannot finish with "unknown", and a settled question still gets its line.
#include <gtest/gtest.h>

#include <thread>

#include "solver/Solver.h"

namespace karvena::test {
namespace {

// An open 9 x 9 board with one black stone to kill: far beyond any budget.
TLifeAndDeath OpenBoard() {
    TLifeAndDeath q;
    q.Board = TSolverBoard(9);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            q.Region.push_back(TSolverBoard::PointOf(x, y));
    q.Board.Set(TSolverBoard::PointOf(5, 5), TStone::Black);
    q.Target = {TSolverBoard::PointOf(5, 5)};
    q.Attacker = TStone::White;
    q.ToMove = TStone::White;
    q.Goal = TLifeGoal::Kill;
    return q;
}

TEST(SolverBudget, ANodeBoundAndACancelEndTheSearch) {
    TSolverBudget bounded;
    bounded.Nodes = 5000;
    bounded.TableBytes = size_t{1} << 20;
    const TSolveResult byNodes = Solve(OpenBoard(), bounded);
    EXPECT_EQ(byNodes.Verdict, TSolverVerdict::Unknown);
    EXPECT_LE(byNodes.Nodes, 5001 + 1);
    EXPECT_EQ(byNodes.Best, -1);

    std::atomic<bool> cancel{false};
    TSolverBudget unbounded;
    unbounded.Cancel = &cancel;
    unbounded.TableBytes = size_t{1} << 20;
    TSolveResult cancelled;
    std::thread worker([&] { cancelled = Solve(OpenBoard(), unbounded); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    cancel = true;
    worker.join();
    EXPECT_EQ(cancelled.Verdict, TSolverVerdict::Unknown);
    EXPECT_GT(cancelled.Nodes, 0);

    // A deadline already past ends it within the few positions between two looks at the clock.
    TSolverBudget late;
    late.Deadline = std::chrono::steady_clock::now() - std::chrono::milliseconds(1);
    late.TableBytes = size_t{1} << 20;
    const TSolveResult pastDeadline = Solve(OpenBoard(), late);
    EXPECT_EQ(pastDeadline.Verdict, TSolverVerdict::Unknown);
    EXPECT_LE(pastDeadline.Nodes, 2 * 256 + 2) << "both searches stop at their first look";
}

TEST(SolverBudget, ASettledQuestionGivesItsMoveAndLine) {
    // A black stone in the corner with one liberty left: White takes it at once.
    TLifeAndDeath q;
    q.Board.Set(TSolverBoard::PointOf(1, 1), TStone::Black);
    q.Board.Set(TSolverBoard::PointOf(2, 1), TStone::White);
    q.Region = {TSolverBoard::PointOf(1, 2), TSolverBoard::PointOf(2, 2), TSolverBoard::PointOf(1, 3)};
    q.Target = {TSolverBoard::PointOf(1, 1)};
    q.Attacker = TStone::White;
    q.ToMove = TStone::White;
    q.Goal = TLifeGoal::Kill;
    const TSolveResult result = Solve(q);
    EXPECT_EQ(result.Verdict, TSolverVerdict::Win);
    EXPECT_EQ(result.Best, TSolverBoard::PointOf(1, 2));
    EXPECT_EQ(result.Line, std::vector<int>{TSolverBoard::PointOf(1, 2)});
    // Black to move saves it by extending, and it is then White's loss to kill in this region.
    q.ToMove = TStone::Black;
    q.Goal = TLifeGoal::Live;
    EXPECT_EQ(Solve(q).Verdict, TSolverVerdict::Win);
}

int At(const char* point) {
    return TSolverBoard::PointOf(point[0] - 'A' + 1, point[1] - 'A' + 1);
}

// Black to kill, with a ko to take first at AA: taking it is no win outright, since White may
// answer a threat elsewhere and retake; it is a ko.
TEST(SolverKo, TakingAKoFirstIsAKoNotAWin) {
    TLifeAndDeath q;
    for (const char* p : {"AE", "BE", "CA", "CD", "CE", "DC", "EC", "FA", "FB", "FC", "BB"})
        q.Board.Set(At(p), TStone::Black);
    for (const char* p : {"AB", "AC", "BD", "CB", "CC", "DB", "EA", "EB", "BA"})
        q.Board.Set(At(p), TStone::White);
    for (const char* p : {"AA", "BA", "CA", "DA", "EA", "AB", "BB", "CB", "DB", "EB", "AC", "BC",
                          "CC", "AD", "BD"})
        q.Region.push_back(At(p));
    for (const char* p : {"CB", "CC", "DB", "EB", "EA"})
        q.Target.push_back(At(p));
    q.Attacker = TStone::Black;
    q.ToMove = TStone::Black;
    q.Goal = TLifeGoal::Kill;
    const TSolveResult result = Solve(q);
    EXPECT_EQ(VerdictName(result.Verdict), std::string("ko"));
    EXPECT_EQ(result.Best, At("AA"));
    // The line shows why nothing wins outright: White's resistance, in which White retakes the
    // ko at once (as with a threat answered elsewhere).
    TSolverBoard board = q.Board;
    TStone toMove = q.ToMove;
    bool retaken = false;
    for (const int p : result.Line) {
        retaken = retaken || (toMove == TStone::White && p == board.KoPoint() && p != TSolverBoard::kNoPoint);
        if (p == TSolverBoard::kNoPoint)
            board.Pass();
        else
            ASSERT_TRUE(board.Play(p, toMove, true)) << SolverPointText(p);
        toMove = Other(toMove);
    }
    EXPECT_TRUE(retaken);
}

} // namespace
} // namespace karvena::test
