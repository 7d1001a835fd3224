// A timed set on its own clock: which problems it plays, how its clocks run out, and when it passes.
#include <gtest/gtest.h>

#include "solving/TimedSet.h"

namespace karvena::test {
namespace {

TEST(TimedSet, PicksTheUnsolvedFirstInIndexOrderThenTheSolved) {
    const struct {
        std::vector<bool> solved;
        int size;
        std::vector<int> picked;
    } cases[] = {
        {{true, false, true, false, false}, 3, {1, 3, 4}},
        {{true, false, true, false}, 3, {1, 3, 0}},
        {{true, true}, 5, {0, 1}},
        {{}, 10, {}},
        {{false, false}, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(TTimedSet::Pick(c.solved, c.size), c.picked);
}

TEST(TimedSet, EachProblemHasItsOwnTimeAndARunOutOneIsTimedOut) {
    TTimedSet set({2, 3, 60, false}, {4, 7, 9}, 1000);
    EXPECT_EQ(set.CurrentPosition(), 4);
    EXPECT_EQ(set.SecondsLeft(1000), 60);
    EXPECT_EQ(set.SecondsLeft(1045), 15);
    EXPECT_FALSE(set.TimeIsUp(1059));
    set.Solved(1045);
    EXPECT_EQ(set.CurrentPosition(), 7);
    EXPECT_EQ(set.SecondsLeft(1045), 60) << "the next problem's clock starts full";
    EXPECT_TRUE(set.TimeIsUp(1105));
    EXPECT_EQ(set.SecondsLeft(2000), 0);
    set.TimedOut(1105);
    EXPECT_EQ(set.CurrentPosition(), 9);
    set.Solved(1130);
    TTimedSet late({2, 2, 60, false}, {0, 1}, 0);
    late.TimedOut(75); // the clock was read late
    EXPECT_EQ(late.Problems()[0].Seconds, 60);
    EXPECT_EQ(late.SecondsLeft(75), 60) << "the next problem still has all its time";
    EXPECT_TRUE(set.Finished());
    EXPECT_EQ(set.CurrentPosition(), -1);
    EXPECT_FALSE(set.TimeIsUp(5000));
    const std::vector<TTimedProblem>& p = set.Problems();
    EXPECT_EQ(p[0].Result, TTimedResult::Solved);
    EXPECT_EQ(p[0].Seconds, 45);
    EXPECT_EQ(p[1].Result, TTimedResult::TimedOut);
    EXPECT_EQ(p[1].Seconds, 60);
    EXPECT_EQ(p[2].Seconds, 25);
    EXPECT_EQ(set.SolvedCount(), 2);
    EXPECT_FALSE(set.Passed()) << "2 of 3 is below four in five";
}

TEST(TimedSet, AWholeSetLimitRunsAcrossProblemsAndEndsTheSet) {
    TTimedSet set({2, 3, 100, true}, {0, 1, 2}, 0);
    set.Solved(70);
    EXPECT_EQ(set.SecondsLeft(70), 30) << "the set's clock goes on";
    set.TimedOut(100);
    EXPECT_TRUE(set.Finished());
    EXPECT_EQ(set.Problems()[1].Result, TTimedResult::TimedOut);
    EXPECT_EQ(set.Problems()[2].Result, TTimedResult::NotReached);
}

TEST(TimedSet, LeavingKeepsWhatWasPlayed) {
    TTimedSet set({2, 3, 60, false}, {0, 1, 2}, 0);
    set.Solved(10);
    set.Leave(15);
    EXPECT_TRUE(set.Finished());
    EXPECT_EQ(set.Problems()[0].Result, TTimedResult::Solved);
    EXPECT_EQ(set.Problems()[1].Result, TTimedResult::Left);
    EXPECT_EQ(set.Problems()[1].Seconds, 5);
    EXPECT_EQ(set.Problems()[2].Result, TTimedResult::NotReached);
    set.Leave(20); // leaving a finished set changes nothing
    EXPECT_EQ(set.Problems()[1].Seconds, 5);
}

TEST(TimedSet, PassesWithFourInFive) {
    const struct {
        int problems, solved;
        bool passed;
    } cases[] = {{10, 8, true}, {10, 7, false}, {5, 4, true}, {3, 2, false}, {3, 3, true}, {0, 0, false}};
    for (const auto& c : cases) {
        std::vector<int> positions(static_cast<size_t>(c.problems));
        for (int i = 0; i < c.problems; ++i) positions[static_cast<size_t>(i)] = i;
        TTimedSet set({0, c.problems, 60, false}, positions, 0);
        for (int i = 0; i < c.problems; ++i) {
            if (i < c.solved)
                set.Solved(i + 1);
            else
                set.TimedOut(i + 1);
        }
        EXPECT_EQ(set.Passed(), c.passed) << c.solved << " of " << c.problems;
    }
}

} // namespace
} // namespace karvena::test
