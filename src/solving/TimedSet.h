#pragma once
// A timed set: a number of problems from one group (or the review), played one after the other
// against the clock. The problems not yet solved come first. Each problem has its own time, or
// the whole set one limit; a problem not solved in time is a failure and the set goes on with the
// next. The set passes with at least four in five of its problems solved. It can be left at any
// time: what was played stays as played, the rest is not reached.
//
// The clock is the caller's (seconds, any origin): the set only compares the times it is told.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace karvena {

struct TTimedSetOptions {
    static constexpr int kDefaultSize = 10;
    static constexpr int kDefaultSeconds = 60;
    int Group = 0;           // the level group, or the review's group number
    int Size = kDefaultSize; // problems in the set (fewer when the group has fewer)
    int Seconds = kDefaultSeconds;
    bool WholeSet = false;   // Seconds limit the whole set instead of each problem
};

enum class TTimedResult { NotReached, Playing, Solved, TimedOut, Left };

struct TTimedProblem {
    int Position = 0; // in the group's index
    TTimedResult Result = TTimedResult::NotReached;
    int64_t Seconds = 0; // from its start to its end
};

class TTimedSet {
public:
    // The positions a set of `size` plays from a group whose index says which are solved: the
    // unsolved ones in index order, then the solved ones.
    static std::vector<int> Pick(const std::vector<bool>& solved, int size);
    // Starts the set at `now` with its first problem playing (an empty list is finished at once).
    TTimedSet(const TTimedSetOptions& options, const std::vector<int>& positions, int64_t now);

    const TTimedSetOptions& Options() const { return m_Options; }
    const std::vector<TTimedProblem>& Problems() const { return m_Problems; }
    bool Finished() const { return m_Current >= m_Problems.size(); }
    // The problem playing (0-based), and its position in the index; -1 once finished.
    int CurrentIndex() const { return Finished() ? -1 : static_cast<int>(m_Current); }
    int CurrentPosition() const { return Finished() ? -1 : m_Problems[m_Current].Position; }
    // The seconds left on the clock shown: the problem's, or the whole set's (never below 0).
    int64_t SecondsLeft(int64_t now) const;
    bool TimeIsUp(int64_t now) const { return !Finished() && SecondsLeft(now) <= 0; }

    // The problem playing was solved; the next one starts.
    void Solved(int64_t now);
    // Its time ran out: a failure. With a whole-set limit that is the end of the set.
    void TimedOut(int64_t now);
    // The player leaves the set: the problem playing is left, the rest not reached.
    void Leave(int64_t now);

    int SolvedCount() const;
    // At least 80 % of the set's problems solved.
    bool Passed() const;

private:
    // The problem playing ends so, and the next one starts.
    void End(TTimedResult result, int64_t now);
    void EndTheRest();

    TTimedSetOptions m_Options;
    std::vector<TTimedProblem> m_Problems;
    std::size_t m_Current = 0;
    int64_t m_SetStart = 0, m_ProblemStart = 0;
};

} // namespace karvena
