#include "index/GoIndex.h"

#include <QMouseEvent>
#include <algorithm>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "board/Artwork.h"
#include "board/BoardGeometry.h"
#include "board/BoardPainter.h"
#include "index/IndexLine.h"

namespace karvena {

namespace {
// More cached thumbnails than a few large pages are dropped, so paging through a big level
// group keeps memory flat.
constexpr size_t kCacheLimit = 256;
} // namespace

TGoIndex::TGoIndex(QWidget* parent) : QWidget(parent) {
    SetIndexView(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(462, 462);
    IndexGeometryChanged();
}

QRect TGoIndex::CellRect(TCell cell) const {
    return QRect((cell.Col - 1) * BoardWidth(), (cell.Row - 1) * BoardHeight(), BoardWidth(),
                 BoardHeight());
}

void TGoIndex::RedrawAllCells() {
    update();
}

void TGoIndex::RedrawLine(int index) {
    const TCell cell = CellOf(index);
    if (cell.Row) update(CellRect(cell));
}

void TGoIndex::IndexGeometryChanged() {
    m_Cache.clear();
    const TCell grid = GridForSize(width(), height());
    SetGrid(grid.Row, grid.Col);
    update();
}

void TGoIndex::ThumbnailLookChanged() {
    m_Cache.clear();
    update();
}

void TGoIndex::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const TCell grid = GridForSize(width(), height());
    SetGrid(grid.Row, grid.Col);
}

void TGoIndex::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Window));
    for (int row = 1; row <= Rows(); ++row) {
        for (int col = 1; col <= Cols(); ++col) {
            const QRect cell = CellRect({row, col});
            if (!cell.intersects(event->rect())) continue;
            const int index = LineAt({row, col});
            // A cell past the end of the list shows only the background.
            if (index < 0) continue;
            p.drawPixmap(cell.topLeft(), Thumbnail(index));
            if (index >= 0 && index == Hot()) {
                const int m = Margin();
                p.setPen(QColor(255, 0, 0));
                p.setBrush(Qt::NoBrush);
                p.drawRect(cell.adjusted(m, m, -1, -1));
            }
        }
    }
}

const QPixmap& TGoIndex::Thumbnail(int index) {
    const std::string& line = Line(index);
    const bool selected = index == Selected();
    const bool failed = FailedUnsolved && FailedUnsolved(index);
    auto found = m_Cache.find(index);
    if (found != m_Cache.end() && found->second.Line == line && found->second.Selected == selected &&
        found->second.Failed == failed)
        return found->second.Picture;
    if (m_Cache.size() >= kCacheLimit) m_Cache.clear();
    TCached& slot = m_Cache[index];
    slot = {line, selected, failed, DrawThumbnail(index, failed)};
    return slot.Picture;
}

QPixmap TGoIndex::DrawThumbnail(int index, bool failed) const {
    ++const_cast<TGoIndex*>(this)->m_Drawn;
    const qreal dpr = devicePixelRatioF();
    const TArtwork& art = TArtwork::For(dpr);
    const int size = BoardWidth();
    const int r = Radius();
    const int m = Margin();
    const int step = 2 * r + 1;
    QPixmap picture(QSize(size, size) * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(palette().color(QPalette::Window));
    QPainter p(&picture);

    // Coordinates inside the picture: the cell's origin is (0, 0).
    auto x = [&](int col) { return m + r + step * (col - 1); };
    auto y = [&](int row) { return m + r + step * (row - 1); };
    const bool selected = index >= 0 && index == Selected();
    const QRect area(m, m, size - m, size - m);
    if (selected || BoardColorNum() != 1)
        p.fillRect(area, ToQColor(BoardColor()));
    else
        p.fillRect(area, QBrush(art.Pattern()));

    // The lines run on past the last one shown: a corner cut out of a larger board. A board
    // small enough to be shown whole ends at its own edge.
    const TIndexLine line = index >= 0 ? ParseIndexLine(Line(index)) : TIndexLine{};
    const int cols = std::min(BoardCols(), line.Lines), rows = std::min(BoardRows(), line.Lines);
    const int runCols = cols < line.Lines ? step * cols - r / 2 : step * (cols - 1);
    const int runRows = rows < line.Lines ? step * rows - r / 2 : step * (rows - 1);
    p.setPen(Qt::black);
    for (int col = 1; col <= cols; ++col)
        p.drawLine(x(col), y(1), x(col), y(1) + runRows);
    for (int row = 1; row <= rows; ++row)
        p.drawLine(x(1), y(row), x(1) + runCols, y(row));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::black);
    const int s = StarSize();
    for (int col : StarLines(line.Lines))
        for (int row : StarLines(line.Lines))
            if (col <= cols && row <= rows)
                p.drawEllipse(QRectF(x(col) - s + 0.5, y(row) - s + 0.5, 2 * s, 2 * s));

    // The position number.
    p.setPen(QColor(0, 0, 255));
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRect(size - 32, size - 22, 32, 20), Qt::AlignLeft | Qt::AlignTop,
               QString::number(index + 1));

    if (index >= 0) {
        const TThumbnailStones stones = StonesOf(line);
        auto shown = [&](const TPoint& pt) {
            return pt.P >= 1 && pt.P <= cols && pt.Q >= 1 && pt.Q <= rows;
        };
        auto drawStones = [&](const std::string& list, int colour) {
            for (int k = 0; k < MovesIn(list); ++k) {
                const TPoint pt = PointAt(list, k);
                if (!shown(pt)) continue;
                if (Dim3()) {
                    p.drawPixmap(x(pt.P) - r, y(pt.Q) - r, art.Stone(colour, r));
                } else {
                    p.setPen(Qt::black);
                    p.setBrush(colour == 0 ? Qt::black : Qt::white);
                    p.drawEllipse(QRectF(x(pt.P) - r + 0.5, y(pt.Q) - r + 0.5, 2 * r, 2 * r));
                }
            }
        };
        drawStones(stones.Black, 0);
        drawStones(stones.White, 1);
        if (DrawLastMove() && stones.LastMove && shown(*stones.LastMove)) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(Qt::black);
            p.setBrush(QColor(255, 0, 0));
            p.drawRect(x(stones.LastMove->P) - s, y(stones.LastMove->Q) - s, 2 * s, 2 * s);
        }
        if (line.FlagA()) p.drawPixmap(size - m - 24, m + 4, art.FlagA());
        if (line.Solved())
            p.drawPixmap(size - m - 24, m + 34, art.SolvedMark());
        else if (failed)
            p.drawPixmap(size - m - 24, m + 34, art.FailedMark());
        // Who plays: a small stone in the lower left corner.
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(WhiteToPlay(line) ? Qt::white : Qt::black);
        p.drawEllipse(QRectF(m + 4.5, size - 16.5, 11, 11));
    }
    p.end();
    return picture;
}

void TGoIndex::mousePressEvent(QMouseEvent* event) {
    m_PressedCell = CellAtPixel(event->position().x(), event->position().y());
    QWidget::mousePressEvent(event);
}

void TGoIndex::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const TCell cell = CellAtPixel(event->position().x(), event->position().y());
        const int index = LineAt(cell);
        if (cell == m_PressedCell && index >= 0) ClickLine(index);
    }
    QWidget::mouseReleaseEvent(event);
}

void TGoIndex::wheelEvent(QWheelEvent* event) {
    // A notch (120 eighths of a degree) is a row; a touchpad's smaller steps add up to one.
    m_WheelAngle += event->angleDelta().y();
    const int rows = m_WheelAngle / 120;
    m_WheelAngle -= rows * 120;
    if (rows != 0) ScrollRows(-rows);
    event->accept();
}

bool TGoIndex::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = LineAt(CellAtPixel(help->pos().x(), help->pos().y()));
    const QString tip = index >= 0 && ToolTipOf ? ToolTipOf(index) : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
}

void TGoIndex::mouseMoveEvent(QMouseEvent* event) {
    const int index = LineAt(CellAtPixel(event->position().x(), event->position().y()));
    // Leaving the lines keeps the hot line; only another line takes its place.
    if (index >= 0) SetHot(index);
    setCursor(index >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

} // namespace karvena
