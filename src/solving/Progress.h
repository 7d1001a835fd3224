#pragma once
// The player's progress drawn from the attempt log: problems solved per day, streaks of days
// with a clean solve, the share of first attempts solved cleanly and the average clean time per
// level group, and a rating that moves with every first attempt.
//
// Days are local calendar days, written "YYYY-MM-DD" as the log writes them, so a week across
// a month's end counts as seven days.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "collection/HistoryStore.h"

namespace karvena {

// The local calendar day of a log time ("2026-12-09T23:04:09" -> "2026-12-09").
std::string DayOf(const std::string& localTime);
// Days from 1970-01-01 of a day written "YYYY-MM-DD" (-1 when it is no day), and back.
int DayNumber(const std::string& day);
std::string DayText(int dayNumber);

// Problems solved per day over the `days` days ending `today` (oldest first), a problem counted
// once a day however often it was solved.
std::vector<int> SolvedPerDay(const std::vector<TAttemptRow>& log, int today, int days);

struct TStreaks {
    int Current = 0; // days in a row up to today (or up to yesterday while today has none yet)
    int Best = 0;
};
// Days in a row with at least one clean solve.
TStreaks StreaksOf(const std::vector<TAttemptRow>& log, int today);

// Per level group: first attempts and how many of them were clean solves, clean solves and
// their seconds.
struct TGroupProgress {
    int FirstAttempts = 0;
    int FirstClean = 0;
    int CleanSolves = 0;
    int64_t CleanSeconds = 0;
    double FirstCleanShare() const { return FirstAttempts ? double(FirstClean) / FirstAttempts : 0.0; }
    double AverageCleanSeconds() const { return CleanSolves ? double(CleanSeconds) / CleanSolves : 0.0; }
};
// `groupOf` gives a problem's level group (-1 for a problem no longer there: left out).
std::map<int, TGroupProgress> ProgressByGroup(const std::vector<TAttemptRow>& log,
                                              const std::function<int(int32_t)>& groupOf);

// The rating: an Elo update in the trainer's level units (Level1: 30 is 10 kyu, 39 is 1 kyu, 40 is
// 1 dan). Each problem's first attempt is a game against an opponent of the problem's level: a
// clean solve wins it, anything else loses. Four levels apart the stronger side is expected to
// win nine times in ten; the step shrinks from 4 levels towards 0.5 as games are played, so the
// first attempts place the player quickly and later ones fine-tune.
class TRating {
public:
    static constexpr double kStart = 30.0; // 10 kyu
    double Value() const { return m_Value; }
    int Games() const { return m_Games; }
    // The chance of a clean solve of a problem at `level`.
    double Expected(int level) const;
    // A first attempt at a problem of `level`.
    void Play(int level, bool clean);

private:
    double m_Value = kStart;
    int m_Games = 0;
};
// The rating after each first attempt of the log, in its order (one point per first attempt,
// with its day); `levelOf` gives a problem's Level1 (-1: left out).
struct TRatingPoint {
    std::string Day;
    double Value = 0;
};
std::vector<TRatingPoint> RatingHistory(const std::vector<TAttemptRow>& log,
                                        const std::function<int(int32_t)>& levelOf);
// A rating as the trainer writes levels: "10k", "1k", "1d", "5d".
std::string LevelName(double level);

// Everything the statistics page draws, gathered from the log at once.
struct TGroupLine {
    int Group = 0;
    std::string Name;
    int Solved = 0, Total = 0;  // the group's solved/total, as the level menus count it
    TGroupProgress Progress;    // from the log
};
struct TProgressReport {
    static constexpr int kDays = 90;
    int Today = 0;
    std::vector<int> SolvedPerDay;   // the last kDays days, oldest first, today last
    TStreaks Streaks;
    std::vector<TGroupLine> Groups;  // the groups with problems, in the order given
    std::vector<TRatingPoint> Rating;
    int Attempts = 0;                // rows of the log
    // Nothing attempted and nothing solved yet: the page says so instead of drawing empty charts.
    bool Empty() const;
};
// A problem as the report sees it: its level group and Level1 (both -1 when it is gone).
struct TProblemPlace {
    int Group = -1;
    int Level = -1;
};
// `groups` are the groups to list with their names and solved/total (those without problems
// are left out).
TProgressReport ProgressReportOf(const std::vector<TAttemptRow>& log, int today,
                                 const std::function<TProblemPlace(int32_t)>& placeOf,
                                 const std::vector<TGroupLine>& groups);

// The attempt log as CSV (UTF-8, a header row, one row an attempt).
std::string AttemptLogCsv(const std::vector<TAttemptRow>& log,
                          const std::function<std::string(int32_t)>& problemName);

} // namespace karvena
