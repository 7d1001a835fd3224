#include "solving/Attempt.h"

namespace karvena {

void TAttempt::Begin(int32_t problem, int64_t now, int today) {
    m_Problem = problem;
    m_Start = now;
    m_End.reset();
    const auto spoilt = m_SetbackDay.find(problem);
    m_Setback = spoilt != m_SetbackDay.end() && spoilt->second == today;
    // An older day's setback is forgotten: a new day brings a fresh attempt.
    if (spoilt != m_SetbackDay.end() && !m_Setback) m_SetbackDay.erase(spoilt);
}

void TAttempt::Setback(int today) {
    m_Setback = true;
    m_SetbackDay[m_Problem] = today;
}

bool TAttempt::Solve(int64_t now) {
    if (!m_End) m_End = now;
    m_SetbackDay.erase(m_Problem);
    return !m_Setback;
}

} // namespace karvena
