#include "board/Artwork.h"

#include <QPainter>
#include <functional>
#include <QRadialGradient>
#include <cmath>
#include <map>
#include <memory>

namespace karvena {

namespace {

// A transparent picture of `size` logical pixels at the screen's pixel ratio.
QImage TransparentImage(int size, qreal dpr) {
    QImage image(QSize(size, size) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

// A smooth periodic noise: a sum of sines whose periods divide the tile, so tiles join.
double PeriodicWave(double x, double y, double size) {
    const double k = 2 * M_PI / size;
    return std::sin(k * 3 * y + 1.3 * std::sin(k * x) + 0.7 * std::sin(k * 2 * y + 0.4)) * 0.55 +
           std::sin(k * 7 * y + 0.9 * std::sin(k * 3 * x + 1.1)) * 0.30 +
           std::sin(k * 17 * y + 0.6 * std::sin(k * 5 * x)) * 0.15;
}

QPixmap MakeStone(int colour, int q, qreal dpr) {
    const int d = 2 * q + 1;
    QImage image = TransparentImage(d, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(0.5, 0.5, d - 1.0, d - 1.0);
    const QPointF centre = disc.center();
    const QPointF light = centre - QPointF(q * 0.38, q * 0.42);

    // A soft shadow line at the lower right gives the stone its weight on the board.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawEllipse(disc.translated(0.6, 0.8).adjusted(0.4, 0.4, -0.2, -0.2));

    QRadialGradient body(light, q * 1.55, light);
    if (colour == 0) { // slate: nearly black with a dull sheen
        body.setColorAt(0.0, QColor(110, 110, 116));
        body.setColorAt(0.18, QColor(58, 58, 62));
        body.setColorAt(0.65, QColor(22, 22, 25));
        body.setColorAt(1.0, QColor(5, 5, 6));
    } else { // shell: warm white with a faint edge shade
        body.setColorAt(0.0, QColor(255, 255, 255));
        body.setColorAt(0.45, QColor(242, 240, 233));
        body.setColorAt(0.85, QColor(212, 208, 198));
        body.setColorAt(1.0, QColor(168, 164, 155));
    }
    p.setBrush(body);
    p.setPen(QPen(colour == 0 ? QColor(0, 0, 0) : QColor(120, 116, 108), 0.8));
    p.drawEllipse(disc);

    if (colour == 1 && q >= 6) { // the shell's faint growth lines
        p.setClipRegion(QRegion(disc.toRect(), QRegion::Ellipse));
        p.setPen(QPen(QColor(200, 196, 186, 70), 0.6));
        for (int i = 1; i <= 4; ++i) {
            const double off = q * (0.35 * i - 0.6);
            p.drawArc(QRectF(centre.x() - q * 1.6, centre.y() + off - q * 0.4, q * 3.2, q * 1.6),
                      20 * 16, 140 * 16);
        }
        p.setClipping(false);
    }
    // The highlight.
    QRadialGradient shine(light, q * 0.55);
    shine.setColorAt(0.0, QColor(255, 255, 255, colour == 0 ? 90 : 150));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawEllipse(light, q * 0.55, q * 0.55);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap TileTwice(const QImage& tile, qreal dpr) {
    QImage wood(QSize(256, 256) * dpr, QImage::Format_RGB32);
    wood.setDevicePixelRatio(dpr);
    QPainter p(&wood);
    for (int x : {0, 128})
        for (int y : {0, 128})
            p.drawImage(QPoint(x, y), tile);
    p.end();
    return QPixmap::fromImage(wood);
}

QPixmap MakePattern() {
    // A two-tone dither of the classic board colour.
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y,
                           ((x + y) % 2 == 0) ? qRgb(0xD8, 0xA8, 0x58) : qRgb(0xC8, 0x94, 0x48));
    return QPixmap::fromImage(image);
}

QPixmap MakeBackground(qreal dpr) {
    // A quiet linen texture behind the board.
    const int size = 64;
    QImage image(QSize(size, size) * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double v = PeriodicWave(x / dpr, y / dpr, size) * 0.5 +
                             PeriodicWave(y / dpr, x / dpr, size) * 0.5;
            const int shade = 218 + static_cast<int>(v * 8);
            image.setPixel(x, y, qRgb(shade, shade - 4, shade - 14));
        }
    }
    return QPixmap::fromImage(image);
}

QPixmap MakeFlagA(qreal dpr) {
    QImage image = TransparentImage(16, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 15));
    p.setPen(QPen(QColor(140, 0, 0), 0.8));
    p.setBrush(QColor(220, 30, 30));
    const QPointF pennant[3] = {{4, 2}, {14, 5.5}, {4, 9}};
    p.drawPolygon(pennant, 3);
    p.end();
    return QPixmap::fromImage(image);
}

// A round 16-pixel badge: its ring and fill, and a white sign drawn by `sign`.
QPixmap MakeBadge(qreal dpr, QColor ring, QColor fill, const std::function<void(QPainter&)>& sign) {
    QImage image = TransparentImage(16, dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ring, 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    sign(p);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap MakeSolvedMark(qreal dpr) {
    return MakeBadge(dpr, QColor(0, 90, 0), QColor(40, 170, 60), [](QPainter& p) {
        const QPointF tick[3] = {{4, 8.5}, {7, 11.5}, {12, 4.5}};
        p.drawPolyline(tick, 3);
    });
}

QPixmap MakeFailedMark(qreal dpr) {
    return MakeBadge(dpr, QColor(120, 0, 0), QColor(210, 40, 40), [](QPainter& p) {
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    });
}

} // namespace

QImage TArtwork::WoodTile(qreal dpr) {
    const int size = 128;
    QImage tile(QSize(size, size) * dpr, QImage::Format_RGB32);
    tile.setDevicePixelRatio(dpr);
    for (int py = 0; py < tile.height(); ++py) {
        for (int px = 0; px < tile.width(); ++px) {
            const double x = px / dpr;
            const double y = py / dpr;
            // Grain runs across the tile; rings bend with a slow wave; every term repeats on 128.
            const double grain = PeriodicWave(x, y, size);
            const double fine =
                std::sin(2 * M_PI / size * (29 * y + 3 * std::sin(2 * M_PI / size * 2 * x)));
            const double v = 0.5 + 0.32 * grain + 0.08 * fine;
            const int r = 222 + static_cast<int>((v - 0.5) * 46);
            const int g = 176 + static_cast<int>((v - 0.5) * 40);
            const int b = 108 + static_cast<int>((v - 0.5) * 30);
            tile.setPixel(px, py, qRgb(r, g, b));
        }
    }
    return tile;
}

const QPixmap& TArtwork::Wood256() const {
    if (m_Wood256.isNull()) m_Wood256 = TileTwice(WoodTile(m_Dpr), m_Dpr);
    return m_Wood256;
}

TArtwork::TArtwork(qreal dpr) : m_Dpr(dpr) {
    m_Pattern = MakePattern();
    m_FlagA = MakeFlagA(dpr);
    m_Solved = MakeSolvedMark(dpr);
    m_Failed = MakeFailedMark(dpr);
}

const TArtwork& TArtwork::For(qreal dpr) {
    static std::map<qreal, std::unique_ptr<TArtwork>> cache;
    auto& slot = cache[dpr];
    if (!slot) slot.reset(new TArtwork(dpr));
    return *slot;
}

const QPixmap& TArtwork::Background() const {
    if (m_Background.isNull()) m_Background = MakeBackground(m_Dpr);
    return m_Background;
}

const QPixmap& TArtwork::Stone(int colour, int r) const {
    const int radius = std::clamp(r, 1, 400);
    auto found = m_Stones.find(radius);
    if (found == m_Stones.end())
        found = m_Stones
                    .emplace(radius, std::array<QPixmap, 2>{MakeStone(0, radius, m_Dpr),
                                                            MakeStone(1, radius, m_Dpr)})
                    .first;
    return found->second[colour ? 1 : 0];
}

} // namespace karvena
