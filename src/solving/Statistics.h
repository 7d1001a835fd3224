#pragma once
// The per-problem counters: failures, result and hint requests, take-backs, free trials and
// solves, each counted at a fixed point of the solve loop. Every change goes to the index's
// working copy, the problem page's labels and the history at once. Also the level estimate and
// the two commands that reset the solved state.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "collection/HistoryStore.h"
#include "collection/ProblemStore.h"
#include "index/GoIndexModel.h"
#include "solving/Attempt.h"

namespace karvena {

// The result command, the stated result and the level estimate are behind this switch. It is
// off and nothing turns it on.
extern bool ShowStdResult;

enum class TStatLabel {
    SuccessCount,
    FailureCount,
    Hint0Count,
    Hint1Count,
    TakebackCount,
    StudyCount,
    StdResult,
    Score,
    BestTime // the fastest clean solve
};

// Seconds as the labels show them: "0:42", "12:05".
std::string DurationText(int seconds);
// A thumbnail's tool-tip: its number and level ("No. 5 · 12k"; "no level" for 0, an imported
// problem whose source names none; nothing when the problem is not known),
// the times solved and failed, and the best clean solve when there is one, a line each.
std::string ProblemTip(int number, int level, const THistoryRow& row, std::optional<int> bestSeconds);

// What the statistics show and ask, implemented by the main window (and by tests).
class IStatisticsOutput {
public:
    virtual ~IStatisticsOutput() = default;
    virtual void SetLabel(TStatLabel label, const std::string& text) = 0;
    // A Yes/No question whose default is No; true for Yes.
    virtual bool ConfirmNoDefault(const std::string& caption, const std::string& text) = 0;
    // A plain message with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // The status bar goes back to the button-face colour.
    virtual void ResetStatusColour() = 0;
};

// 100 for a first-attempt solve without help, less for each kind of help before the solve.
int ProblemScore(int failed, int hint0, int hint1, int hint2, int takeback, int trial);
inline int ProblemScore(const THistoryRow& r) {
    return ProblemScore(r.FailedCountBeforeSolve, r.Hint0CountBeforeSolve, r.Hint1CountBeforeSolve,
                        r.Hint2CountBeforeSolve, r.TakebackBeforeSolve, r.StudyBeforeSolve);
}
// The level L from the totals per level (index 1..50; 46 down to 1 examined, 600 needed).
int LevelFromTotals(const std::array<int, 51>& totals);
// The message of a level in the current language.
std::string LevelMessage(int level);
// The stated result of a problem from Result2, in the current language; empty for others.
std::string StatedResultText(std::optional<int32_t> result2);

// The counting operations the solve loop and try mode call at fixed points.
class IProblemRecorder {
public:
    virtual ~IProblemRecorder() = default;
    // The problem whose counters are current (set when a problem is loaded).
    virtual void SetCurrentProblem(int32_t auto1) = 0;
    // Copies the current history row into the working copy and fills the labels.
    virtual void ShowCounters(int position) = 0;
    virtual void RecordSolved() = 0;
    virtual void RecordFailure() = 0;
    // Nothing once the problem is solved.
    virtual void RecordTakeback() = 0;
    virtual void RecordTrial() = 0;
    // 0 result, 1 hint, anything else the third kind.
    virtual void RecordHint(int kind) = 0;
    // The player moved on the problem (the attempt log tells a problem tried from one opened).
    virtual void RecordMove() {}
};

// A time as the attempt log writes it, in local time: "2026-12-09T23:04:09".
std::string LocalTimeText(std::time_t time);

class TStatistics : public IProblemRecorder {
public:
    TStatistics(TGoIndexModel& index, THistoryStore& history, IStatisticsOutput& output)
        : m_Index(index), m_History(history), m_Output(output) {}

    // Ends the attempt at the problem before, and begins one at this one.
    void SetCurrentProblem(int32_t auto1) override;
    // The attempt under way ends without a solve (the problem is left, the window closes): a
    // failure when it failed, else abandoned; a problem only looked at leaves no attempt.
    void EndAttempt();
    // The wall clock of the attempt log (tests set their own).
    std::function<std::time_t()> WallClock;
    // The orientation the problem is shown in, for the log (the window and the play set it).
    std::function<int()> Orientation;
    // Told after an attempt went into the log.
    std::function<void()> OnAttemptLogged;
    // The clock of the attempt times, in seconds (tests set their own).
    std::function<int64_t()> Now;
    int64_t NowSeconds() const;
    // Seconds from loading the current problem to its solve, or to now while it is not solved.
    int AttemptSeconds() const { return m_Attempt.Seconds(NowSeconds()); }
    // Today's local day number for the review (tests set their own clock).
    std::function<int()> Today;
    int TodayNumber() const;
    int32_t CurrentProblem() const { return m_Current; }
    void ShowCounters(int position) override;
    void RecordSolved() override;
    void RecordFailure() override;
    void RecordTakeback() override;
    void RecordTrial() override;
    void RecordHint(int kind) override;
    void RecordMove() override { m_Moved = true; }

    // The result command: the stated result, then a result request counted.
    void Result1Click(bool onProblemPage, const std::string& statedResult);
    // The level estimate over the whole collection.
    int WhatLevelImAt(const TProblemStore& problems);
    void ResetSolvedFlag();
    // Asks first; the index marks stay until a level group is opened again.
    void ClearAllSolvedFlags();

private:
    // Reads the current history row, lets `change` set fields, and posts it.
    void Post(const std::function<void(THistoryRow&)>& change);
    void ShowCount(TStatLabel label, const char* prefix, int value);
    // Counts one more of a before-solve counter while the problem is unsolved.
    void RecordBeforeSolve(int& counter, TStatLabel label, const char* prefix,
                           int32_t THistoryRow::*field);
    THistoryRow CurrentRow() const;

    TGoIndexModel& m_Index;
    THistoryStore& m_History;
    IStatisticsOutput& m_Output;
    int32_t m_Current = 0;
    TAttempt m_Attempt;
    // The attempt log's row of the attempt under way, and whether the player has moved in it.
    std::optional<TAttemptRow> m_Logged;
    bool m_Moved = false;
    void LogAttempt(TAttemptResult result);
    // The review's answers to a setback and to a clean solve.
    void ReviewSetback(bool intoReview);
    void ReviewCleanSolve();
};

} // namespace karvena
