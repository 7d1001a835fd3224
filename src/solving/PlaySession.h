#pragma once
// A problem played word by word without a window: the real solve loop, statistics and board,
// with every event written down as one line ("move CB player", "sound #2010 wait", ...). The
// collection tool's "play" command and the tests use it; a test can hand it the real board
// widget to compare what a player sees with the headless run.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "collection/HistoryStore.h"
#include "collection/ProblemStore.h"
#include "solving/SolveLoop.h"
#include "solving/Statistics.h"

namespace karvena {

class TPlaySession : private ISolveOutput, private IStatisticsOutput, private IProblemRecorder {
public:
    // Plays on `board` with the problems of `problems` and the history at `historyPath`.
    TPlaySession(TGoBoard& board, const TProblemStore& problems, const std::string& historyPath);
    ~TPlaySession() override;

    // Loads the problem with this key (its level group becomes the index); false when missing.
    bool Load(int key);
    // One word: a point ("CB", clicked through the board's click handling), "next", "timer",
    // "back", "again" or "hint". `click` plays a point as the player would; by default it goes
    // to the board's click handling directly. Returns false for a word it does not know.
    bool Word(const std::string& word);
    std::function<TClickResult(int P, int Q)> Click;
    // Moves the tree does not list are judged by the solver at once (on by default, as in the
    // trainer), within the loop's budget; off, they fail as the tree says.
    void SetSolverOn(bool on);

    // The events so far, one a line; Take empties the list.
    const std::vector<std::string>& Lines() const { return m_Lines; }
    std::vector<std::string> Take();
    TSolveLoop& Loop() { return *m_Loop; }
    TGoIndexModel& Index() { return m_Index; }
    THistoryStore& History() { return m_History; }
    TStatistics& Statistics() { return *m_Statistics; }

private:
    // ISolveOutput
    void SetResult(const std::string& text) override;
    void ShowNotice(const std::string& text) override;
    void SetStatus(int panel, const std::string& text) override;
    void PlaySound(int number, bool wait) override;
    void ArmTimer(bool enabled) override { m_TimerArmed = enabled; }
    void ShowHintWindow(int) override {}
    void SetNextVariationEnabled(bool) override {}
    void Beep() override { m_Lines.push_back("beep"); }
    void NextProblem() override { m_Lines.push_back("next problem"); }
    void ReplyPlayed(int P, int Q) override;
    void StoneMarked(int P, int Q) override;
    void HintMarked(const std::string& good, const std::string& bad) override;
    void Solved() override { m_Lines.push_back("solved"); }
    void TookBack(int moves) override { m_Lines.push_back("takeback " + std::to_string(moves)); }
    void SolverJudged(const std::string& move, const TJudgement& judgement,
                      const std::string& answer) override;
    // IStatisticsOutput: the labels are not part of the transcript.
    void SetLabel(TStatLabel, const std::string&) override {}
    bool ConfirmNoDefault(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&) override {}
    void ResetStatusColour() override {}
    // IProblemRecorder: written down, then counted for real.
    void SetCurrentProblem(int32_t auto1) override { m_Statistics->SetCurrentProblem(auto1); }
    void ShowCounters(int position) override { m_Statistics->ShowCounters(position); }
    void RecordSolved() override;
    void RecordFailure() override;
    void RecordTakeback() override;
    void RecordTrial() override;
    void RecordHint(int kind) override;
    void RecordMove() override { m_Statistics->RecordMove(); }

    TGoBoard& m_Board;
    const TProblemStore& m_Problems;
    TGoIndexModel m_Index;
    THistoryStore m_History;
    std::unique_ptr<TStatistics> m_Statistics;
    std::unique_ptr<TSolveLoop> m_Loop;
    std::vector<std::string> m_Lines;
    bool m_TimerArmed = false;
    TImmediateRunner m_Solver;
};

} // namespace karvena
