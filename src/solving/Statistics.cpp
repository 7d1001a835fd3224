#include "solving/Statistics.h"

#include "solving/Progress.h"

#include <ctime>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "solving/Review.h"
#include "text/Texts.h"

namespace karvena {

bool ShowStdResult = false;

int ProblemScore(int failed, int hint0, int hint1, int hint2, int takeback, int trial) {
    // A result request costs a flat 10 however often it was made; the rest cost per unit.
    const long score = 100L - 50L * failed - 25L * takeback - 10L * trial - (hint0 > 0 ? 10 : 0) -
                       75L * hint1 - 90L * hint2;
    return static_cast<int>(std::max(0L, std::min(100L, score)));
}

int LevelFromTotals(const std::array<int, 51>& totals) {
    for (int level = 46; level >= 1; --level)
        if (totals[level] >= 600) return level;
    return 0;
}

std::string LevelMessage(int level) {
    if (level <= 0) return Tx("LevelTooFew");
    if (level <= 29) return Tx("LevelTooEasy");
    if (level <= 38)
        return Fill(Tx("LevelKyu"), {std::to_string(41 - level), std::to_string(39 - level)});
    if (level == 39) return Tx("Level39");
    if (level == 40) return Tx("Level40");
    if (level <= 45)
        return Fill(Tx("LevelDan"), {std::to_string(level - 40), std::to_string(level - 38)});
    return Tx("Level46");
}

std::string StatedResultText(std::optional<int32_t> result2) {
    if (!ShowStdResult || !result2) return "";
    switch (*result2) {
    case 0:
        return Tx("StatedDies");
    case 1:
        return Tx("StatedLives");
    case 2:
        return Tx("StatedKoToKill");
    case 3:
        return Tx("StatedKoToLive");
    default:
        return "";
    }
}

THistoryRow TStatistics::CurrentRow() const {
    const std::optional<THistoryRow> row = m_History.Find(m_Current);
    if (row) return *row;
    THistoryRow fresh;
    fresh.Auto1 = m_Current;
    return fresh;
}

void TStatistics::Post(const std::function<void(THistoryRow&)>& change) {
    THistoryRow row = CurrentRow();
    change(row);
    m_History.Post(row);
}

void TStatistics::ShowCount(TStatLabel label, const char* prefix, int value) {
    m_Output.SetLabel(label, value > 0 ? Tx(prefix) + std::to_string(value) : "");
}

namespace {

// The counters the index keeps as plain fields, each with its history field. SolvedCount is not
// among them: it goes through the index's setter, which also rewrites the solved mark.
struct TCounterField {
    int TGoIndexModel::*Index;
    int32_t THistoryRow::*History;
};
constexpr TCounterField kHintFields[] = {
    {&TGoIndexModel::Hint0Count, &THistoryRow::Hint0Count},
    {&TGoIndexModel::Hint1Count, &THistoryRow::Hint1Count},
    {&TGoIndexModel::Hint2Count, &THistoryRow::Hint2Count},
    {&TGoIndexModel::Hint0CountBeforeSolve, &THistoryRow::Hint0CountBeforeSolve},
    {&TGoIndexModel::Hint1CountBeforeSolve, &THistoryRow::Hint1CountBeforeSolve},
    {&TGoIndexModel::Hint2CountBeforeSolve, &THistoryRow::Hint2CountBeforeSolve},
};
constexpr TCounterField kOtherFields[] = {
    {&TGoIndexModel::FailedCount, &THistoryRow::FailedCount},
    {&TGoIndexModel::FailedCountBeforeSolve, &THistoryRow::FailedCountBeforeSolve},
    {&TGoIndexModel::TakebackBeforeSolve, &THistoryRow::TakebackBeforeSolve},
    {&TGoIndexModel::StudyBeforeSolve, &THistoryRow::StudyBeforeSolve},
};

} // namespace

void TStatistics::ShowCounters(int position) {
    const THistoryRow row = CurrentRow();
    m_Index.SetSolvedCount(row.SolvedCount);
    for (const TCounterField& f : kHintFields)
        m_Index.*f.Index = row.*f.History;
    for (const TCounterField& f : kOtherFields)
        m_Index.*f.Index = row.*f.History;

    m_Output.SetLabel(TStatLabel::StdResult, Tx("LabelStdResult") + std::to_string(position + 1));
    m_Output.SetLabel(TStatLabel::SuccessCount, row.SolvedCount > 0 ? Tx("LabelSuccessCount") : "");
    ShowCount(TStatLabel::FailureCount, "LabelFailureCount", row.FailedCount);
    if (ShowStdResult) ShowCount(TStatLabel::Hint0Count, "LabelHint0Count", row.Hint0Count);
    ShowCount(TStatLabel::Hint1Count, "LabelHint1Count", row.Hint1Count);
    ShowCount(TStatLabel::TakebackCount, "LabelTakebackCount", row.TakebackBeforeSolve);
    ShowCount(TStatLabel::StudyCount, "LabelStudyCount", row.StudyBeforeSolve);
    const std::optional<int> best = m_History.BestTime(m_Current);
    m_Output.SetLabel(TStatLabel::BestTime, best ? Tx("LabelBestTime") + DurationText(*best) : "");
}

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

void TStatistics::SetCurrentProblem(int32_t auto1) {
    EndAttempt();
    m_Current = auto1;
    m_Attempt.Begin(auto1, NowSeconds(), TodayNumber());
    m_Logged = TAttemptRow{};
    m_Logged->Auto1 = auto1;
    m_Logged->Began = LocalTimeText(WallClock ? WallClock() : std::time(nullptr));
    m_Moved = false;
}

void TStatistics::LogAttempt(TAttemptResult result) {
    if (!m_Logged || m_Current <= 0) return;
    m_Logged->Ended = LocalTimeText(WallClock ? WallClock() : std::time(nullptr));
    m_Logged->Result = result;
    m_Logged->Seconds = AttemptSeconds();
    m_Logged->Orientation = Orientation ? Orientation() : 0;
    m_History.PostAttempt(*m_Logged);
    m_Logged.reset();
    if (OnAttemptLogged) OnAttemptLogged();
}

void TStatistics::EndAttempt() {
    if (!m_Logged) return;
    const bool tried = m_Moved || m_Logged->Failures > 0 || m_Logged->Hints > 0;
    if (tried) LogAttempt(m_Logged->Failures > 0 ? TAttemptResult::Failure : TAttemptResult::Abandoned);
    m_Logged.reset();
}

void TStatistics::ReviewSetback(bool intoReview) {
    m_Attempt.Setback(TodayNumber());
    if (m_Current <= 0 || !m_History.IsOpen()) return;
    // A failure puts the problem into the review; a hint only sends one already there back.
    if (intoReview || m_History.Review(m_Current))
        m_History.PostReview(ReviewAfterSetback(m_Current, TodayNumber()));
}

std::string ProblemTip(int number, int level, const THistoryRow& row, std::optional<int> bestSeconds) {
    std::string tip = Tx("LabelStdResult") + std::to_string(number);
    if (level > 0) tip += " · " + LevelName(level);
    if (level == 0) tip += " · " + Tx("TipNoLevel");
    tip += "\n" + Fill(Tx("TipCounts"), {std::to_string(row.SolvedCount), std::to_string(row.FailedCount)});
    if (bestSeconds) tip += "\n" + Tx("LabelBestTime") + DurationText(*bestSeconds);
    return tip;
}

std::string DurationText(int seconds) {
    seconds = std::max(0, seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

int64_t TStatistics::NowSeconds() const {
    if (Now) return Now();
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void TStatistics::ReviewCleanSolve() {
    if (!m_Attempt.Solve(NowSeconds()) || m_Current <= 0 || !m_History.IsOpen()) return;
    // The best time of a clean solve is kept with the history.
    const int seconds = AttemptSeconds();
    const std::optional<int> best = m_History.BestTime(m_Current);
    if (!best || seconds < *best) m_History.PostBestTime(m_Current, seconds);
    m_Output.SetLabel(TStatLabel::BestTime,
                      Tx("LabelBestTime") + DurationText(best ? std::min(*best, seconds) : seconds));
    const std::optional<TReviewEntry> entry = m_History.Review(m_Current);
    if (!entry) return;
    const std::optional<TReviewEntry> next = ReviewAfterCleanSolve(*entry, TodayNumber());
    if (!next)
        m_History.RemoveReview(m_Current);
    else if (!(*next == *entry))
        m_History.PostReview(*next);
}

int TStatistics::TodayNumber() const {
    return Today ? Today() : LocalDayNumber(std::time(nullptr));
}

void TStatistics::RecordSolved() {
    const bool clean = !m_Attempt.Spoilt();
    ReviewCleanSolve();
    LogAttempt(clean ? TAttemptResult::Clean : TAttemptResult::WithHelp);
    m_Index.SetSolvedCount(m_Index.SolvedCount() + 1);
    m_Output.SetLabel(TStatLabel::SuccessCount, Tx("LabelSuccessCount"));
    const int solved = m_Index.SolvedCount();
    Post([solved](THistoryRow& r) { r.SolvedCount = solved; });
}

void TStatistics::RecordFailure() {
    ReviewSetback(true);
    if (m_Logged) ++m_Logged->Failures;
    ++m_Index.FailedCount;
    // While unsolved the before-solve measure is one more than the failures: a first failure
    // stores 2, so a single failure already costs the whole score.
    if (m_Index.SolvedCount() < 1) m_Index.FailedCountBeforeSolve = m_Index.FailedCount + 1;
    const int failed = m_Index.FailedCount;
    const int before = m_Index.FailedCountBeforeSolve;
    Post([&](THistoryRow& r) {
        r.FailedCount = failed;
        r.FailedCountBeforeSolve = before;
    });
    m_Output.SetLabel(TStatLabel::FailureCount, Tx("LabelFailureCount") + std::to_string(failed));
}

void TStatistics::RecordBeforeSolve(int& counter, TStatLabel label, const char* prefix,
                                    int32_t THistoryRow::*field) {
    // Once the problem is solved, abandoned lines and free trials no longer count.
    if (CurrentRow().SolvedCount > 0) return;
    const int count = ++counter;
    m_Output.SetLabel(label, Tx(prefix) + std::to_string(count));
    Post([count, field](THistoryRow& r) { r.*field = count; });
}

void TStatistics::RecordTakeback() {
    if (m_Logged) ++m_Logged->Takebacks;
    RecordBeforeSolve(m_Index.TakebackBeforeSolve, TStatLabel::TakebackCount, "LabelTakebackCount",
                      &THistoryRow::TakebackBeforeSolve);
}

void TStatistics::RecordTrial() {
    RecordBeforeSolve(m_Index.StudyBeforeSolve, TStatLabel::StudyCount, "LabelStudyCount",
                      &THistoryRow::StudyBeforeSolve);
}

void TStatistics::RecordHint(int kind) {
    ReviewSetback(false);
    if (m_Logged) ++m_Logged->Hints;
    const bool unsolved = m_Index.SolvedCount() == 0;
    if (kind == 0) {
        ++m_Index.Hint0Count;
        if (unsolved) ++m_Index.Hint0CountBeforeSolve;
    } else if (kind == 1) {
        ++m_Index.Hint1Count;
        if (unsolved) ++m_Index.Hint1CountBeforeSolve;
    } else {
        ++m_Index.Hint2Count;
        if (unsolved) ++m_Index.Hint2CountBeforeSolve;
    }
    if (ShowStdResult)
        m_Output.SetLabel(TStatLabel::Hint0Count,
                          Tx("LabelHint0Count") + std::to_string(m_Index.Hint0Count));
    m_Output.SetLabel(TStatLabel::Hint1Count,
                      Tx("LabelHint1Count") + std::to_string(m_Index.Hint1Count));
    // All six hint fields go to the history together.
    const TGoIndexModel& index = m_Index;
    Post([&index](THistoryRow& r) {
        for (const TCounterField& f : kHintFields)
            r.*f.History = index.*f.Index;
    });
}

void TStatistics::Result1Click(bool onProblemPage, const std::string& statedResult) {
    if (!onProblemPage || m_Index.Count() == 0 || m_Index.Selected() < 0 || !ShowStdResult) return;
    m_Output.SetLabel(TStatLabel::StdResult, statedResult);
    m_Output.ResetStatusColour();
    RecordHint(0);
}

int TStatistics::WhatLevelImAt(const TProblemStore& problems) {
    std::array<int, 51> totals{};
    for (const auto& [auto1, level] : problems.KeysAndLevels()) {
        const std::optional<THistoryRow> row = m_History.Find(auto1);
        if (!row || row->SolvedCount <= 0 || level < 1 || level > 49) continue;
        totals[level] += ProblemScore(*row);
    }
    const int level = LevelFromTotals(totals);
    m_Output.ShowMessage(LevelMessage(level));
    return level;
}

void TStatistics::ResetSolvedFlag() {
    // With no problem loaded there is no flag to reset (and no row to write).
    if (!m_History.IsOpen() || m_Current <= 0) return;
    if (!m_Output.ConfirmNoDefault(Tx("ResetSolvedCaption"), Tx("ResetSolvedQuestion"))) return;
    m_Index.SetSolvedCount(0);
    Post([](THistoryRow& r) { r.SolvedCount = 0; });
    m_Output.SetLabel(TStatLabel::SuccessCount, "");
}

void TStatistics::ClearAllSolvedFlags() {
    if (!m_Output.ConfirmNoDefault(Tx("ClearAllCaption"), Tx("ClearAllQuestion"))) return;
    m_History.ClearAllSolved();
    m_Output.SetLabel(TStatLabel::SuccessCount, "");
}

} // namespace karvena
