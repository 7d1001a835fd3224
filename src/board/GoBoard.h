#pragma once
// TGoBoard: the model of the Go board component. It holds the point grid, the chain ids, the
// annotation layers and the game record, applies the rules of Go, and keeps every published
// property of the component. It never draws: "with drawing" means it asks its IBoardView to
// repaint what changed. Plain C++, no Qt.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "board/BoardLook.h"
#include "board/BoardView.h"
#include "board/Notation.h"

namespace karvena {

class TGoBoard;

using TMoveEvent = std::function<void(TGoBoard& Sender, int16_t nFrom, int16_t nTo, int16_t nKind,
                                      int16_t nPromoted, bool bReview)>;
using TClickAtOpponentsTurnEvent = std::function<void(TGoBoard& Sender, int16_t nP, int16_t nQ)>;
using TLastMoveClickEvent = std::function<void(TGoBoard& Sender, int16_t nP, int16_t nQ)>;
using TJudgeEvent = std::function<void(TGoBoard& Sender, int16_t nWinner, int16_t nAreaB,
                                       int16_t nAreaW, int16_t nWin)>;
using TToBig5Event = std::function<void(TGoBoard& Sender, std::string& S)>;
using TWuziEvent = std::function<void(TGoBoard& Sender, bool bReview)>;
using TWinnerGotEvent =
    std::function<void(TGoBoard& Sender, int16_t iWinner, int16_t iReason, bool bReview)>;

enum class TMouseButton { Left, Right };

// What one click did, in the order the click table tries its rows.
enum class TClickResult {
    Nothing,              // no row applied, or the row does nothing
    SetupStone,           // Mode 1: a setup stone was added
    NumberedMove,         // review with numbering: a numbered move was played
    Move,                 // play mode: a move was played and OnLegalMove fired
    RefusedMove,          // a move was tried and the rules refused it
    DeadMarking,          // after the game: a chain toggled dead (or not) and the board counted
    ClickAtOpponentsTurn, // a stone was clicked while the user may move
    LastMoveClick,        // the last move's stone was clicked while the opponent is to move
};

// The grid is 21 x 21 so that every playing point has four neighbours; 0 and 20 form the ring.
constexpr int kGridSize = 21;
template <typename T> using TGrid = std::array<std::array<T, kGridSize>, kGridSize>;

class TGoBoard {
public:
    // An empty 19 x 19 Go board with black to move and every property at its default.
    TGoBoard();

    // The view asked to repaint what changes; nullptr (the default) draws nothing.
    void SetView(IBoardView* view) { m_View = view ? view : &m_NullView; }

    // ---- Events (skipped when empty) ----
    TMoveEvent OnLegalMove, OnFirstMoveNot88, OnSymmetricalPoint, OnThreeFoldMove;
    TClickAtOpponentsTurnEvent OnClickAtOpponentsTurn;
    TLastMoveClickEvent OnLastMoveClick;
    TJudgeEvent OnJudge;
    TToBig5Event OnToBig5;
    TWuziEvent OnFifthMoveDone, OnExtraMoveDone;
    TWinnerGotEvent OnWinnerGot;

    // ---- Grid access ----
    // True for a playing point of the current kind (Go: 1..19 both ways).
    bool IsOnBoard(int P, int Q) const;
    // True for the pass point (Go: (20, 20)).
    bool IsPassPoint(int P, int Q) const;
    // True for the pass string (Go: "TT").
    bool IsPassString(const std::string& s) const;
    // The raw cell byte at (P, Q); 0 outside the 21 x 21 grid.
    int8_t GetCell(int P, int Q) const;
    // Writes a raw cell byte when it differs; no redraw, no rules. Ignored outside the grid.
    void SetCell(int P, int Q, int8_t v);
    // The chain id of (P, Q); meaningful only at occupied points. 0 outside the grid.
    int16_t ChainId(int P, int Q) const;
    int32_t NumberLabel(int P, int Q) const { return InGrid(P, Q) ? m_NumberLabel[P][Q] : 0; }
    uint32_t LabelColor(int P, int Q) const { return InGrid(P, Q) ? m_LabelColor[P][Q] : 0; }
    char LetterLabel(int P, int Q) const { return InGrid(P, Q) ? m_LetterLabel[P][Q] : ' '; }
    int32_t MarkKind(int P, int Q) const { return InGrid(P, Q) ? m_MarkKind[P][Q] : 0; }
    int32_t MarkExtra(int P, int Q) const { return InGrid(P, Q) ? m_MarkExtra[P][Q] : 0; }
    // Sets the letter / mark layers of one point (drawing only) and redraws it.
    void SetLetterLabel(int P, int Q, char c);
    void SetMarkKind(int P, int Q, int32_t kind);
    void SetMarkExtra(int P, int Q, int32_t extra);
    int Columns() const { return m_Columns; }
    int Rows() const { return m_Rows; }
    // A Go board of 7 to 19 lines (a problem from a smaller board): the position is emptied and
    // set up again when the size changes. Other values are ignored.
    void SetGoLines(int lines);

    // ---- Rules ----
    // Resets to the setup: empties the grids and the record, places handicap and setup stones.
    void NewGame(bool draw);
    // Plays a stone (or the pass (20, 20)) for the side to move; false when the rules refuse it.
    bool MakeMove(int P, int Q, bool draw);
    // Takes the last move back (to the setup when no move was played).
    void TakeBack();
    // Rebuilds the position after move n of Process (or of GivenProcess), skipping refused moves;
    // beyond the end of the string, or for n <= 0, the setup is shown.
    void GoToMove(int n, bool fromGiven);
    // Gives the stone just put at (P, Q) the id of its chain, merging chains it joins.
    void LabelChain(int side, int P, int Q);
    // Counts the board after the game (dead stones as empty) and fires OnJudge.
    void Judge();
    // Marks or unmarks the chain at (P, Q) dead and counts again (after the game).
    void ToggleDead(int P, int Q);

    // What a click does: (P, Q) is where the button was released, (pressedP, pressedQ) where the
    // left button went down. Fires OnLegalMove, OnClickAtOpponentsTurn or OnLastMoveClick.
    TClickResult Click(int P, int Q, TMouseButton button, int pressedP, int pressedQ);

    // ---- Notation ----
    const std::string& Process() const { return m_Process; }
    // Equal or odd-length values are ignored; one more move is played with drawing; anything
    // else is stored and replayed from the setup, leaving out refused moves.
    void SetProcess(const std::string& value);
    const std::string& ArrangedSideP() const { return m_ArrangedSideP; }
    const std::string& ArrangedSideN() const { return m_ArrangedSideN; }
    // Replaces the black (P) or white (N) setup stones: empties the old points, places the new.
    void SetArrangedSideP(const std::string& value);
    void SetArrangedSideN(const std::string& value);
    const std::string& InitialProc() const { return m_InitialProc; }
    // "black white": sets both setup strings, split at the first space.
    void SetInitialProc(const std::string& value);
    const std::string& NumProc() const { return m_NumProc; }
    // Shows the moves of value with numbers 1, 2, ... from move BaseNum of Process on.
    void SetNumProc(const std::string& value);
    int16_t BaseNum() const { return m_BaseNum; }
    // Stores a changed value and restarts NextNumber from it.
    void SetBaseNum(int16_t value);
    int32_t NextNumber() const { return m_NextNumber; }
    // Keeps the number labels of the first k moves of NumProc and cuts it there.
    void TrimNumbers(int k);
    // Numbers the on-board points of s with first, first + 1, ... by their position in s.
    void NumberPoints(const std::string& s, int first);
    // Gives every on-board point of s the label colour; ClearMarks removes every label colour.
    void MarkPoints(const std::string& s, uint32_t colour);
    // A light shade over these points (the area a hint points to); ClearMarks takes it away.
    void ShadePoints(const std::string& s);
    bool Shaded(int P, int Q) const { return InGrid(P, Q) && m_Shaded[P][Q]; }
    void ClearMarks();
    // Set one point's label colour / number label, redrawing it when the value changed.
    void SetLabelColor(int P, int Q, uint32_t colour);
    void SetNumberLabel(int P, int Q, int32_t n);
    // The one-line game record built from the current state (header, settings, clocks, moves).
    std::string ManualString() const;
    // Loads a one-line record; an invalid one is ignored as a whole. The moves are stored in
    // Process and GivenProcess but not replayed.
    void SetManualString(const std::string& value);
    const std::string& GivenProcess() const { return m_GivenProcess; }
    void SetGivenProcess(const std::string& v) { m_GivenProcess = v; }
    std::string GoGameVersion() const { return "02"; }

    // ---- Game record ----
    int16_t NextMove() const { return m_NextMove; }
    void SetNextMove(int16_t v) { m_NextMove = v; }
    int16_t LastP() const { return m_LastP; }
    int16_t LastQ() const { return m_LastQ; }
    void SetLastP(int16_t v) { m_LastP = v; }
    void SetLastQ(int16_t v) { m_LastQ = v; }
    int16_t LastSide() const { return m_LastSide; }
    int16_t LastCaptureCount() const { return m_LastCaptureCount; }
    int8_t Turn() const { return m_Turn; }
    // Stores a changed side to move and redraws the turn indicator.
    void SetTurn(int8_t v);
    int8_t FirstToPlay() const { return m_FirstToPlay; }
    void SetFirstToPlay(int8_t v) { m_FirstToPlay = v; }
    bool FirstToPlayByRule() const { return m_FirstToPlayByRule; }
    void SetFirstToPlayByRule(bool v) { m_FirstToPlayByRule = v; }
    int8_t Handicap() const { return m_Handicap; }
    // Stores the handicap, places its stones on the current board and sets Atone for it.
    void SetHandicap(int8_t v);
    int32_t Atone() const { return m_Atone; }
    void SetAtone(int32_t v) { m_Atone = v; }
    int8_t Winner() const { return m_Winner; }
    // Stores a changed winner (0 black, 1 white, 2 even, 9 none) and redraws the result.
    void SetWinner(int8_t v);
    int16_t WinReason() const { return m_WinReason; }
    void SetWinReason(int16_t v) { m_WinReason = v; }
    int16_t JudgedWinner() const { return m_JudgedWinner; }
    int16_t AreaB() const { return m_AreaB; }
    int16_t AreaW() const { return m_AreaW; }
    void SetAreaB(int16_t v) { m_AreaB = v; }
    void SetAreaW(int16_t v) { m_AreaW = v; }
    const std::string& sResult() const { return m_sResult; }
    bool GameOver() const { return m_GameOver; }
    void SetGameOver(bool v) { m_GameOver = v; }
    bool Modified() const { return m_Modified; }
    void SetModified(bool v) { m_Modified = v; }
    bool Exchanged() const { return m_Exchanged; }
    void SetExchanged(bool v) { m_Exchanged = v; }

    // ---- Players, clocks and the panel's texts ----
    const std::string& PlayerName(int side) const { return m_PlayerName[side & 1]; }
    void SetPlayerName(int side, const std::string& v);
    int16_t PlayerRank(int side) const { return m_PlayerRank[side & 1]; }
    void SetPlayerRank(int side, int16_t v);
    int32_t ClockSeconds(int side) const { return m_ClockSeconds[side & 1]; }
    void SetClockSeconds(int side, int32_t v) { m_ClockSeconds[side & 1] = v; }
    int16_t MovesLeft(int side) const { return m_MovesLeft[side & 1]; }
    void SetMovesLeft(int side, int16_t v) { m_MovesLeft[side & 1] = v; }
    int32_t TimeLimit() const { return m_TimeLimit; }
    // Stores the limit and sets both clocks to it, even when it did not change.
    void SetTimeLimit(int32_t v);
    int16_t MoveLimit() const { return m_MoveLimit; }
    // Stores the limit and sets both sides' moves left to it.
    void SetMoveLimit(int16_t v);
    int8_t ByoYomiCount() const { return m_ByoYomiCount; }
    void SetByoYomiCount(int8_t v) { m_ByoYomiCount = v; }
    int16_t ByoYomiLimit() const { return m_ByoYomiLimit; }
    void SetByoYomiLimit(int16_t v) { m_ByoYomiLimit = v; }
    const std::string& Event() const { return m_Event; }
    void SetEvent(const std::string& v);
    int32_t Fee() const { return m_Fee; }
    void SetFee(int32_t v);
    bool NotBother() const { return m_NotBother; }
    void SetNotBother(bool v);
    int8_t Bold() const { return m_Bold; }
    void SetBold(int8_t v) { m_Bold = v; }
    int16_t HintPos() const { return m_HintPos; }
    const std::string& HintStr() const { return m_HintStr; }
    // Sets the hovered point (P x 256 + Q, -1 none) and its text; redraws the hint line.
    void SetHint(int16_t pos, const std::string& text);
    // Clears the hover hint (every click that acts does this).
    void ClearHint() { SetHint(-1, ""); }

    // ---- Modes and flags ----
    int8_t Mode() const { return m_Mode; }
    void SetMode(int8_t v) { m_Mode = v; }
    bool Review() const { return m_Review; }
    void SetReview(bool v) { m_Review = v; }
    bool Study() const { return m_Study; }
    void SetStudy(bool v) { m_Study = v; }
    bool SingleMode() const { return m_SingleMode; }
    void SetSingleMode(bool v) { m_SingleMode = v; }
    int8_t SelfSide() const { return m_SelfSide; }
    void SetSelfSide(int8_t v) { m_SelfSide = v; }
    bool StudyEnabled() const { return m_StudyEnabled; }
    void SetStudyEnabled(bool v) { m_StudyEnabled = v; }
    bool NewMoveEnabled() const { return m_NewMoveEnabled; }
    void SetNewMoveEnabled(bool v) { m_NewMoveEnabled = v; }
    bool AllowStudy() const { return m_AllowStudy; }
    void SetAllowStudy(bool v) { m_AllowStudy = v; }
    bool bBeep() const { return m_bBeep; }
    void SetbBeep(bool v) { m_bBeep = v; }
    bool Interactive() const { return m_Interactive; }
    void SetInteractive(bool v) { m_Interactive = v; }
    int16_t TakebackCount() const { return m_TakebackCount; }
    void SetTakebackCount(int16_t v) { m_TakebackCount = v; }
    int16_t MoveCount() const { return m_MoveCount; }
    void SetMoveCount(int16_t v) { m_MoveCount = v; }
    int8_t Handicapped() const { return 0; }
    int8_t MovesAtFirst() const { return 0; }
    int16_t GameKind() const { return m_GameKind; }
    // Kinds 0..4; a change resizes the board, sets FileName, empties the grid and resets.
    void SetGameKind(int16_t v);
    const std::string& FileName() const { return m_FileName; }
    void SetFileName(const std::string& v) { m_FileName = v; }
    int8_t Language() const { return m_Language; }
    // 0 simplified Chinese, 1 traditional (through OnToBig5), 2 English; others are ignored.
    void SetLanguage(int8_t v);
    const std::string& Hint(int language) const { return m_Hints[language % 3]; }
    void SetHint0(const std::string& v) { m_Hints[0] = v; }
    void SetHint1(const std::string& v) { m_Hints[1] = v; }
    void SetHint2(const std::string& v) { m_Hints[2] = v; }
    // The control's tooltip: Hint0, Hint1 or Hint2 as chosen by the last Language change.
    const std::string& ControlHint() const { return m_ControlHint; }

    // ---- Drawing properties ----
    const TBoardLook& Look() const { return m_Look; }
    // Changes drawing properties through TBoardLook's rules and tells the view what changed.
    template <typename F> void ChangeLook(F&& change) {
        const TBoardLook before = m_Look;
        change(m_Look);
        if (!(before == m_Look)) m_View->LookChanged(before.AffectsGeometry(m_Look));
    }

    // Converts a text the board shows for Language 1 through OnToBig5; unchanged otherwise.
    std::string LocalText(std::string text) const;

    // The side to move is the user's side (SelfSide: 0 black, else white).
    bool IsUsersTurn() const;

private:
    static bool InGrid(int P, int Q) { return P >= 0 && P < kGridSize && Q >= 0 && Q < kGridSize; }
    // Places the stones of a setup string for a side (no capture, no occupancy test).
    void PlaceSetup(const std::string& points, int side, bool draw);
    // Empties the on-board points of an old setup string.
    void RemoveSetup(const std::string& points);
    void PlaceHandicap(bool draw);
    // Repaints the whole control: the board and every line of the panel, the result line too.
    void RedrawControl();
    // The Go move: the pass, or a stone with captures, suicide and ko tests.
    bool GoMove(int P, int Q, bool draw);
    void RenameChain(int16_t from, int16_t to);
    // Appends a played move at the record's position NextMove.
    void RecordMove(int P, int Q);
    void EmptyGrids();
    // Everything a point is drawn from, to repaint exactly the points a reset or replay changed.
    struct TPointLooks {
        TGrid<int8_t> Cell;
        TGrid<int32_t> NumberLabel;
        TGrid<uint32_t> LabelColor;
        TGrid<char> LetterLabel;
        TGrid<int32_t> MarkKind;
        TGrid<int32_t> MarkExtra;
        bool operator==(const TPointLooks&) const = default;
    };
    TPointLooks PointLooks() const;
    void RedrawChangedPoints(const TPointLooks& before);

    class TNullView : public IBoardView {
        void RedrawPoint(int, int) override {}
        void RedrawAll() override {}
        void MarkLastMove(int, int) override {}
        void ShowPass() override {}
        void TurnChanged() override {}
        void RedrawInfo(TInfoElement) override {}
        void LookChanged(bool) override {}
    };
    TNullView m_NullView;
    IBoardView* m_View = &m_NullView;

    // Grids.
    TGrid<int8_t> m_Cell{};
    TGrid<int16_t> m_Chain{};
    // Records an accepted move: the previous last move and the captured stones repainted, the
    // captures removed, the turn passed on.
    void CommitMove(int P, int Q, TPoint previous, const std::vector<TPoint>& captured, bool draw);
    TGrid<int32_t> m_NumberLabel{};
    TGrid<uint32_t> m_LabelColor{};
    TGrid<bool> m_Shaded{};
    TGrid<char> m_LetterLabel{};
    TGrid<int32_t> m_MarkKind{};
    TGrid<int32_t> m_MarkExtra{};
    int m_Columns = 19;
    int m_Rows = 19;

    // Record.
    std::string m_Process, m_GivenProcess, m_ArrangedSideP, m_ArrangedSideN, m_InitialProc;
    std::string m_NumProc;
    int16_t m_BaseNum = 1;
    int32_t m_NextNumber = 1;
    int16_t m_NextMove = 1;
    int16_t m_LastP = 0, m_LastQ = 0, m_LastSide = 0, m_LastCaptureCount = 0;
    int8_t m_Turn = kBlack, m_FirstToPlay = kBlack;
    bool m_FirstToPlayByRule = true;
    int8_t m_Handicap = 0;
    int32_t m_Atone = 15;
    int8_t m_Winner = 9;
    int16_t m_WinReason = 0, m_JudgedWinner = 0, m_AreaB = 0, m_AreaW = 0;
    std::string m_sResult;
    bool m_GameOver = false, m_Modified = false, m_Exchanged = false;

    // Players and panel.
    std::array<std::string, 2> m_PlayerName;
    std::array<int16_t, 2> m_PlayerRank{};
    std::array<int32_t, 2> m_ClockSeconds{};
    std::array<int16_t, 2> m_MovesLeft{};
    int32_t m_TimeLimit = 0;
    int16_t m_MoveLimit = 0;
    int8_t m_ByoYomiCount = 0;
    int16_t m_ByoYomiLimit = 0;
    std::string m_Event;
    int32_t m_Fee = 0;
    bool m_NotBother = false;
    int8_t m_Bold = 2;
    int16_t m_HintPos = -1;
    std::string m_HintStr;

    // Modes.
    int8_t m_Mode = 0;
    bool m_Review = false, m_Study = false, m_SingleMode = true;
    int8_t m_SelfSide = 0;
    bool m_StudyEnabled = true, m_NewMoveEnabled = true, m_AllowStudy = false;
    bool m_bBeep = false, m_Interactive = false;
    int16_t m_TakebackCount = 0, m_MoveCount = 0;
    int16_t m_GameKind = 0;
    std::string m_FileName = "GoGames.GOG";
    int8_t m_Language = 0;
    std::array<std::string, 3> m_Hints;
    std::string m_ControlHint;

    TBoardLook m_Look;
};

// The values the main window's board is created with (its stored form), applied to a new board.
void ApplyMainFormPreset(TGoBoard& board);

} // namespace karvena
