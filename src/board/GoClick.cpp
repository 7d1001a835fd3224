// What a click on the board does. The rows are tried in order and the first that matches acts;
// the right button only ever places white setup stones.
#include "board/GoBoard.h"

namespace karvena {

bool TGoBoard::IsUsersTurn() const {
    const int8_t usersColour = m_SelfSide == 0 ? kBlack : kWhite;
    return SameSide(m_Turn, usersColour);
}

TClickResult TGoBoard::Click(int P, int Q, TMouseButton button, int pressedP, int pressedQ) {
    if (!IsOnBoard(P, Q)) return TClickResult::Nothing;
    const bool empty = !IsStone(m_Cell[P][Q]);

    // Setup mode: left places a stone of the side to move, right a white stone.
    if (m_Mode == 1 && empty) {
        if (button == TMouseButton::Left && (pressedP != P || pressedQ != Q))
            return TClickResult::Nothing;
        const int side = button == TMouseButton::Right ? kWhite : m_Turn;
        (side > 0 ? m_ArrangedSideP : m_ArrangedSideN) += PointText(P, Q);
        m_Cell[P][Q] = StoneOf(side);
        LabelChain(side, P, Q);
        m_View->RedrawPoint(P, Q);
        return TClickResult::SetupStone;
    }
    if (button != TMouseButton::Left || pressedP != P || pressedQ != Q)
        return TClickResult::Nothing;

    if (m_Mode == 0 && m_Review && !m_Study) return TClickResult::Nothing;
    if (m_Mode == 0 && m_Review && m_Study && empty) {
        // Review with numbering: every move is numbered, either side may move.
        ClearHint();
        if (!MakeMove(P, Q, true)) return TClickResult::RefusedMove;
        m_NumProc += PointText(P, Q);
        m_NumberLabel[P][Q] = MovesIn(m_NumProc);
        ++m_NextNumber;
        m_View->RedrawPoint(P, Q);
        if (OnLegalMove) OnLegalMove(*this, P, Q, 0, 0, m_Review);
        return TClickResult::NumberedMove;
    }
    if (m_Mode == 0 && !m_Review && m_Winner <= 2) return TClickResult::Nothing;
    if (m_GameOver) {
        ToggleDead(P, Q);
        return TClickResult::DeadMarking;
    }
    const bool usersMove = m_SingleMode || IsUsersTurn();
    if (empty) {
        if (!m_NewMoveEnabled || !usersMove) return TClickResult::Nothing;
        ClearHint();
        if (!MakeMove(P, Q, true)) return TClickResult::RefusedMove;
        if (OnLegalMove) OnLegalMove(*this, P, Q, 0, 0, m_Review);
        return TClickResult::Move;
    }
    if (usersMove) {
        ClearHint();
        if (OnClickAtOpponentsTurn) OnClickAtOpponentsTurn(*this, P, Q);
        return TClickResult::ClickAtOpponentsTurn;
    }
    // The opponent is to move: a click on the last move's stone may ask to take it back.
    if (!m_Process.empty() && m_Process.size() >= 2 &&
        PointAt(m_Process, MovesIn(m_Process) - 1) == TPoint{P, Q}) {
        ClearHint();
        if (OnLastMoveClick) OnLastMoveClick(*this, P, Q);
        return TClickResult::LastMoveClick;
    }
    return TClickResult::Nothing;
}

} // namespace karvena
