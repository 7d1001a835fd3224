#pragma once
// TAttempt: the player's go at a problem, from loading it to solving it. It decides whether the
// solve is clean (no failure or hint since the problem was last solved, the same day) and how
// long it took; the statistics hand that on to the counters, the review and the best time.
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace karvena {

class TAttempt {
public:
    // The problem is loaded (again) at `now` (seconds) on day `today`: the clock starts anew; a
    // setback of today that no solve has cleared still spoils the attempt.
    void Begin(int32_t problem, int64_t now, int today);
    // A failure or a hint.
    void Setback(int today);
    // The problem is solved: true when the solve is clean. The first solve stops the clock, and
    // any setback is cleared for the next attempt.
    bool Solve(int64_t now);

    int32_t Problem() const { return m_Problem; }
    bool Spoilt() const { return m_Setback; }
    // From loading to the first solve, or to `now` while unsolved.
    int Seconds(int64_t now) const { return static_cast<int>(m_End.value_or(now) - m_Start); }

private:
    int32_t m_Problem = 0;
    int64_t m_Start = 0;
    std::optional<int64_t> m_End;
    bool m_Setback = false;
    // Problems left with a setback and not solved since, by the day of the setback.
    std::unordered_map<int32_t, int> m_SetbackDay;
};

} // namespace karvena
