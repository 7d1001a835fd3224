#pragma once
// TGoGame: the board component on screen. It is the board model (every property and event of
// TGoBoard is its own), paints it, and turns the pointer into clicks and hover feedback.
// Repaints are requested cell by cell through the board-view interface.
#include <QWidget>
#include <functional>

#include "board/BoardGeometry.h"
#include "board/GoBoard.h"

namespace karvena {

class TGoGame : public QWidget, public TGoBoard, private IBoardView {
    Q_OBJECT
public:
    explicit TGoGame(QWidget* parent = nullptr);

    // The owner's pointer handlers, run in the order the board promises: OnMouseDown after the
    // press is recorded, OnMouseUp after any move and OnLegalMove, OnMouseMove before the hover.
    std::function<void(TGoGame&Sender, QMouseEvent*event)> OnMouseDown, OnMouseUp, OnMouseMove;
    // Runs after every resize, once the radius has been fitted.
    std::function<void(TGoGame& Sender)> OnResize;

    // ---- Drawing properties (setters store a changed value and repaint what it affects) ----
    bool NoBoard() const { return Look().NoBoard; }
    void SetNoBoard(bool v);
    bool Pal256() const { return Look().Pal256; }
    void SetPal256(bool v);
    int32_t AbcFontSize() const { return Look().AbcFontSize; }
    void SetAbcFontSize(int32_t v);
    TColor BoardColor() const { return Look().BoardColor; }
    void SetBoardColor(TColor v);
    int16_t BoardColorNum() const { return Look().BoardColorNum; }
    void SetBoardColorNum(int16_t v);
    bool Dim3() const { return Look().Dim3; }
    void SetDim3(bool v);
    int16_t Radius() const { return Look().Radius; }
    void SetRadius(int16_t v);
    bool Wood() const { return Look().Wood; }
    void SetWood(bool v);
    bool Painting() const { return Look().Painting; }
    void SetPainting(bool v);
    int16_t Coordinate() const { return Look().Coordinate; }
    void SetCoordinate(int16_t v);
    bool sgfCoordinate() const { return Look().sgfCoordinate; }
    void SetsgfCoordinate(bool v);
    bool DisplayTurn() const { return Look().DisplayTurn; }
    void SetDisplayTurn(bool v);
    int16_t DisplayInfo() const { return Look().DisplayInfo; }
    void SetDisplayInfo(int16_t v);
    int16_t DisplayWidth() const { return Look().DisplayWidth; }
    void SetDisplayWidth(int16_t v);
    bool DrawLastPass() const { return Look().DrawLastPass; }
    void SetDrawLastPass(bool v);
    int16_t BoardWidth() const { return m_Geometry.BoardWidth; }
    int16_t BoardHeight() const { return m_Geometry.BoardHeight; }
    const TBoardGeometry& Geometry() const { return m_Geometry; }

    // The main window's stored form values: the look, single-player mode, the record.
    void ApplyMainFormPreset();

    // The playing point under a pixel, or {0, 0} when the pixel selects none.
    TPoint PointAtPixel(int x, int y) const;
    // The point the last left press went down on ({255, 255} when it was not on a point).
    TPoint PressedPoint() const { return m_Pressed; }
    // Whether a click at the hovered point would act (the hand cursor shows it).
    bool HandShown() const { return m_Hand; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The largest radius at which the board fits the control as it stands.
    void FitRadius();
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // IBoardView: invalidate only what changed.
    void RedrawPoint(int P, int Q) override;
    void RedrawAll() override;
    void MarkLastMove(int P, int Q) override;
    void ShowPass() override;
    void TurnChanged() override;
    void RedrawInfo(TInfoElement element) override;
    void LookChanged(bool geometry) override;

    void RecomputeGeometry();
    // Would a click at (P, Q) act? Also updates HintPos in play mode.
    bool HandTest(int P, int Q);
    void Hover(int x, int y);
    QRect InfoRect(TInfoElement element) const;

    TBoardGeometry m_Geometry;
    TPoint m_Pressed{255, 255};
    bool m_Hand = false;
    bool m_FittingRadius = false;
};

} // namespace karvena
