#include "index/GoIndexModel.h"

#include <algorithm>

#include "index/IndexLine.h"

namespace karvena {

TGoIndexModel::TGoIndexModel() = default;

void TGoIndexModel::SetGames(std::vector<std::string> games) {
    std::vector<bool> solved(games.size());
    for (size_t i = 0; i < games.size(); ++i)
        solved[i] = LineSaysSolved(games[i]);
    ReplaceLines(std::move(games), std::move(solved), nullptr);
}

void TGoIndexModel::SetListing(std::vector<bool> solved,
                               std::shared_ptr<const IIndexLineSource> source) {
    std::vector<std::string> games(solved.size());
    ReplaceLines(std::move(games), std::move(solved), std::move(source));
}

void TGoIndexModel::ReplaceLines(std::vector<std::string> games, std::vector<bool> solved,
                                 std::shared_ptr<const IIndexLineSource> source) {
    const int oldCount = Count();
    m_Selected = -1;
    m_Games = std::move(games);
    m_Solved = std::move(solved);
    m_Source = std::move(source);
    m_BlockFetched.assign(m_Source ? (m_Games.size() + kBlock - 1) / kBlock : 0, false);
    if (OnGamesChanged) OnGamesChanged(*this, Count(), oldCount, 3);
    if (m_TopRow != 1) {
        const int oldTop = m_TopRow;
        m_TopRow = 1;
        if (OnTopRowChanged) OnTopRowChanged(*this, 1, oldTop, 2);
    }
    m_View->RedrawAllCells();
}

const std::string& TGoIndexModel::Line(int index) const {
    if (m_Source && !m_BlockFetched[static_cast<size_t>(index / kBlock)]) FetchBlockOf(index);
    return m_Games[static_cast<size_t>(index)];
}

void TGoIndexModel::FetchBlockOf(int index) const {
    const int block = index / kBlock;
    m_BlockFetched[static_cast<size_t>(block)] = true; // a store that fails is not asked again
    const int first = block * kBlock;
    std::vector<std::string> lines = m_Source->Lines(first, std::min(kBlock, Count() - first));
    const int fetched = std::min(static_cast<int>(lines.size()), Count() - first);
    for (int i = 0; i < fetched; ++i) {
        std::string& line = m_Games[static_cast<size_t>(first + i)];
        line = std::move(lines[static_cast<size_t>(i)]);
        SetSolvedFlagOf(line, m_Solved[static_cast<size_t>(first + i)]);
    }
}

int TGoIndexModel::SolvedLines() const {
    return static_cast<int>(std::count(m_Solved.begin(), m_Solved.end(), true));
}

void TGoIndexModel::SetGrid(int rows, int cols) {
    rows = std::max(1, rows);
    cols = std::max(1, cols);
    if (rows == m_Rows && cols == m_Cols) return;
    const int oldRows = m_Rows;
    const int firstShown = (m_TopRow - 1) * m_Cols;
    m_Rows = rows;
    m_Cols = cols;
    // The row of the first line shown before, never beyond the last row.
    const int top = std::max(1, std::min(firstShown / m_Cols + 1, RowCount()));
    if (top != m_TopRow) {
        const int oldTop = m_TopRow;
        m_TopRow = top;
        if (OnTopRowChanged) OnTopRowChanged(*this, top, oldTop, 2);
    }
    if (OnGridChanged) OnGridChanged(*this, rows, oldRows, 4);
    m_View->RedrawAllCells();
}

void TGoIndexModel::SetTopRow(int row) {
    if (row == m_TopRow || row > RowCount() || row < 1) return;
    const int old = m_TopRow;
    m_TopRow = row;
    if (OnTopRowChanged) OnTopRowChanged(*this, row, old, 2);
    m_View->RedrawAllCells();
}

void TGoIndexModel::FirstPage() {
    SetTopRow(1);
}

void TGoIndexModel::PriorPage() {
    SetTopRow(std::max(1, m_TopRow - m_Rows));
}

void TGoIndexModel::NextPage() {
    // The next page starts at a row that exists, the last row included.
    if (m_TopRow + m_Rows <= RowCount()) SetTopRow(m_TopRow + m_Rows);
}

void TGoIndexModel::LastPage() {
    SetTopRow(RowCount());
}

std::optional<int> TGoIndexModel::StepTarget(TStep step) const {
    const int last = Count() - 1;
    switch (step) {
    case TStep::First:
        if (m_Selected > 0) return 0;
        break;
    case TStep::Prior:
        if (m_Selected > 0) return m_Selected - 1;
        break;
    case TStep::Next:
        if (m_Selected < last) return m_Selected + 1;
        break;
    case TStep::Last:
        if (m_Selected < last) return last;
        break;
    }
    return std::nullopt;
}

void TGoIndexModel::ScrollRows(int rows) {
    SetTopRow(std::clamp(m_TopRow + rows, 1, std::max(1, RowCount())));
}

void TGoIndexModel::SetSelected(int index) {
    if (index == m_Selected) return;
    if (index != -1 && (index < 0 || index >= Count())) return;
    m_Selected = index;
    m_View->RedrawAllCells();
}

void TGoIndexModel::SetHot(int index) {
    if (index == m_Hot) return;
    const int old = m_Hot;
    m_Hot = index;
    if (old >= 0) m_View->RedrawLine(old);
    if (index >= 0) m_View->RedrawLine(index);
    if (OnHotChanged) OnHotChanged(*this, index, old, 1);
}

void TGoIndexModel::ClickLine(int index) {
    if (index < 0 || index >= Count()) return;
    const int previous = m_Selected;
    if (index != previous) {
        m_Selected = index;
        if (previous >= 0) m_View->RedrawLine(previous);
        m_View->RedrawLine(index);
    }
    if (OnSelectedChanged) OnSelectedChanged(*this, index, previous, 0);
}

int TGoIndexModel::LineAt(TCell cell) const {
    if (cell.Row < 1 || cell.Col < 1 || cell.Row > m_Rows || cell.Col > m_Cols) return -1;
    const long index = static_cast<long>(m_TopRow + cell.Row - 2) * m_Cols + (cell.Col - 1);
    return index >= 0 && index < Count() ? static_cast<int>(index) : -1;
}

TCell TGoIndexModel::CellOf(int index) const {
    if (index < 0) return {};
    const int row = index / m_Cols - m_TopRow + 2;
    if (row < 1 || row > m_Rows) return {};
    return {row, index % m_Cols + 1};
}

void TGoIndexModel::SetSolvedCount(int value) {
    if (m_Selected < 0 || m_Selected >= Count() || value == m_SolvedCount) return;
    m_SolvedCount = value;
    const bool solved = value > 0;
    const bool changed = m_Solved[static_cast<size_t>(m_Selected)] != solved;
    m_Solved[static_cast<size_t>(m_Selected)] = solved;
    if (SetSolvedFlagOf(m_Games[static_cast<size_t>(m_Selected)], solved) || changed)
        m_View->RedrawLine(m_Selected);
}

void TGoIndexModel::SetRadius(int r) {
    m_Radius = std::max(1, r);
    m_View->IndexGeometryChanged();
}

TCell TGoIndexModel::CellAtPixel(int x, int y) const {
    if (x < 0 || y < 0) return {};
    return {y / BoardHeight() + 1, x / BoardWidth() + 1};
}

TCell TGoIndexModel::GridForSize(int width, int height) const {
    // A page is the rows that show whole: a row cut off at the bottom is never counted, or paging
    // would step past it and its problems would never be seen whole.
    return {std::max(1, height / BoardHeight()), std::max(1, width / BoardWidth())};
}

void TGoIndexModel::SetBoardColor(TColor c) {
    if (c == kColorBlack || c == kColorWhite || c == m_BoardColor) return;
    m_BoardColor = c;
    m_View->ThumbnailLookChanged();
}

void TGoIndexModel::SetBoardColorNum(int v) {
    if (v < 0 || v > 6 || v == m_BoardColorNum) return;
    m_BoardColorNum = static_cast<int16_t>(v);
    m_View->ThumbnailLookChanged();
}

void TGoIndexModel::SetDim3(bool v) {
    m_Dim3 = v;
    m_View->ThumbnailLookChanged();
}

void TGoIndexModel::SetDrawLastMove(bool v) {
    m_DrawLastMove = v;
    m_View->ThumbnailLookChanged();
}

void TGoIndexModel::SetPal256(bool v) {
    m_Pal256 = v;
    if (v) ToLowColour(m_BoardColor, m_BoardColorNum, m_Dim3, m_Painting);
    m_View->ThumbnailLookChanged();
}

void TGoIndexModel::SetGameKind(int kind) {
    if (kind < 0 || kind > 4 || kind == m_GameKind) return;
    static constexpr int kCols[5] = {19, 9, 8, 15, 5};
    m_GameKind = kind;
    m_BoardCols = kCols[kind];
    m_BoardRows = kind == 1 ? 10 : (kind == 4 ? 12 : m_BoardCols);
    m_View->IndexGeometryChanged();
}

void TGoIndexModel::SetLanguage(int v) {
    if (v < 0 || v > 2) return;
    m_Language = v;
}

} // namespace karvena
