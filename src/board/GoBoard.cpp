// TGoBoard: construction, grid access, the notation setters and the plain property setters.
// The rules live in GoRules.cpp, the click table in GoClick.cpp, the record string in
// ManualString.cpp and counting in Judge.cpp.
#include "board/GoBoard.h"

namespace karvena {

namespace {

struct TKindInfo {
    int columns;
    int rows;
    const char* fileName;
};

constexpr std::array<TKindInfo, 5> kKinds{{
    {19, 19, "GoGames.GOG"},
    {9, 10, "CChessGames.CCH"},
    {8, 8, "ChessGames.CHG"},
    {15, 15, "WuziGames.WZG"},
    {5, 12, "JunqiGames.JQG"},
}};

} // namespace

TGoBoard::TGoBoard() {
    EmptyGrids();
    PlaceHandicap(false);
    NewGame(false);
}

void TGoBoard::EmptyGrids() {
    for (int p = 0; p < kGridSize; ++p) {
        for (int q = 0; q < kGridSize; ++q) {
            m_Cell[p][q] = 0;
            m_Chain[p][q] = 0;
            m_NumberLabel[p][q] = 0;
            m_LabelColor[p][q] = 0;
            m_Shaded[p][q] = false;
            m_LetterLabel[p][q] = ' ';
            m_MarkKind[p][q] = 0;
            m_MarkExtra[p][q] = 0;
        }
    }
}

// ---- Grid access ----

bool TGoBoard::IsOnBoard(int P, int Q) const {
    if (m_GameKind == 0 || m_GameKind == 3)
        return P >= 1 && P <= m_Columns && Q >= 1 && Q <= m_Rows;
    return P >= 0 && P < m_Columns && Q >= 0 && Q < m_Rows;
}

bool TGoBoard::IsPassPoint(int P, int Q) const {
    if (m_GameKind == 0 || m_GameKind == 3) return P == kPassCoord && Q == kPassCoord;
    return P == 90;
}

bool TGoBoard::IsPassString(const std::string& s) const {
    if (m_GameKind == 0 || m_GameKind == 3) return s == "TT";
    return !s.empty() && LetterToCoord(s[0], m_GameKind) == 90;
}

int8_t TGoBoard::GetCell(int P, int Q) const {
    return InGrid(P, Q) ? m_Cell[P][Q] : 0;
}

void TGoBoard::SetCell(int P, int Q, int8_t v) {
    if (InGrid(P, Q) && m_Cell[P][Q] != v) {
        m_Cell[P][Q] = v;
    }
}

int16_t TGoBoard::ChainId(int P, int Q) const {
    return InGrid(P, Q) ? m_Chain[P][Q] : 0;
}

void TGoBoard::SetLetterLabel(int P, int Q, char c) {
    if (!InGrid(P, Q) || m_LetterLabel[P][Q] == c) return;
    m_LetterLabel[P][Q] = c;
    m_View->RedrawPoint(P, Q);
}

void TGoBoard::SetMarkKind(int P, int Q, int32_t kind) {
    if (!InGrid(P, Q) || m_MarkKind[P][Q] == kind) return;
    m_MarkKind[P][Q] = kind;
    m_View->RedrawPoint(P, Q);
}

void TGoBoard::SetMarkExtra(int P, int Q, int32_t extra) {
    if (!InGrid(P, Q) || m_MarkExtra[P][Q] == extra) return;
    m_MarkExtra[P][Q] = extra;
    m_View->RedrawPoint(P, Q);
}

// ---- Setup strings ----

void TGoBoard::RemoveSetup(const std::string& points) {
    if (points.empty() || points.size() % 2 != 0) return;
    for (int k = 0; k < MovesIn(points); ++k) {
        const TPoint pt = PointAt(points, k);
        if (IsOnBoard(pt.P, pt.Q)) m_Cell[pt.P][pt.Q] = 0;
    }
}

void TGoBoard::PlaceSetup(const std::string& points, int side, bool draw) {
    // Setup stones exist for Go and five-in-a-row only; an odd length is stored but not read.
    if (m_GameKind != 0 && m_GameKind != 3) return;
    if (points.empty() || points.size() % 2 != 0) return;
    for (int k = 0; k < MovesIn(points); ++k) {
        const TPoint pt = PointAt(points, k);
        if (!IsOnBoard(pt.P, pt.Q)) continue;
        m_Cell[pt.P][pt.Q] = StoneOf(side);
        LabelChain(side, pt.P, pt.Q);
    }
    if (draw) m_View->RedrawAll();
}

void TGoBoard::SetArrangedSideP(const std::string& value) {
    RemoveSetup(m_ArrangedSideP);
    m_ArrangedSideP = value;
    PlaceSetup(m_ArrangedSideP, kBlack, false);
    m_View->RedrawAll();
}

void TGoBoard::SetArrangedSideN(const std::string& value) {
    RemoveSetup(m_ArrangedSideN);
    m_ArrangedSideN = value;
    PlaceSetup(m_ArrangedSideN, kWhite, false);
    m_View->RedrawAll();
}

void TGoBoard::SetInitialProc(const std::string& value) {
    if (value == m_InitialProc) return;
    m_InitialProc = value;
    const auto space = value.find(' ');
    if (space == std::string::npos) {
        SetArrangedSideP(value);
        SetArrangedSideN("");
    } else {
        SetArrangedSideP(value.substr(0, space));
        SetArrangedSideN(value.substr(space + 1));
    }
}

// ---- Process ----

void TGoBoard::SetProcess(const std::string& value) {
    if (value == m_Process) return;
    if (value.size() % 2 != 0) return;
    const bool oneMoreMove = !m_Process.empty() && value.size() == m_Process.size() + 2 &&
                             value.compare(0, m_Process.size(), m_Process) == 0;
    if (oneMoreMove) {
        const TPoint pt = PointAt(value, MovesIn(value) - 1);
        if (IsOnBoard(pt.P, pt.Q) || IsPassPoint(pt.P, pt.Q)) MakeMove(pt.P, pt.Q, true);
        return;
    }
    m_Process = value;
    GoToMove(MovesIn(value), false);
}

// ---- Numbering ----

void TGoBoard::SetBaseNum(int16_t value) {
    if (value == m_BaseNum) return;
    m_BaseNum = value;
    m_NextNumber = value;
}

void TGoBoard::TrimNumbers(int k) {
    const int count = MovesIn(m_NumProc);
    for (int i = count - 1; i >= k && i >= 0; --i) {
        const TPoint pt = PointAt(m_NumProc, i);
        if (IsOnBoard(pt.P, pt.Q)) {
            m_NumberLabel[pt.P][pt.Q] = 0;
            m_View->RedrawPoint(pt.P, pt.Q);
        }
        --m_NextNumber;
    }
    if (k <= 0) {
        m_NumProc.clear();
    } else if (k < count) {
        m_NumProc.resize(2 * static_cast<size_t>(k));
    }
}

void TGoBoard::SetNumProc(const std::string& value) {
    if (value == m_NumProc) return;
    const int n = MovesIn(value);
    const int m = MovesIn(m_NumProc);
    // Going back to the numbering base resets the board, which would also restart the
    // numbering base at 1; the base belongs to the caller, so it is kept.
    const int16_t base = m_BaseNum;
    auto labelMove = [this](int k, const TPoint& pt) {
        if (!IsOnBoard(pt.P, pt.Q)) return;
        m_NumberLabel[pt.P][pt.Q] = k;
        m_View->RedrawPoint(pt.P, pt.Q);
    };
    if (value.empty()) {
        TrimNumbers(0);
    } else if (m_NumProc.compare(0, value.size(), value) == 0 && m_NumProc.size() > value.size()) {
        GoToMove(base - 1, false);
        m_BaseNum = base;
        m_NextNumber = base;
        for (int k = 1; k <= n; ++k) {
            const TPoint pt = PointAt(value, k - 1);
            if (MakeMove(pt.P, pt.Q, true)) labelMove(k, pt);
        }
    } else if (value.compare(0, m_NumProc.size(), m_NumProc) == 0) {
        for (int k = m + 1; k <= n; ++k) {
            const TPoint pt = PointAt(value, k - 1);
            if (MakeMove(pt.P, pt.Q, true)) labelMove(k, pt);
        }
    } else {
        TrimNumbers(0);
        if (MovesIn(m_Process) >= base - 1) {
            GoToMove(base - 1, false);
            m_BaseNum = base;
            m_NextNumber = base;
            for (int k = 1; k <= n; ++k) {
                const TPoint pt = PointAt(value, k - 1);
                if (MakeMove(pt.P, pt.Q, false)) labelMove(k, pt);
            }
        }
    }
    m_NumProc = value;
}

void TGoBoard::NumberPoints(const std::string& s, int first) {
    for (int i = 0; i < MovesIn(s); ++i) {
        const TPoint pt = PointAt(s, i);
        if (!IsOnBoard(pt.P, pt.Q)) continue;
        m_NumberLabel[pt.P][pt.Q] = first + i;
        m_View->RedrawPoint(pt.P, pt.Q);
    }
}

void TGoBoard::MarkPoints(const std::string& s, uint32_t colour) {
    for (int i = 0; i < MovesIn(s); ++i) {
        const TPoint pt = PointAt(s, i);
        if (IsOnBoard(pt.P, pt.Q)) SetLabelColor(pt.P, pt.Q, colour);
    }
}

void TGoBoard::ClearMarks() {
    for (int p = 0; p < kGridSize; ++p) {
        for (int q = 0; q < kGridSize; ++q) {
            if (m_LabelColor[p][q] == 0 && !m_Shaded[p][q]) continue;
            m_LabelColor[p][q] = 0;
            m_Shaded[p][q] = false;
            m_View->RedrawPoint(p, q);
        }
    }
}

void TGoBoard::ShadePoints(const std::string& s) {
    for (int i = 0; i < MovesIn(s); ++i) {
        const TPoint pt = PointAt(s, i);
        if (!IsOnBoard(pt.P, pt.Q) || m_Shaded[pt.P][pt.Q]) continue;
        m_Shaded[pt.P][pt.Q] = true;
        m_View->RedrawPoint(pt.P, pt.Q);
    }
}

void TGoBoard::SetLabelColor(int P, int Q, uint32_t colour) {
    if (!InGrid(P, Q) || m_LabelColor[P][Q] == colour) return;
    m_LabelColor[P][Q] = colour;
    m_View->RedrawPoint(P, Q);
}

void TGoBoard::SetNumberLabel(int P, int Q, int32_t n) {
    if (!InGrid(P, Q) || m_NumberLabel[P][Q] == n) return;
    m_NumberLabel[P][Q] = n;
    m_View->RedrawPoint(P, Q);
}

// ---- Plain setters with a redraw ----

void TGoBoard::SetTurn(int8_t v) {
    if (v == m_Turn) return;
    m_Turn = v;
    m_View->TurnChanged();
}

void TGoBoard::SetWinner(int8_t v) {
    if (v == m_Winner) return;
    m_Winner = v;
    m_View->RedrawInfo(TInfoElement::Result);
}

void TGoBoard::SetPlayerName(int side, const std::string& v) {
    m_PlayerName[side & 1] = v;
    m_View->RedrawInfo(TInfoElement::Players);
}

void TGoBoard::SetPlayerRank(int side, int16_t v) {
    m_PlayerRank[side & 1] = v;
    m_View->RedrawInfo(TInfoElement::Players);
}

void TGoBoard::SetTimeLimit(int32_t v) {
    m_TimeLimit = v;
    m_ClockSeconds = {v, v};
    m_View->RedrawInfo(TInfoElement::Clocks);
}

void TGoBoard::SetMoveLimit(int16_t v) {
    m_MoveLimit = v;
    m_MovesLeft = {v, v};
    m_View->RedrawInfo(TInfoElement::Clocks);
}

void TGoBoard::SetEvent(const std::string& v) {
    if (v == m_Event) return;
    m_Event = v;
    m_View->RedrawInfo(TInfoElement::Event);
}

void TGoBoard::SetFee(int32_t v) {
    if (v == m_Fee) return;
    m_Fee = v;
    m_View->RedrawInfo(TInfoElement::Fee);
}

void TGoBoard::SetNotBother(bool v) {
    if (v == m_NotBother) return;
    m_NotBother = v;
    m_View->RedrawInfo(TInfoElement::NotBother);
}

void TGoBoard::SetHint(int16_t pos, const std::string& text) {
    if (pos == m_HintPos && text == m_HintStr) return;
    m_HintPos = pos;
    m_HintStr = text;
    m_View->RedrawInfo(TInfoElement::Hint);
}

void TGoBoard::SetGameKind(int16_t v) {
    if (v < 0 || v > 4 || v == m_GameKind) return;
    m_GameKind = v;
    m_Columns = kKinds[v].columns;
    m_Rows = kKinds[v].rows;
    m_FileName = kKinds[v].fileName;
    for (auto& column : m_Cell)
        column.fill(0);
    m_View->LookChanged(true);
    NewGame(true);
}

void TGoBoard::SetGoLines(int lines) {
    if (m_GameKind != 0 || lines < 7 || lines > 19 || lines == m_Rows) return;
    m_Columns = m_Rows = lines;
    EmptyGrids();
    m_View->LookChanged(true);
    NewGame(true);
}

void TGoBoard::SetLanguage(int8_t v) {
    if (v < 0 || v > 2 || v == m_Language) return;
    m_Language = v;
    m_ControlHint = m_Hints[v];
    RedrawControl();
}

void TGoBoard::RedrawControl() {
    m_View->RedrawAll();
    for (const TInfoElement e : {TInfoElement::Turn, TInfoElement::Players, TInfoElement::Result,
                                 TInfoElement::NotBother, TInfoElement::Hint})
        m_View->RedrawInfo(e);
}

std::string TGoBoard::LocalText(std::string text) const {
    // The event takes its sender as the board it came from; the handler converts text only.
    if (m_Language == 1 && OnToBig5) OnToBig5(const_cast<TGoBoard&>(*this), text);
    return text;
}

void ApplyMainFormPreset(TGoBoard& board) {
    board.ChangeLook([](TBoardLook& look) {
        look.AbcFontSize = 10;
        look.BoardColor = 2724550;
        look.BoardColorNum = 2;
        look.Radius = 7;
        look.Painting = false;
        look.Coordinate = 16;
        look.DisplayInfo = 0;
        look.DisplayWidth = 32;
    });
    board.SetSingleMode(false);
    board.SetManualString("02QmvGame0 2007/02/01-11:15:54 0   15 0 0 0 0 0 0 0 0 9 ");
}

} // namespace karvena
