#pragma once
// TSolveLoop: a problem played against its solution tree. It sets the problem up on the board,
// matches every move the player makes against the tree, answers with the opponent's reply,
// judges when a line has ended in success or failure, and offers the next opponent variation
// or a retry, until every opponent variation has been played through. It shows and plays
// everything through ISolveOutput, and counts through IProblemRecorder.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "board/GoBoard.h"
#include "board/Orientation.h"
#include "collection/HistoryStore.h"
#include "collection/ProblemComments.h"
#include "collection/ProblemStore.h"
#include "collection/SolutionTree.h"
#include "index/GoIndexModel.h"
#include "solving/MoveJudge.h"
#include "solving/Statistics.h"

namespace karvena {

// The sounds, by resource number.
enum TSound : int {
    kSoundMove = 1999,           // a stone is played
    kSoundNotice = 2091,         // a notice, or nowhere to retry from
    kSoundSuccess = 2010,        // a clean success
    kSoundSuccessFlagged = 2030, // a success through a flagged or "sometimes" move
    kSoundSolved = 2095,         // every variation played through
    kSoundFailure = 2020,        // a line failed
    kSoundError = 2094,          // a data error, or nothing pending
};

// What the solve loop shows and plays. The main window implements it; tests record it.
class ISolveOutput {
public:
    virtual ~ISolveOutput() = default;
    // LabelResult: "Success", "Failure" or empty.
    virtual void SetResult(const std::string& text) = 0;
    // LabelStdResult in red, reset after five seconds.
    virtual void ShowNotice(const std::string& text) = 0;
    virtual void SetStatus(int panel, const std::string& text) = 0;
    // A sound; `wait` sounds follow each other, the others play at once.
    virtual void PlaySound(int number, bool wait) = 0;
    // The automatic take-back timer on or off.
    virtual void ArmTimer(bool enabled) = 0;
    // Hint window 1 (next variation) or 2 (retry); 0 hides both.
    virtual void ShowHintWindow(int which) = 0;
    virtual void SetNextVariationEnabled(bool enabled) = 0;
    virtual void Beep() = 0;
    virtual void NextProblem() = 0;
    // Lets the display catch up before the result sounds.
    virtual void ProcessPendingEvents() {}
    // For watchers: the opponent's reply, a stone marked as flagged, the hint marks, the
    // problem solved, moves taken back, a state of the pending command.
    virtual void ReplyPlayed(int /*P*/, int /*Q*/) {}
    virtual void StoneMarked(int /*P*/, int /*Q*/) {}
    virtual void HintMarked(const std::string& /*good*/, const std::string& /*bad*/) {}
    // The first hint's area, as shown.
    virtual void AreaShaded(const std::string& /*points*/) {}
    virtual void Solved() {}
    virtual void TookBack(int /*moves*/) {}
    // A move played while trying (the try buttons follow it).
    virtual void TrialMove() {}
    // Set-up: the side the player plays, as the board shows it (true for white).
    virtual void PlayerSide(bool /*white*/) {}
    // The solver is judging a move the tree does not list (the board takes no moves meanwhile).
    virtual void Thinking(bool /*on*/) {}
    // The solver's judgement of the player's `move`, and the opponent's `answer` it plays (""
    // for none), both as shown.
    virtual void SolverJudged(const std::string& /*move*/, const TJudgement& /*judgement*/,
                              const std::string& /*answer*/) {}
};

struct TSolveOptions {
    bool ComputerDoNotPlayBadMove = false;
    bool DisplayNumbers = false;
    bool NextProblemAutomatically = false;
    bool TakebackAutomatically = false;
    int DelayBeforeTakebackAutomatically = 10; // seconds, 0..30
    bool Silent = false;
    bool HintAllowed = true;
    // Hint at the problem's first move gives the move at once, instead of first shading the
    // area where the answer lies.
    bool OneStepHint = false;
    // Each set-up shows the problem turned or mirrored, and with the second its colours swapped.
    bool RandomOrientation = false;
    bool RandomColours = false;
    // A move the tree does not list is put to the solver, within this budget.
    bool JudgeMovesTheAnswerDoesNotList = true;
    int SolverBudgetMs = 2000;
    int64_t SolverBudgetNodes = 0; // positions, 0 for no bound (the same verdict on any machine)
};

// The automatic take-back interval of a delay position: seconds x 1000, or 50 ms for 0.
inline int TakebackInterval(int position) {
    return position == 0 ? 50 : position * 1000;
}
// The delay command's input: the number, or -1 when it is not one.
int ParseDelay(const std::string& text);

// Sets a problem's starting position up on a board as the trainer shows it: the setup stones,
// then the Initial moves. `firstToPlay` is 'W' when White plays the first Initial move (or is to
// play when there are none).
// The points where a problem's answer lies, as stored ("" when the problem gives no region).
std::string AnswerAreaOf(const TProblemRow& row, const TSolutionTree& tree);
void SetUpPosition(TGoBoard& board, const std::string& black, const std::string& white,
                   const std::string& initial, char firstToPlay);
// The side that solves: whoever is to move once the Initial moves are played.
int8_t SolverSideOf(char firstToPlay, const std::string& initial);

class TSolveLoop {
public:
    TSolveLoop(TGoBoard& board, TGoIndexModel& index, IProblemRecorder& recorder,
               ISolveOutput& output);

    TSolveOptions& Options() { return m_Options; }
    // 29 while the computer avoids bad moves, else 24.
    int AvoidMask() const {
        return m_Options.ComputerDoNotPlayBadMove ? kMaskAvoidBad : kMaskPlain;
    }
    void SetProblems(const TProblemStore* problems) { m_Problems = problems; }
    // Who runs the solver, and the history that keeps its verdicts (none: moves the tree does
    // not list fail, as without the option).
    void SetSolver(ISolverRunner* runner, THistoryStore* verdicts) {
        m_Runner = runner;
        m_Verdicts = verdicts;
    }
    // Milliseconds of a steady clock; tests set their own.
    std::function<int64_t()> Now;
    // A number from 0 below `bound`; the orientation of each set-up is drawn with it.
    std::function<int(int bound)> Random;
    // An orientation every set-up uses, whatever the options say (the tool's --transform);
    // -1 leaves the choice to the options.
    int FixedOrientation = -1;
    // While true, player moves are free trials, not matched against the tree.
    bool TryMode = false;
    // The remark lists the node comments number into.
    TRemarks Remarks;

    // ---- Problems ----
    // Loads the problem at `position` of the index and sets it up; false when its row is missing.
    bool LoadProblem(int position);
    // Puts the loaded problem on the board again in a newly chosen orientation; visit marks stay.
    void SetUp();

    // ---- Play ----
    // The board accepted the player's move at (P, Q).
    void GoGame1LegalMove(int P, int Q);
    // The next variation or a retry (PgDn, the timer).
    void NextVariation();
    // Takes the player's last move back (with the opponent's answer to it).
    void Back();
    // Sets the problem up again; an abandoned line counts as a take-back.
    void SolveAgain();
    // Marks the good (green) and bad (yellow) next moves; `byUser` beeps when hints are locked.
    void Hint(bool byUser = true);
    // Drops a judgement the solver is still working on (the board takes moves again).
    void StopThinking();

    // ---- Options ----
    void SetComputerDoNotPlayBadMove(bool on) { m_Options.ComputerDoNotPlayBadMove = on; }
    // Numbers the initial moves from the next set-up on (the window sets the problem up again).
    void SetDisplayNumbers(bool on);

    // ---- State ----
    int32_t CurrentAuto1() const { return m_CurrentAuto1; }
    TNodeId RetryNode() const { return m_RetryNode; }
    // True once a line has shown its result and before play resumes on it.
    bool LineEnded() const { return m_LineEnded; }
    TNodeId NextReply() const { return m_NextReply; }
    const TSolutionTree& Tree() const { return m_Tree; }
    TSolutionTree& Tree() { return m_Tree; }
    // The Initial moves as stored; their count is the same in every orientation.
    const std::string& Initial() const { return m_Initial; }
    // How the problem is shown since the last set-up.
    const TOrientation& Orientation() const { return m_Orientation; }
    const std::string& StatedResult() const { return m_StatedResult; }
    // The side the player solves for, and whether it is to move.
    int8_t SolverSide() const;
    bool UserToMove() const;
    bool Loaded() const { return m_Loaded; }
    // True while no move has been played beyond the problem's start.
    bool AtStart() const { return MovesBeyondStart() == 0; }
    // True while the solver judges the player's last move.
    bool Thinking() const { return m_Thinking; }
    // True while the line goes on beyond the tree, against the solver.
    bool OnSolverLine() const;
    // The moves beyond the start as the tree writes them (the stored orientation).
    std::vector<std::string> StoredMovesBeyondStart() const;
    // The loaded problem's own answer is a ko (so a move that reaches the ko works).
    bool KoIsTheAnswer() const { return m_Judge && m_Judge->KoIsTheAnswer(); }

private:
    // The node's label and remark as the status bar shows them, in the current language.
    std::string CommentFor(TNodeId node) const;
    // Text for the player in the trainer's language mode (Chinese through its conversion).
    static std::string LocalWords(const std::string& text);
    void Play(int sound, bool wait);
    // Plays a move as the tree writes it for the opponent, as shown ("TT" elsewhere); `point`
    // is where. False when it cannot be played.
    bool PlayForTheOpponent(const std::string& move, TPoint& point);
    // Plays a tree move for the opponent ("TT" in the bottom-right corner); false when none.
    bool PlayReply(TNodeId reply);
    void MarkStone(int P, int Q);
    void ShowNoticeFor(int flags);
    TOrientation ChooseOrientation();
    // The opponent plays elsewhere ("TT"), far from the problem; `played` is where.
    bool PlayElsewhere(TPoint& played);
    void Failed();
    // The line failed with the player's move (and any answer) on the board: the result shown,
    // counted, and the retry armed.
    void FailWhereItStands();
    struct TLineFlags {
        int kC = -1, kS = -1, kT = -1;
    };
    // The levels of the first flagged opponent move, flagged player move and "sometimes" player
    // move on the way from a node up to the root (-1 for none).
    TLineFlags LineFlags(TNodeId node) const;
    // Shows the line's result (a result code, or a leaf without one: failure), counts it, and
    // arms the next variation or the retry.
    void Conclude(const std::string& code, bool leaf);
    // The line has shown its result: the board takes no more moves on it.
    void EndLine();
    // Play goes on (a next variation, Back, a new set-up): the board takes moves again.
    void ResumeLine();
    void Tail();
    void ClearPending();
    int MovesBeyondStart() const;
    // ---- The solver ----
    bool JudgesOffTheTree() const;
    // The budget of one judgement (and of each first move when the goal is looked for).
    TSolverBudget SolverBudget() const;
    // Puts the position after the player's move at (P, Q) to the solver (or its memory).
    void AskTheSolver(int P, int Q);
    // The solver's verdict on the player's move: the line goes on, succeeds or fails.
    void Judged(const std::string& move, const TJudgement& judgement);
    // Plays a move of the solver's for the opponent (stored orientation, "TT" elsewhere).
    bool PlaySolverMove(const std::string& move);
    void RememberGoal();

    TGoBoard& m_Board;
    TGoIndexModel& m_Index;
    IProblemRecorder& m_Recorder;
    ISolveOutput& m_Output;
    const TProblemStore* m_Problems = nullptr;
    TSolveOptions m_Options;
    TSolutionTree m_Tree;

    bool m_Loaded = false;
    int32_t m_CurrentAuto1 = 0;
    std::string m_ArrangedBlack, m_ArrangedWhite, m_Initial;
    char m_FirstToPlayChar = 'B';
    TOrientation m_Orientation;
    std::string m_StatedResult;
    // The area where the answer lies (the problem's region, as stored), and whether the first
    // hint of this set-up has shaded it.
    std::string m_AnswerArea;
    bool m_AreaShown = false;
    TProblemComments m_Comments; // the author's words, for an imported problem
    int m_Lines = 19;            // the problem's board
    TNodeId m_RetryNode = kNoNode;
    bool m_LineEnded = false;
    TNodeId m_NextReply = kNoNode;

    ISolverRunner* m_Runner = nullptr;
    THistoryStore* m_Verdicts = nullptr;
    std::shared_ptr<TMoveJudge> m_Judge; // the loaded problem's
    int32_t m_HistoryKey = 0;
    bool m_Thinking = false;
    unsigned m_Asked = 0; // counts the questions put, so that a dropped one is not heard
    // The solver's last judgement and the moves beyond the start it was made at.
    TJudgement m_LastJudgement;
    int m_LastJudgedAt = -1;
};

} // namespace karvena
