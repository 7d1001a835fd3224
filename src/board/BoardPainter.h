#pragma once
// Paints the board component from its model: the static layer (background, board square, grid,
// star points, coordinates, swatches), then every point, the pass spot, the last-move mark and
// the information panel. One painter per paint; the widget decides what to repaint.
#include <QColor>
#include <QPainter>
#include <QStringList>
#include <QRect>

#include "board/Artwork.h"
#include "board/BoardGeometry.h"
#include "board/GoBoard.h"

namespace karvena {

// A 0x00BBGGRR colour as Qt's; system colours (top byte 0xFF) come from the palette.
QColor ToQColor(TColor c, const QColor& buttonFace = QColor(240, 240, 240));

class TBoardPainter {
public:
    TBoardPainter(QPainter& painter, const TGoBoard& board, const TBoardGeometry& geometry,
                  const TArtwork& art, QSize controlSize, QColor controlColor);

    // Everything that intersects `dirty`, in the order of a full repaint.
    void PaintAll(const QRect& dirty);
    // The static layer: background, board square, frame, grid, star points, coordinates, swatches.
    void PaintStatic();
    // One point as the dynamic layer draws it: a stone, or the erased empty point with its marks.
    void PaintPoint(int P, int Q);
    // The pass spot (only shown with DrawLastPass).
    void PaintPassSpot();
    // The red last-move square (not over a number label).
    void PaintLastMove(int P, int Q);
    // The panel: arrow, text lines and the do-not-disturb flag.
    void PaintPanel();
    void PaintArrow();
    void PaintFlag();

    // The rectangle one point's drawing can touch.
    static QRect CellRect(const TBoardGeometry& g, int P, int Q);

private:
    void PaintEmpty(int P, int Q);
    void PaintStone(int P, int Q);
    void PaintMark(int x, int y, int kind, QColor colour);
    void PaintDot(int x, int y, TColor colour);
    // A coordinate label by its top-left corner, `pixels` high.
    void PaintLabel(int left, int top, const QString& text, int pixels);
    // The largest pixel size, from `pixels` down to 6, at which every text fits `room`.
    int FittingPixelSize(const QStringList& texts, int pixels, int room) const;
    void PaintText(int x, int y, const QString& text, int size, QColor colour,
                   const char* family = nullptr);
    void PaintBandText(int left, int top, int bottom, const std::string& text, bool bold = false,
                       QColor colour = Qt::black, int size = 0);
    void PaintClock(int side);
    void PatchBackground(const QRect& r);
    QBrush BoardBrush() const;
    bool IsStarPoint(int P, int Q) const;

    QPainter& m_P;
    const TGoBoard& m_Board;
    const TBoardGeometry& m_G;
    const TArtwork& m_Art;
    QSize m_Size;
    QColor m_Color;
};

} // namespace karvena
