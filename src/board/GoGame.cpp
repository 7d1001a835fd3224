#include "board/GoGame.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "board/Artwork.h"
#include "board/BoardPainter.h"
#include "board/PanelTexts.h"

namespace karvena {

TGoGame::TGoGame(QWidget* parent) : QWidget(parent) {
    SetView(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    RecomputeGeometry();
    resize(m_Geometry.ControlWidth(), m_Geometry.ControlHeight());
}

QSize TGoGame::sizeHint() const {
    return {m_Geometry.ControlWidth(), m_Geometry.ControlHeight()};
}

void TGoGame::ApplyMainFormPreset() {
    karvena::ApplyMainFormPreset(*this);
}

// ---- Drawing properties ----

void TGoGame::SetNoBoard(bool v) {
    ChangeLook([v](TBoardLook& l) { l.NoBoard = v; });
}
void TGoGame::SetPal256(bool v) {
    ChangeLook([v](TBoardLook& l) { l.SetPal256(v); });
}
void TGoGame::SetAbcFontSize(int32_t v) {
    ChangeLook([v](TBoardLook& l) { l.AbcFontSize = v; });
}
void TGoGame::SetBoardColor(TColor v) {
    ChangeLook([v](TBoardLook& l) { l.SetBoardColor(v); });
}
void TGoGame::SetBoardColorNum(int16_t v) {
    ChangeLook([v](TBoardLook& l) { l.SetBoardColorNum(v); });
}
void TGoGame::SetDim3(bool v) {
    ChangeLook([v](TBoardLook& l) { l.Dim3 = v; });
}
void TGoGame::SetRadius(int16_t v) {
    ChangeLook([v](TBoardLook& l) { l.SetRadius(v); });
}
void TGoGame::SetWood(bool v) {
    ChangeLook([v](TBoardLook& l) { l.Wood = v; });
}
void TGoGame::SetPainting(bool v) {
    ChangeLook([v](TBoardLook& l) { l.Painting = v; });
}
void TGoGame::SetCoordinate(int16_t v) {
    ChangeLook([v](TBoardLook& l) { l.Coordinate = v; });
}
void TGoGame::SetsgfCoordinate(bool v) {
    ChangeLook([v](TBoardLook& l) { l.sgfCoordinate = v; });
}
void TGoGame::SetDisplayTurn(bool v) {
    ChangeLook([v](TBoardLook& l) { l.DisplayTurn = v; });
}
void TGoGame::SetDisplayInfo(int16_t v) {
    ChangeLook([v](TBoardLook& l) { l.SetDisplayInfo(v); });
}
void TGoGame::SetDisplayWidth(int16_t v) {
    ChangeLook([v](TBoardLook& l) { l.DisplayWidth = v; });
}
void TGoGame::SetDrawLastPass(bool v) {
    ChangeLook([v](TBoardLook& l) { l.DrawLastPass = v; });
}

void TGoGame::RecomputeGeometry() {
    m_Geometry = TBoardGeometry::From(Look(), Rows());
}

void TGoGame::LookChanged(bool geometry) {
    if (geometry) {
        RecomputeGeometry();
        if (!m_FittingRadius) resize(m_Geometry.ControlWidth(), m_Geometry.ControlHeight());
        updateGeometry();
    }
    update();
}

void TGoGame::FitRadius() {
    const int fitting = TBoardGeometry::RadiusForSize(Look(), width(), height(), Rows());
    if (fitting == Look().Radius) return;
    // Fit the radius without resizing the control back: the owner set this size.
    m_FittingRadius = true;
    ChangeLook([fitting](TBoardLook& l) { l.SetRadius(fitting); });
    m_FittingRadius = false;
}

// ---- Painting ----

void TGoGame::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const TArtwork& art = TArtwork::For(devicePixelRatioF());
    TBoardPainter(painter, *this, m_Geometry, art, size(), palette().color(QPalette::Window))
        .PaintAll(event->rect());
}

void TGoGame::RedrawPoint(int P, int Q) {
    if (IsOnBoard(P, Q) || IsPassPoint(P, Q)) update(TBoardPainter::CellRect(m_Geometry, P, Q));
}

void TGoGame::RedrawAll() {
    update(0, 0, m_Geometry.BoardWidth, m_Geometry.BoardHeight);
}

void TGoGame::MarkLastMove(int P, int Q) {
    RedrawPoint(P, Q);
}

void TGoGame::ShowPass() {
    RedrawPoint(kPassCoord, kPassCoord);
}

void TGoGame::TurnChanged() {
    update(m_Geometry.BoardWidth + 5, 120, 10, 100);
}

QRect TGoGame::InfoRect(TInfoElement element) const {
    const int left = m_Geometry.BoardWidth;
    const int right = width();
    switch (element) {
    case TInfoElement::Turn:
        return QRect(left + 5, 120, 10, 100);
    case TInfoElement::Event:
    case TInfoElement::Fee:
        return QRect(left + 30, 60, right - left - 30, 20);
    case TInfoElement::Players:
        return QRect(left, 60, right - left, 220);
    case TInfoElement::Clocks:
        return QRect(left + 30, 120, right - left - 30, 160);
    case TInfoElement::Result:
        return QRect(left + 10, 280, right - left - 10, 24);
    case TInfoElement::NotBother:
        return QRect(width() - 8, height() - 12, 5, 9);
    case TInfoElement::Hint:
        return QRect(left + 30, m_Geometry.BoardHeight - 16, right - left - 30, 16);
    }
    return rect();
}

void TGoGame::RedrawInfo(TInfoElement element) {
    update(InfoRect(element));
}

// ---- Geometry and pointer ----

void TGoGame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitRadius();
    if (OnResize) OnResize(*this);
}

TPoint TGoGame::PointAtPixel(int x, int y) const {
    const int P = m_Geometry.LineAt(x);
    const int Q = m_Geometry.LineAt(y);
    if (!IsOnBoard(P, Q)) return {0, 0};
    return {P, Q};
}

void TGoGame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const TPoint pt = PointAtPixel(event->position().x(), event->position().y());
        m_Pressed = pt.P ? pt : TPoint{255, 255};
    }
    if (OnMouseDown) OnMouseDown(*this, event);
}

void TGoGame::mouseReleaseEvent(QMouseEvent* event) {
    const int x = static_cast<int>(event->position().x());
    const int y = static_cast<int>(event->position().y());
    const TPoint pt = PointAtPixel(x, y);
    if (event->button() == Qt::LeftButton) {
        if (pt.P)
            Click(pt.P, pt.Q, TMouseButton::Left, m_Pressed.P, m_Pressed.Q);
        else if (m_Geometry.InSwatchArea(x, y))
            RedrawAll();
    } else if (event->button() == Qt::RightButton && pt.P) {
        Click(pt.P, pt.Q, TMouseButton::Right, m_Pressed.P, m_Pressed.Q);
    }
    if (OnMouseUp) OnMouseUp(*this, event);
}

bool TGoGame::HandTest(int P, int Q) {
    if (Mode() == 1) return !IsStone(GetCell(P, Q));
    if (Mode() != 0) return false;
    bool hand;
    const bool empty = !IsStone(GetCell(P, Q));
    if (Review())
        hand = Study() && empty;
    else if (Winner() >= 0 && Winner() <= 2)
        hand = false;
    else if (GameOver())
        hand = ChainId(P, Q) > 0 && !empty;
    else {
        hand = NewMoveEnabled() && (SingleMode() || IsUsersTurn()) && empty && Winner() > 2;
    }
    SetHint(static_cast<int16_t>(P * 256 + Q), HintStr());
    return hand;
}

void TGoGame::Hover(int x, int y) {
    const TPoint pt = PointAtPixel(x, y);
    bool hand = false;
    if (pt.P)
        hand = HandTest(pt.P, pt.Q);
    else
        SetHint(-1, HintStr());
    SetHint(HintPos(), HintText(HintPos(), Look().sgfCoordinate, Rows()));
    m_Hand = hand;
    if (Mode() != 9) setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TGoGame::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(*this, event);
    Hover(static_cast<int>(event->position().x()), static_cast<int>(event->position().y()));
}

void TGoGame::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Hover(-1000, -1000);
}

} // namespace karvena
