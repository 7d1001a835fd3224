#include "solving/TryMode.h"

namespace karvena {

void TTryMode::Start() {
    m_Loop.StopThinking();
    m_Loop.TryMode = true;
    m_Board.SetAllowStudy(true);
    m_Board.SetStudy(true);
    m_Board.ChangeLook([](TBoardLook& look) { look.Wood = true; }); // the sign of a try
    m_Board.SetSingleMode(true);
    m_TryStart = m_Board.Process();
    m_Board.SetGivenProcess(m_TryStart);
    m_TryStartMove = MovesIn(m_TryStart);
}

void TTryMode::Stop() {
    // The tried line may have replaced the given one: replay the record the try began with.
    m_Board.SetGivenProcess(m_TryStart);
    m_Board.GoToMove(m_TryStartMove, true);
    m_Board.SetAllowStudy(false);
    m_Board.SetSingleMode(false);
    m_Board.SetStudy(false);
    m_Board.ChangeLook([](TBoardLook& look) { look.Wood = false; });
    // The problem's line takes moves again unless it had ended before the try.
    m_Board.SetNewMoveEnabled(!m_Loop.LineEnded());
    m_Loop.TryMode = false;
}

bool TTryMode::UndoEnabled() const {
    return m_Board.NextMove() >= 2 && m_Board.Process().size() > m_Loop.Initial().size();
}

bool TTryMode::NextMoveEnabled() const {
    return MovesIn(m_Board.GivenProcess()) >= m_Board.NextMove();
}

void TTryMode::Undo() {
    if (!UndoEnabled()) return;
    // Keep the longer line, so the move can be played again.
    if (m_Board.GivenProcess().size() < m_Board.Process().size())
        m_Board.SetGivenProcess(m_Board.Process());
    m_Board.TakeBack();
}

void TTryMode::NextMove() {
    const int next = m_Board.NextMove();
    if (next < 1 || next > MovesIn(m_Board.GivenProcess())) return;
    const TPoint pt = PointAt(m_Board.GivenProcess(), next - 1);
    m_Board.MakeMove(pt.P, pt.Q, true);
}

void TTryMode::Restart() {
    Stop();
    Start();
}

} // namespace karvena
