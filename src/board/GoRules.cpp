// The rules of Go: reset to the setup, handicap, chain ids, the move with its capture, suicide
// and ko tests, take-back and replay. Whole-board loops run in scan order: P outer, Q inner.
#include <algorithm>

#include "board/GoBoard.h"

namespace karvena {

namespace {

// Handicap stone k (1..9) at (P, Q).
constexpr std::array<TPoint, 9> kHandicapPoints{
    {{4, 4}, {16, 16}, {4, 16}, {16, 4}, {4, 10}, {16, 10}, {10, 4}, {10, 16}, {10, 10}}};

// Neighbour order of the chain labelling: above, below, left, right.
constexpr std::array<TPoint, 4> kLabelOrder{{{0, -1}, {0, 1}, {-1, 0}, {1, 0}}};

} // namespace

void TGoBoard::NewGame(bool draw) {
    m_Modified = false;
    if (!m_Review) {
        m_Winner = 9;
        m_GameOver = false;
    }
    m_AreaB = 0;
    m_AreaW = 0;
    m_sResult.clear();

    m_NextMove = 1;
    m_LastSide = 0;
    m_LastCaptureCount = 0;
    const bool go = m_GameKind == 0;
    m_LastP = go ? 0 : -1;
    m_LastQ = go ? 0 : -1;

    EmptyGrids();
    m_Process.clear();
    m_Turn = m_FirstToPlay;
    m_Exchanged = false;

    PlaceHandicap(draw);
    PlaceSetup(m_ArrangedSideP, kBlack, draw);
    PlaceSetup(m_ArrangedSideN, kWhite, draw);

    if (!m_NumProc.empty()) TrimNumbers(0);
    m_NumProc.clear();
    m_BaseNum = 1;
    m_NextNumber = 1;
    // Every point and the turn arrow may have changed, even with no setup to place.
    if (draw) {
        m_View->RedrawAll();
        m_View->TurnChanged();
    }
}

void TGoBoard::PlaceHandicap(bool draw) {
    if (m_Handicap < 2 || m_Handicap > 9) {
        m_Turn = m_FirstToPlay;
        return;
    }
    m_Turn = m_FirstToPlayByRule ? kWhite : m_FirstToPlay;
    // 5, 7 and 9 take the stones before them in the table and then the centre point.
    const bool withCentre = m_Handicap > 4 && m_Handicap % 2 == 1;
    const int fromTable = withCentre ? m_Handicap - 1 : m_Handicap;
    for (int k = 1; k <= fromTable; ++k) {
        const TPoint pt = kHandicapPoints[k - 1];
        m_Cell[pt.P][pt.Q] = kBlackStone;
        m_Chain[pt.P][pt.Q] = static_cast<int16_t>(k);
    }
    if (withCentre) {
        m_Cell[10][10] = kBlackStone;
        m_Chain[10][10] = m_Handicap;
    }
    if (draw) m_View->RedrawAll();
}

void TGoBoard::SetHandicap(int8_t v) {
    m_Handicap = v;
    PlaceHandicap(true);
    if (m_GameKind == 0) m_Atone = v > 1 ? 2 * v : (v == 0 ? 11 : 0);
    m_View->RedrawInfo(TInfoElement::Players);
}

void TGoBoard::LabelChain(int side, int P, int Q) {
    int16_t id = 0;
    for (const TPoint d : kLabelOrder) {
        const int8_t cell = m_Cell[P + d.P][Q + d.Q];
        if (IsStone(cell) && SameSide(cell, side)) {
            id = m_Chain[P + d.P][Q + d.Q];
            break;
        }
    }
    if (id == 0) {
        // A new chain takes the smallest id no playing point holds.
        std::array<bool, 362> used{};
        for (int p = 1; p <= m_Columns; ++p)
            for (int q = 1; q <= m_Rows; ++q)
                if (m_Chain[p][q] > 0 && m_Chain[p][q] < 362) used[m_Chain[p][q]] = true;
        for (int16_t k = 1; k <= 361; ++k) {
            if (!used[k]) {
                id = k;
                break;
            }
        }
        // With all 361 ids taken every point holds its own, so the point's own id is unique.
        m_Chain[P][Q] = id != 0 ? id : m_Chain[P][Q];
        return;
    }
    m_Chain[P][Q] = id;
    for (const TPoint d : kLabelOrder) {
        const int8_t cell = m_Cell[P + d.P][Q + d.Q];
        const int16_t other = m_Chain[P + d.P][Q + d.Q];
        if (IsStone(cell) && SameSide(cell, side) && other != id) RenameChain(other, id);
    }
}

void TGoBoard::RenameChain(int16_t from, int16_t to) {
    for (int p = 1; p <= m_Columns; ++p)
        for (int q = 1; q <= m_Rows; ++q)
            if (m_Chain[p][q] == from) m_Chain[p][q] = to;
}

bool TGoBoard::MakeMove(int P, int Q, bool draw) {
    // Only Go is played here; the other kinds' move routines are not part of this program.
    const bool accepted = m_GameKind == 0 && GoMove(P, Q, draw);
    m_Modified = draw && accepted;
    return accepted;
}

void TGoBoard::RecordMove(int P, int Q) {
    const size_t at =
        std::min(m_Process.size(), 2 * static_cast<size_t>(std::max(0, m_NextMove - 1)));
    m_Process.insert(at, PointText(P, Q));
    ++m_NextMove;
    m_LastSide = m_Turn;
    m_LastP = static_cast<int16_t>(P);
    m_LastQ = static_cast<int16_t>(Q);
}

bool TGoBoard::GoMove(int P, int Q, bool draw) {
    const int previousP = m_LastP;
    const int previousQ = m_LastQ;
    const bool previousWasPass = IsPassPoint(previousP, previousQ);

    if (IsPassPoint(P, Q)) {
        if (draw && (IsOnBoard(previousP, previousQ) || previousWasPass))
            m_View->RedrawPoint(previousP, previousQ);
        RecordMove(P, Q);
        m_LastCaptureCount = 0;
        m_Turn = Opponent(m_Turn);
        if (draw) {
            m_View->ShowPass();
            m_View->TurnChanged();
        }
        return true;
    }
    if (!IsOnBoard(P, Q) || IsStone(m_Cell[P][Q])) return false;

    // Put the stone on trial and label it; the copy restores the ids if the move is refused.
    m_Cell[P][Q] = StoneOf(m_Turn);
    const TGrid<int16_t> chainsBefore = m_Chain;
    LabelChain(m_Turn, P, Q);

    // Every chain that touches an empty point has a liberty; the ids say which stones belong
    // together. A stone's colour is its sign: the owner's mark and the dead bit change nothing.
    std::array<bool, 362> free{};
    auto chainOf = [this](int p, int q) {
        const int id = m_Chain[p][q];
        return id >= 0 && id <= 361 ? id : -1;
    };
    for (int p = 1; p <= m_Columns; ++p)
        for (int q = 1; q <= m_Rows; ++q) {
            const int id = chainOf(p, q);
            if (!IsStone(m_Cell[p][q]) || id < 0 || free[id]) continue;
            free[id] = (p > 1 && !IsStone(m_Cell[p - 1][q])) ||
                       (p < m_Columns && !IsStone(m_Cell[p + 1][q])) ||
                       (q > 1 && !IsStone(m_Cell[p][q - 1])) ||
                       (q < m_Rows && !IsStone(m_Cell[p][q + 1]));
        }

    // Captured: every opponent stone whose chain has no liberty, anywhere on the board (a setup
    // may have left a chain without one), in scan order.
    std::vector<TPoint> captured;
    for (int p = 1; p <= m_Columns; ++p)
        for (int q = 1; q <= m_Rows; ++q) {
            const int id = chainOf(p, q);
            if (IsStone(m_Cell[p][q]) && OppositeSides(m_Cell[p][q], m_Turn) && id >= 0 &&
                !free[id])
                captured.push_back({p, q});
        }

    const int ownId = chainOf(P, Q);
    const bool suicide = captured.empty() && ownId >= 0 && !free[ownId];
    // Ko: the single stone that has just captured one stone may not be taken back at once.
    const bool ko = captured.size() == 1 && m_LastCaptureCount == 1 &&
                    captured[0] == TPoint{m_LastP, m_LastQ};
    if (suicide || ko) {
        m_Cell[P][Q] = 0;
        m_Chain = chainsBefore;
        return false;
    }
    CommitMove(P, Q, {previousP, previousQ}, captured, draw);
    return true;
}

void TGoBoard::CommitMove(int P, int Q, TPoint previous, const std::vector<TPoint>& captured,
                          bool draw) {
    if (draw) {
        if (IsOnBoard(previous.P, previous.Q) || IsPassPoint(previous.P, previous.Q))
            m_View->RedrawPoint(previous.P, previous.Q);
    }
    RecordMove(P, Q);
    m_LastCaptureCount = static_cast<int16_t>(captured.size());
    for (const TPoint c : captured) {
        m_Cell[c.P][c.Q] = 0;
        m_Chain[c.P][c.Q] = 0;
        if (draw) m_View->RedrawPoint(c.P, c.Q);
    }
    if (draw) {
        m_View->RedrawPoint(P, Q);
        m_View->MarkLastMove(P, Q);
    }
    m_Turn = Opponent(m_Turn);
    if (draw) m_View->TurnChanged();
}

void TGoBoard::TakeBack() {
    GoToMove(m_NextMove - 2, false);
    m_View->TurnChanged();
}

TGoBoard::TPointLooks TGoBoard::PointLooks() const {
    return {m_Cell, m_NumberLabel, m_LabelColor, m_LetterLabel, m_MarkKind, m_MarkExtra};
}

void TGoBoard::RedrawChangedPoints(const TPointLooks& before) {
    for (int p = 1; p <= m_Columns; ++p)
        for (int q = 1; q <= m_Rows; ++q)
            if (m_Cell[p][q] != before.Cell[p][q] ||
                m_NumberLabel[p][q] != before.NumberLabel[p][q] ||
                m_LabelColor[p][q] != before.LabelColor[p][q] ||
                m_LetterLabel[p][q] != before.LetterLabel[p][q] ||
                m_MarkKind[p][q] != before.MarkKind[p][q] ||
                m_MarkExtra[p][q] != before.MarkExtra[p][q])
                m_View->RedrawPoint(p, q);
}

void TGoBoard::GoToMove(int n, bool fromGiven) {
    const std::string source = fromGiven ? m_GivenProcess : m_Process;
    // The replay resets every grid: hint dots, numbers and marks go too, and are repainted.
    const TPointLooks before = PointLooks();
    const int8_t oldTurn = m_Turn;
    const int oldP = m_LastP;
    const int oldQ = m_LastQ;

    NewGame(false);
    if (n > 0 && n <= MovesIn(source)) {
        for (int k = 0; k < n; ++k) {
            const TPoint pt = PointAt(source, k);
            MakeMove(pt.P, pt.Q, false);
        }
    }

    RedrawChangedPoints(before);
    if (m_Turn != oldTurn) m_View->TurnChanged();
    if (IsOnBoard(oldP, oldQ) && IsStone(m_Cell[oldP][oldQ])) m_View->RedrawPoint(oldP, oldQ);
    if (IsOnBoard(m_LastP, m_LastQ) && IsStone(m_Cell[m_LastP][m_LastQ])) {
        m_View->RedrawPoint(m_LastP, m_LastQ);
        m_View->MarkLastMove(m_LastP, m_LastQ);
    }
}

} // namespace karvena
