#pragma once
// TGoIndex: the problem index on screen, a paged grid of board thumbnails. It is the index model
// (lines, paging, selection, counters), paints the visible cells, and turns the pointer into the
// hot frame and selection clicks. Each line's thumbnail is drawn once and reused.
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <unordered_map>

#include "index/GoIndexModel.h"

namespace karvena {

class TGoIndex : public QWidget, public TGoIndexModel, private IIndexView {
    Q_OBJECT
public:
    explicit TGoIndex(QWidget* parent = nullptr);

    // The pixel rectangle of a grid cell (its drawn area starts m pixels in).
    QRect CellRect(TCell cell) const;
    // How many thumbnails were drawn (not taken from the cache) since the widget was made.
    int ThumbnailsDrawn() const { return m_Drawn; }
    // Whether the problem of a line failed and is not yet solved (its thumbnail is marked).
    std::function<bool(int index)> FailedUnsolved;
    // The tool-tip of a line's thumbnail (empty: none).
    std::function<QString(int index)> ToolTipOf;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    void RedrawAllCells() override;
    void RedrawLine(int index) override;
    void IndexGeometryChanged() override;
    void ThumbnailLookChanged() override;

    // The thumbnail of line `index`, from the cache when still valid.
    const QPixmap& Thumbnail(int index);
    QPixmap DrawThumbnail(int index, bool failed) const;

    struct TCached {
        std::string Line;
        bool Selected = false;
        bool Failed = false;
        QPixmap Picture;
    };
    std::unordered_map<int, TCached> m_Cache;
    TCell m_PressedCell;
    int m_WheelAngle = 0;
    int m_Drawn = 0;
};

} // namespace karvena
