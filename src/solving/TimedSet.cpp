#include "solving/TimedSet.h"

#include <algorithm>

namespace karvena {

std::vector<int> TTimedSet::Pick(const std::vector<bool>& solved, int size) {
    std::vector<int> positions;
    for (const bool wanted : {false, true})
        for (size_t i = 0; i < solved.size() && static_cast<int>(positions.size()) < size; ++i)
            if (solved[i] == wanted) positions.push_back(static_cast<int>(i));
    return positions;
}

TTimedSet::TTimedSet(const TTimedSetOptions& options, const std::vector<int>& positions, int64_t now)
    : m_Options(options), m_SetStart(now), m_ProblemStart(now) {
    m_Options.Seconds = std::max(1, m_Options.Seconds);
    for (const int position : positions) m_Problems.push_back({position, TTimedResult::NotReached, 0});
    if (!m_Problems.empty()) m_Problems.front().Result = TTimedResult::Playing;
}

int64_t TTimedSet::SecondsLeft(int64_t now) const {
    const int64_t start = m_Options.WholeSet ? m_SetStart : m_ProblemStart;
    return std::max<int64_t>(0, start + m_Options.Seconds - now);
}

void TTimedSet::End(TTimedResult result, int64_t now) {
    if (Finished()) return;
    TTimedProblem& problem = m_Problems[m_Current];
    problem.Result = result;
    problem.Seconds = std::max<int64_t>(0, now - m_ProblemStart);
    ++m_Current;
    m_ProblemStart = now;
    if (!Finished()) m_Problems[m_Current].Result = TTimedResult::Playing;
}

void TTimedSet::Solved(int64_t now) {
    End(TTimedResult::Solved, now);
}

void TTimedSet::TimedOut(int64_t now) {
    if (Finished()) return;
    TTimedProblem& problem = m_Problems[m_Current];
    End(TTimedResult::TimedOut, now);
    // However late the clock was read, a problem out of time took its time and no more.
    if (!m_Options.WholeSet) problem.Seconds = std::min<int64_t>(problem.Seconds, m_Options.Seconds);
    // The set's own limit is over for the problems after this one as well: none is reached.
    if (m_Options.WholeSet) EndTheRest();
}

void TTimedSet::Leave(int64_t now) {
    End(TTimedResult::Left, now);
    EndTheRest();
}

void TTimedSet::EndTheRest() {
    for (; m_Current < m_Problems.size(); ++m_Current) m_Problems[m_Current].Result = TTimedResult::NotReached;
}

int TTimedSet::SolvedCount() const {
    return static_cast<int>(std::count_if(m_Problems.begin(), m_Problems.end(),
                                          [](const TTimedProblem& p) { return p.Result == TTimedResult::Solved; }));
}

bool TTimedSet::Passed() const {
    return !m_Problems.empty() && SolvedCount() * 5 >= static_cast<int>(m_Problems.size()) * 4;
}

}  // namespace karvena
