#pragma once
// TGoIndexModel: the state of the problem index — the lines, paging, selection, the hot line,
// the selected problem's counters — and the thumbnail geometry. It never draws: it asks its
// IIndexView to repaint the whole grid or one line's cell. Plain C++, no Qt.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board/BoardLook.h"
#include "index/IndexLine.h"

namespace karvena {

class IIndexView {
public:
    virtual ~IIndexView() = default;
    // Repaints every cell.
    virtual void RedrawAllCells() = 0;
    // Repaints the cell of line `index` when it is on the page.
    virtual void RedrawLine(int index) = 0;
    // The thumbnail size or the grid changed.
    virtual void IndexGeometryChanged() = 0;
    // How thumbnails look changed (colours, dimming, last-move mark): every picture is redrawn.
    virtual void ThumbnailLookChanged() = 0;
};

class TGoIndexModel;
using TGoIndexEvent = std::function<void(TGoIndexModel& Sender, int nNewNo, int nOldNo, int nKind)>;
using TGoIndexStatisticEvent = std::function<void(TGoIndexModel& Sender, int nKind)>;

// A grid cell, 1-based; {0, 0} is none.
struct TCell {
    int Row = 0;
    int Col = 0;
    friend bool operator==(const TCell&, const TCell&) = default;
};

class TGoIndexModel {
public:
    TGoIndexModel();
    void SetIndexView(IIndexView* view) { m_View = view ? view : &m_NullView; }

    // Events; OnSolved, OnFailed and OnHint exist for the owner but are never fired here.
    TGoIndexEvent OnSelectedChanged, OnHotChanged, OnTopRowChanged, OnGamesChanged;
    // The visible grid changed (nNewNo the rows, nOldNo the old rows): a scroll bar follows it.
    TGoIndexEvent OnGridChanged;
    TGoIndexStatisticEvent OnSolved, OnFailed, OnHint;

    // ---- Lines and paging ----
    // The lines held: every line of a group listed whole; of a group listed from a source, the
    // ones fetched so far (the others are empty). Line() is the one to read.
    const std::vector<std::string>& Games() const { return m_Games; }
    // Takes the lines, clears the selection, fires OnGamesChanged and returns to the first row.
    void SetGames(std::vector<std::string> games);
    // As SetGames for a group whose lines come from `source` a block at a time: `solved` holds
    // each line's solved flag, and its size is the count.
    void SetListing(std::vector<bool> solved, std::shared_ptr<const IIndexLineSource> source);
    // Line `index` (0 <= index < Count), fetched with its block when it is not there yet.
    const std::string& Line(int index) const;
    // How many lines say solved, and each line's flag.
    int SolvedLines() const;
    const std::vector<bool>& SolvedFlags() const { return m_Solved; }
    int Count() const { return static_cast<int>(m_Games.size()); }
    int Rows() const { return m_Rows; }
    int Cols() const { return m_Cols; }
    // Sets the visible grid (the widget does this from its size). The first line shown stays
    // on the page, and TopRow never points past the last row.
    void SetGrid(int rows, int cols);
    // Rows of the whole list: Count / Cols rounded up.
    int RowCount() const { return (Count() + m_Cols - 1) / m_Cols; }
    // Pages of the whole list: Count / (Rows x Cols) rounded up.
    int PageCount() const { return (Count() + m_Rows * m_Cols - 1) / (m_Rows * m_Cols); }
    int TopRow() const { return m_TopRow; }
    // The list row shown first; values below 1 or above RowCount are ignored.
    void SetTopRow(int row);
    // Paging by whole pages: the first row; Rows back (at least to row 1); Rows on while that
    // row exists; the last row.
    void FirstPage();
    void PriorPage();
    void NextPage();
    void LastPage();
    // Moves the first row shown by `rows` (negative: up), kept between 1 and RowCount.
    void ScrollRows(int rows);
    int Selected() const { return m_Selected; }
    // Stepping through the problems from the selected one: the line it goes to, or nullopt
    // when there is none (the first already, the last already, an empty list).
    enum class TStep { First, Prior, Next, Last };
    std::optional<int> StepTarget(TStep step) const;
    // Selects a line (no event); -1 clears; values outside the list are ignored.
    void SetSelected(int index);
    int Hot() const { return m_Hot; }
    // The line under the pointer: frames it and fires OnHotChanged when it changes.
    void SetHot(int index);

    // A click on line `index`: selects it (repainting the old and new cells) and fires
    // OnSelectedChanged, also when it was selected already.
    void ClickLine(int index);

    // The line shown in a grid cell, or -1 for an empty cell.
    int LineAt(TCell cell) const;
    // The grid cell of a line, {0, 0} when it is not on the page.
    TCell CellOf(int index) const;

    // ---- The selected problem's counters ----
    int SolvedCount() const { return m_SolvedCount; }
    // Stores the count and rewrites the selected line's solved flag to match, redrawing its cell.
    void SetSolvedCount(int value);
    int FailedCount = 0, Hint0Count = 0, Hint1Count = 0, Hint2Count = 0;
    int FailedCountBeforeSolve = 0, Hint0CountBeforeSolve = 0, Hint1CountBeforeSolve = 0,
        Hint2CountBeforeSolve = 0, TakebackBeforeSolve = 0, StudyBeforeSolve = 0;

    // ---- Thumbnail look and geometry ----
    int Radius() const { return m_Radius; }
    void SetRadius(int r);
    int Margin() const { return m_Radius; }
    int StarSize() const { return m_Radius >= 6 ? 3 : (m_Radius >= 2 ? m_Radius / 2 : 1); }
    int BoardCols() const { return m_BoardCols; }
    int BoardRows() const { return m_BoardRows; }
    // The cell size: 2 m + (2 r + 1) x BoardCols.
    int BoardWidth() const { return 2 * Margin() + (2 * m_Radius + 1) * m_BoardCols; }
    int BoardHeight() const { return BoardWidth(); }
    // Pixel of thumbnail point (p, q) in grid cell (row, col).
    int PointX(int col, int p) const {
        return (col - 1) * BoardWidth() + Margin() + m_Radius + (2 * m_Radius + 1) * (p - 1);
    }
    int PointY(int row, int q) const {
        return (row - 1) * BoardHeight() + Margin() + m_Radius + (2 * m_Radius + 1) * (q - 1);
    }
    // The grid cell under a pixel, {0, 0} outside the grid.
    TCell CellAtPixel(int x, int y) const;
    // The grid that fits a control: whole columns and whole rows, at least one of each.
    TCell GridForSize(int width, int height) const;

    TColor BoardColor() const { return m_BoardColor; }
    void SetBoardColor(TColor c);
    int BoardColorNum() const { return m_BoardColorNum; }
    void SetBoardColorNum(int v);
    bool Dim3() const { return m_Dim3; }
    void SetDim3(bool v);
    bool DrawLastMove() const { return m_DrawLastMove; }
    void SetDrawLastMove(bool v);
    bool Pal256() const { return m_Pal256; }
    // Low colour: flat stones on the plain button-face colour, as on the board.
    void SetPal256(bool v);
    bool Wood() const { return false; }
    void SetWood(bool) {}
    bool Painting() const { return m_Painting; }
    void SetPainting(bool v) { m_Painting = v; }
    int Turn() const { return m_Turn; }
    int GameKind() const { return m_GameKind; }
    // Kinds 0..4 choose how much of the board a thumbnail shows.
    void SetGameKind(int kind);
    int Language() const { return m_Language; }
    void SetLanguage(int v);
    void SetHint0(const std::string& v) { m_Hints[0] = v; }
    void SetHint1(const std::string& v) { m_Hints[1] = v; }
    void SetHint2(const std::string& v) { m_Hints[2] = v; }
    const std::string& ControlHint() const { return m_Hints[m_Language]; }

private:
    class TNullView : public IIndexView {
        void RedrawAllCells() override {}
        void RedrawLine(int) override {}
        void IndexGeometryChanged() override {}
        void ThumbnailLookChanged() override {}
    };
    TNullView m_NullView;
    IIndexView* m_View = &m_NullView;

    // The lines fetched are kept; a block is fetched once.
    static constexpr int kBlock = 512;
    void ReplaceLines(std::vector<std::string> games, std::vector<bool> solved,
                      std::shared_ptr<const IIndexLineSource> source);
    void FetchBlockOf(int index) const;

    mutable std::vector<std::string> m_Games;
    std::vector<bool> m_Solved;
    std::shared_ptr<const IIndexLineSource> m_Source;
    mutable std::vector<bool> m_BlockFetched;
    int m_Rows = 2, m_Cols = 2, m_TopRow = 1, m_Selected = -1, m_Hot = -1;
    int m_SolvedCount = 0;
    int m_Radius = 5, m_BoardCols = 14, m_BoardRows = 14;
    TColor m_BoardColor = 0x006699;
    int16_t m_BoardColorNum = 1;
    bool m_Dim3 = true, m_DrawLastMove = true, m_Pal256 = false, m_Painting = false;
    int m_Turn = 0, m_GameKind = 0, m_Language = 0;
    std::string m_Hints[3];
};

} // namespace karvena
