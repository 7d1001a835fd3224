#include "shell/ToolIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace karvena {

namespace {

constexpr int kSize = 22; // logical pixels, as the tool bars show them
const QColor kInk(0x3a, 0x3f, 0x46);
const QColor kAccent(0x2b, 0x6c, 0xb0);

QPainterPath Triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

// An arrow along the x axis pointing right, in a 22 x 22 box; turned for the other directions.
QPainterPath ArrowRight() {
    QPainterPath path;
    path.addRect(QRectF(4, 9, 8, 4));
    path.addPath(Triangle({11, 4}, {19, 11}, {11, 18}));
    return path.simplified();
}

void Draw(QPainter& p, TToolPicture picture) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    auto turned = [&p](qreal degrees, const QPainterPath& path) {
        p.save();
        p.translate(kSize / 2.0, kSize / 2.0);
        p.rotate(degrees);
        p.translate(-kSize / 2.0, -kSize / 2.0);
        p.drawPath(path);
        p.restore();
    };
    const QPen line(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (picture) {
    case TToolPicture::Open:
        p.setBrush(QColor(0xd9, 0xa4, 0x41));
        p.drawRoundedRect(QRectF(2, 6, 18, 12), 1.5, 1.5);
        p.drawRoundedRect(QRectF(2, 4, 8, 4), 1.5, 1.5);
        p.setBrush(QColor(0xf0, 0xc4, 0x6a));
        p.drawRoundedRect(QRectF(3, 9, 16, 9), 1, 1);
        break;
    case TToolPicture::List:
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                p.drawRect(QRectF(3 + 6 * col, 3 + 6 * row, 4.5, 4.5));
        break;
    case TToolPicture::Play:
        p.setBrush(kAccent);
        p.drawPath(Triangle({6, 3}, {19, 11}, {6, 19}));
        break;
    case TToolPicture::First:
        p.drawRect(QRectF(3, 5, 2.5, 12));
        p.drawPath(Triangle({12, 5}, {6, 11}, {12, 17}));
        p.drawPath(Triangle({19, 5}, {13, 11}, {19, 17}));
        break;
    case TToolPicture::Prior:
        p.drawPath(Triangle({11, 5}, {4, 11}, {11, 17}));
        p.drawPath(Triangle({18, 5}, {11, 11}, {18, 17}));
        break;
    case TToolPicture::Next:
        p.drawPath(Triangle({4, 5}, {11, 11}, {4, 17}));
        p.drawPath(Triangle({11, 5}, {18, 11}, {11, 17}));
        break;
    case TToolPicture::Last:
        p.drawPath(Triangle({3, 5}, {9, 11}, {3, 17}));
        p.drawPath(Triangle({10, 5}, {16, 11}, {10, 17}));
        p.drawRect(QRectF(16.5, 5, 2.5, 12));
        break;
    case TToolPicture::Up: turned(-90, ArrowRight()); break;
    case TToolPicture::Down: turned(90, ArrowRight()); break;
    case TToolPicture::Back: turned(180, ArrowRight()); break;
    case TToolPicture::Forward: turned(0, ArrowRight()); break;
    case TToolPicture::Again: {
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 14, 14), 100 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPath(Triangle({9, 1}, {15, 4.5}, {9, 8}));
        break;
    }
    case TToolPicture::Tick:
        p.setPen(QPen(QColor(0x1f, 0x7a, 0x1f), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4, 12), QPointF(9, 17), QPointF(18, 5)}));
        break;
    case TToolPicture::Question: {
        p.setBrush(kAccent);
        p.drawEllipse(QRectF(2, 2, 18, 18));
        QFont font = p.font();
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case TToolPicture::Try:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(3, 3, 11, 11));
        p.setPen(QPen(kInk, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 13), QPointF(19, 19));
        break;
    case TToolPicture::Stop:
        p.setBrush(QColor(0xb0, 0x30, 0x30));
        p.drawRoundedRect(QRectF(5, 5, 12, 12), 1.5, 1.5);
        break;
    case TToolPicture::Sound:
    case TToolPicture::Silent: {
        QPainterPath speaker(QPointF(3, 8));
        speaker.lineTo(7, 8);
        speaker.lineTo(12, 3);
        speaker.lineTo(12, 19);
        speaker.lineTo(7, 14);
        speaker.lineTo(3, 14);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setBrush(Qt::NoBrush);
        if (picture == TToolPicture::Sound) {
            p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(9, 7, 7, 8), -60 * 16, 120 * 16);
            p.drawArc(QRectF(8, 4, 11, 14), -60 * 16, 120 * 16);
        } else {
            p.setPen(QPen(QColor(0xb0, 0x30, 0x30), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(14, 7), QPointF(20, 15));
            p.drawLine(QPointF(20, 7), QPointF(14, 15));
        }
        break;
    }
    case TToolPicture::More:
        p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(6, 6), QPointF(11, 11), QPointF(6, 16)}));
        p.drawPolyline(QPolygonF({QPointF(11, 6), QPointF(16, 11), QPointF(11, 16)}));
        break;
    }
}


// Draws the picture when a size is first asked for, at that size: a bar that is never shown
// draws nothing.
class TToolIconEngine : public QIconEngine {
public:
    explicit TToolIconEngine(TToolPicture picture) : m_Picture(picture) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / qreal(kSize), rect.height() / qreal(kSize));
        if (mode == QIcon::Disabled) painter->setOpacity(0.35);
        Draw(*painter, m_Picture);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(0, 0), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new TToolIconEngine(m_Picture); }

private:
    TToolPicture m_Picture;
};

} // namespace

QIcon ToolIcon(TToolPicture picture) {
    return QIcon(new TToolIconEngine(picture));
}


QIcon TTrainerStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                  const QWidget* widget) const {
    if (standardIcon == SP_ToolBarHorizontalExtensionButton ||
        standardIcon == SP_ToolBarVerticalExtensionButton)
        return ToolIcon(TToolPicture::More);
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

} // namespace karvena
