#include "board/BoardPainter.h"

#include <algorithm>

#include "board/PanelTexts.h"

namespace karvena {

namespace {
// A canvas rectangle (x1, y1)-(x2, y2) covers x1..x2-1 and y1..y2-1.
QRect Box(int x1, int y1, int x2, int y2) {
    return QRect(x1, y1, x2 - x1, y2 - y1);
}
QRectF EllipseBox(int x1, int y1, int x2, int y2) {
    return QRectF(x1 + 0.5, y1 + 0.5, x2 - x1 - 1.0, y2 - y1 - 1.0);
}
const QColor kRed(255, 0, 0);
} // namespace

QColor ToQColor(TColor c, const QColor& buttonFace) {
    if ((c >> 24) == 0xFF) return buttonFace;
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TBoardPainter::TBoardPainter(QPainter& painter, const TGoBoard& board,
                             const TBoardGeometry& geometry, const TArtwork& art, QSize controlSize,
                             QColor controlColor)
    : m_P(painter), m_Board(board), m_G(geometry), m_Art(art), m_Size(controlSize),
      m_Color(controlColor) {}

QRect TBoardPainter::CellRect(const TBoardGeometry& g, int P, int Q) {
    const int r = g.Radius;
    return Box(g.X(P) - r - 2, g.Y(Q) - r - 2, g.X(P) + r + 3, g.Y(Q) + r + 3);
}

QBrush TBoardPainter::BoardBrush() const {
    const TBoardLook& look = m_Board.Look();
    if (look.BoardColorNum == 1) return QBrush(m_Art.Pattern());
    return QBrush(ToQColor(look.BoardColor));
}

bool TBoardPainter::IsStarPoint(int P, int Q) const {
    const std::vector<int> stars = StarLines(m_G.Lines);
    auto star = [&](int n) { return std::find(stars.begin(), stars.end(), n) != stars.end(); };
    return star(P) && star(Q);
}

void TBoardPainter::PaintAll(const QRect& dirty) {
    const TBoardLook& look = m_Board.Look();
    if (look.NoBoard) {
        m_P.fillRect(Box(0, 0, 24, 24), ToQColor(0x006699));
        return;
    }
    PaintStatic();
    for (int p = 1; p <= m_G.Lines; ++p)
        for (int q = 1; q <= m_G.Lines; ++q)
            if (CellRect(m_G, p, q).intersects(dirty)) PaintPoint(p, q);
    PaintPassSpot();
    if (!m_Board.NumberLabel(m_Board.LastP(), m_Board.LastQ()))
        PaintLastMove(m_Board.LastP(), m_Board.LastQ());
    PaintPanel();
}

void TBoardPainter::PaintStatic() {
    const TBoardLook& look = m_Board.Look();
    const int bw = m_G.BoardWidth;
    const int bh = m_G.BoardHeight;
    // The control's background, then the board square.
    if (look.Painting)
        m_P.fillRect(QRect(QPoint(0, 0), m_Size), QBrush(m_Art.Background()));
    else
        m_P.fillRect(QRect(QPoint(0, 0), m_Size), m_Color);
    if (look.Wood)
        m_P.fillRect(Box(0, 0, bw, bh), QBrush(m_Art.Wood256()));
    else
        m_P.fillRect(Box(0, 0, bw, bh), BoardBrush());
    m_P.setPen(Qt::black);
    m_P.setBrush(Qt::NoBrush);
    m_P.drawRect(Box(0, 0, bw - 1, bh - 1));

    // Grid.
    const int last = m_G.Lines;
    for (int n = 1; n <= last; ++n) {
        m_P.drawLine(m_G.X(1), m_G.Y(n), m_G.X(last), m_G.Y(n));
        m_P.drawLine(m_G.X(n), m_G.Y(1), m_G.X(n), m_G.Y(last));
    }
    // Star points.
    m_P.setRenderHint(QPainter::Antialiasing, true);
    m_P.setBrush(Qt::black);
    const int s = m_G.StarSize;
    for (int p : StarLines(last))
        for (int q : StarLines(last))
            m_P.drawEllipse(
                EllipseBox(m_G.X(p) - s, m_G.Y(q) - s, m_G.X(p) + s + 1, m_G.Y(q) + s + 1));
    m_P.setRenderHint(QPainter::Antialiasing, false);

    // Coordinates, when the band is wide enough for them.
    if (m_G.Coordinate > 12) {
        const int r = m_G.Radius;
        const int size = r <= 6 ? 8 : 10;
        // Two digits between the last line's stones and the frame, with a pixel to spare; every
        // row label takes the size at which the widest of them fits.
        const int left = m_G.X(last) + r + m_G.Margin + 2;
        QStringList rows;
        for (int n = 1; n <= last; ++n)
            rows << QString::asprintf("%2d", RowLabel(n, look.sgfCoordinate, last));
        const int rowSize = FittingPixelSize(rows, size + 2, bw - 3 - left);
        for (int n = 1; n <= last; ++n) {
            PaintLabel(m_G.X(n) - 4, m_G.Y(last) + r + m_G.Margin + 2,
                       QString(QChar(ColumnLabel(n, look.sgfCoordinate))), size + 2);
            PaintLabel(left, m_G.Y(n) - 6, rows[n - 1], rowSize);
        }
    }
    // The side-to-move swatches.
    if (look.DisplayTurn) {
        const int d = std::min(m_G.Radius, 7);
        m_P.setRenderHint(QPainter::Antialiasing, true);
        m_P.setPen(Qt::black);
        m_P.setBrush(Qt::black);
        m_P.drawEllipse(EllipseBox(bw + 15, 200, bw + 15 + 2 * d, 200 + 2 * d));
        m_P.setBrush(Qt::white);
        m_P.drawEllipse(EllipseBox(bw + 15, 120, bw + 15 + 2 * d, 120 + 2 * d));
        m_P.setRenderHint(QPainter::Antialiasing, false);
    }
}

void TBoardPainter::PaintPoint(int P, int Q) {
    if (!m_Board.IsOnBoard(P, Q)) return;
    if (m_Board.GetCell(P, Q) != 0)
        PaintStone(P, Q);
    else
        PaintEmpty(P, Q);
}

void TBoardPainter::PaintEmpty(int P, int Q) {
    const TBoardLook& look = m_Board.Look();
    const int r = m_G.Radius;
    const int x = m_G.X(P);
    const int y = m_G.Y(Q);
    const bool passSpot = P == kPassCoord && Q == kPassCoord;

    // Erase the cell. The wood is copied with the tiling offsets so the cell joins its neighbours.
    if (look.Wood) {
        const int left = (x - r - 1) % 128;
        const int top = (y - r - 1) % 128;
        int right = (x + r + 1) % 128;
        int bottom = (y + r + 1) % 128;
        if (right <= left) right += 128;
        if (bottom <= top) bottom += 128;
        const QPixmap& wood = m_Art.Wood256();
        const qreal dpr = wood.devicePixelRatio();
        m_P.drawPixmap(Box(x - r - 1, y - r - 1, x + r + 1, y + r + 1), wood,
                       QRectF(left * dpr, top * dpr, (right - left) * dpr, (bottom - top) * dpr));
    } else {
        // Inside the frame only, so a tiny radius never erases the outline.
        const QRect inside = Box(1, 1, m_G.BoardWidth - 1, m_G.BoardHeight - 1);
        m_P.fillRect(Box(x - r - 2, y - r - 2, x + r + 2, y + r + 2).intersected(inside),
                     BoardBrush());
    }
    if (passSpot) return;
    // The area a hint points to: the whole cell lightly shaded, so the area reads as one.
    // It stays within the board's lines.
    if (m_Board.Shaded(P, Q))
        m_P.fillRect(Box(x - r - 1, y - r - 1, x + r + 1, y + r + 1)
                         .intersected(Box(m_G.X(1), m_G.Y(1), m_G.X(m_G.Lines) + 1, m_G.Y(m_G.Lines) + 1)),
                     QColor(255, 255, 255, 110));

    // The grid through the cell; the board's edge lines do not overshoot.
    m_P.setPen(Qt::black);
    m_P.drawLine(P == 1 ? x : x - r - 2, y, P == m_G.Lines ? x : x + r + 1, y);
    m_P.drawLine(x, Q == 1 ? y : y - r - 2, x, Q == m_G.Lines ? y : y + r + 1);
    if (IsStarPoint(P, Q)) {
        const int s = m_G.StarSize;
        m_P.setRenderHint(QPainter::Antialiasing, true);
        m_P.setBrush(Qt::black);
        m_P.drawEllipse(EllipseBox(x - s, y - s, x + s + 1, y + s + 1));
        m_P.setRenderHint(QPainter::Antialiasing, false);
    }

    // The point's marks: the first that applies.
    const char letter = m_Board.LetterLabel(P, Q);
    const int32_t extra = m_Board.MarkExtra(P, Q);
    const int32_t kind = m_Board.MarkKind(P, Q);
    const TColor colour = m_Board.LabelColor(P, Q);
    if (static_cast<unsigned char>(letter) >= 33) {
        PaintText(x, y, QString(QChar(letter)), look.AbcFontSize, ToQColor(colour));
    } else if (extra >= 1) {
        QFont font("Serif");
        font.setPointSize(std::min(r, 7));
        const QFontMetrics metrics(font);
        const QString text = QString::number(extra);
        const int e = std::max(metrics.horizontalAdvance(text) / 2, metrics.height() / 2);
        m_P.setRenderHint(QPainter::Antialiasing, true);
        m_P.setPen(QColor(0, 255, 0));
        m_P.setBrush(QColor(255, 255, 0));
        m_P.drawEllipse(EllipseBox(x - e - 1, y - e - 1, x + e + 2, y + e + 2));
        m_P.setRenderHint(QPainter::Antialiasing, false);
        PaintText(x, y, text, std::min(r, 7), kRed, "Serif");
    } else if (kind >= 1 && kind <= 6) {
        PaintMark(x, y, kind, ToQColor(colour));
    } else if (colour != 0) {
        PaintDot(x, y, colour);
    }
}

void TBoardPainter::PaintDot(int x, int y, TColor colour) {
    // The hint dot: half the radius on large boards, 4 pixels on small ones, never over r.
    const int r = m_G.Radius;
    const int t = std::min(r > 7 ? r / 2 : 4, r);
    m_P.setRenderHint(QPainter::Antialiasing, true);
    m_P.setPen(Qt::black);
    m_P.setBrush(ToQColor(colour));
    m_P.drawEllipse(EllipseBox(x - t, y - t, x + t + 1, y + t + 1));
    m_P.setRenderHint(QPainter::Antialiasing, false);
}

void TBoardPainter::PaintMark(int x, int y, int kind, QColor colour) {
    const int r = m_G.Radius;
    const int h = static_cast<int>(0.7 * r);
    m_P.setRenderHint(QPainter::Antialiasing, true);
    m_P.setPen(QPen(colour, 1));
    m_P.setBrush(Qt::NoBrush);
    switch (kind) {
    case 1:
        m_P.drawEllipse(QPointF(x + 0.5, y + 0.5), r - 2, r - 2);
        break;
    case 5: // nothing on an empty point; a stone draws its 5 as the X
        break;
    case 2:
        m_P.drawLine(x - h, y - h, x + h, y + h);
        m_P.drawLine(x - h, y + h, x + h, y - h);
        break;
    case 3: {
        const int w = static_cast<int>(0.866 * r);
        const QPoint corners[3] = {{x, y - r - 1}, {x + w, y + r / 2}, {x - w, y + r / 2}};
        m_P.drawPolygon(corners, 3);
        break;
    }
    case 4:
        m_P.drawRect(x - h, y - h, 2 * h, 2 * h);
        break;
    case 6: {
        const int s = r < 7 ? 4 : (r <= 8 ? r - 2 : (r <= 10 ? r - 3 : r - 4));
        m_P.fillRect(Box(x - s, y - s, x + s, y + s), colour);
        break;
    }
    }
    m_P.setRenderHint(QPainter::Antialiasing, false);
}

void TBoardPainter::PaintStone(int P, int Q) {
    const TBoardLook& look = m_Board.Look();
    const int r = m_G.Radius;
    const int x = m_G.X(P);
    const int y = m_G.Y(Q);
    const int8_t v = m_Board.GetCell(P, Q);
    const bool black = v > 0;
    if (look.Dim3) {
        m_P.drawPixmap(x - r, y - r, m_Art.Stone(black ? 0 : 1, r));
    } else {
        m_P.setRenderHint(QPainter::Antialiasing, true);
        m_P.setPen(Qt::black);
        m_P.setBrush(black ? Qt::black : Qt::white);
        m_P.drawEllipse(EllipseBox(x - r, y - r, x + r + 1, y + r + 1));
        m_P.setRenderHint(QPainter::Antialiasing, false);
    }
    if (v & kDeadBit) {
        const int k = 3 * r / 4;
        m_P.setPen(QPen(kRed, 2));
        m_P.drawLine(x - k, y - k, x + k, y + k);
        m_P.drawLine(x - k, y + k, x + k, y - k);
        m_P.setPen(Qt::black);
    }

    const TColor label = m_Board.LabelColor(P, Q);
    const QColor c =
        (label != 0 && label != kColorWhite) ? ToQColor(label) : (black ? Qt::white : Qt::black);
    const char letter = m_Board.LetterLabel(P, Q);
    const int32_t number = m_Board.NumberLabel(P, Q);
    const int32_t kind = m_Board.MarkKind(P, Q);
    if (static_cast<unsigned char>(letter) > 32) {
        PaintText(x, y, QString(QChar(letter)), look.AbcFontSize, c);
    } else if (number > 0) {
        PaintText(x, y, QString::number(number), r < 9 ? r : 8, c, "Serif");
    } else if (kind >= 1 && kind <= 5) {
        PaintMark(x, y, kind == 5 ? 2 : kind, c);
    } else if (kind == 6) {
        PaintMark(x, y, 6, QColor(0, 0, 255));
    } else if (label != 0) {
        PaintDot(x, y, label);
    }
}

void TBoardPainter::PaintPassSpot() {
    const TBoardLook& look = m_Board.Look();
    if (!look.DrawLastPass) return;
    PaintEmpty(kPassCoord, kPassCoord);
    if (m_Board.LastP() == kPassCoord && m_Board.LastQ() == kPassCoord && m_Board.LastSide() != 0) {
        const int r = m_G.Radius;
        const int x = m_G.X(kPassCoord);
        const int y = m_G.Y(kPassCoord);
        m_P.drawPixmap(x - r, y - r, m_Art.Stone(m_Board.LastSide() > 0 ? 0 : 1, r));
    }
}

void TBoardPainter::PaintLastMove(int P, int Q) {
    const bool passSpot = P == kPassCoord && Q == kPassCoord;
    if (passSpot ? !m_Board.Look().DrawLastPass
                 : !(m_Board.IsOnBoard(P, Q) && IsStone(m_Board.GetCell(P, Q))))
        return;
    const int s = m_G.StarSize;
    const int x = m_G.X(P);
    const int y = m_G.Y(Q);
    m_P.setPen(Qt::black);
    m_P.setBrush(kRed);
    m_P.drawRect(Box(x - s, y - s, x + s, y + s));
}

int TBoardPainter::FittingPixelSize(const QStringList& texts, int pixels, int room) const {
    // Coordinates sit in a band only 16 to 20 pixels wide, so the size is taken in pixels (a
    // little over the point size, as on a 96 dpi screen), and shrinks until every text keeps
    // clear of the frame.
    QFont font = m_P.font();
    auto widest = [&] {
        int width = 0;
        for (const QString& text : texts) width = std::max(width, QFontMetrics(font).horizontalAdvance(text));
        return width;
    };
    font.setPixelSize(pixels);
    while (pixels > 6 && widest() > room) font.setPixelSize(--pixels);
    return pixels;
}

void TBoardPainter::PaintLabel(int left, int top, const QString& text, int pixels) {
    m_P.save();
    QFont font = m_P.font();
    font.setPixelSize(pixels);
    m_P.setFont(font);
    m_P.setPen(Qt::black);
    m_P.drawText(QRect(left, top, 40, pixels + 6), Qt::AlignLeft | Qt::AlignTop, text);
    m_P.restore();
}

void TBoardPainter::PaintText(int x, int y, const QString& text, int size, QColor colour,
                              const char* family) {
    // Text centred on (x, y); the painter's font and pen are restored afterwards.
    m_P.save();
    QFont font = m_P.font();
    if (family) font.setFamily(family);
    font.setPointSize(std::max(1, size));
    m_P.setFont(font);
    m_P.setPen(colour);
    const QFontMetrics metrics(font);
    const QRect bounds(x - metrics.horizontalAdvance(text) / 2, y - metrics.height() / 2,
                       metrics.horizontalAdvance(text) + 1, metrics.height());
    m_P.drawText(bounds, Qt::AlignCenter, text);
    m_P.restore();
}

void TBoardPainter::PatchBackground(const QRect& r) {
    if (m_Board.Look().Painting)
        m_P.fillRect(r, QBrush(m_Art.Background()));
    else
        m_P.fillRect(r, m_Color);
}

void TBoardPainter::PaintBandText(int left, int top, int bottom, const std::string& text, bool bold,
                                  QColor colour, int size) {
    PatchBackground(Box(left, top, m_Size.width() - 1, bottom));
    if (text.empty()) return;
    m_P.save();
    QFont font = m_P.font();
    font.setPointSize(size > 0 ? size : m_G.PanelFontSize());
    font.setBold(bold);
    // A text wider than the panel is shown smaller, and only cut short (with "…") when even the
    // smallest size does not fit.
    const QString shown = QString::fromStdString(m_Board.LocalText(text));
    const int room = m_Size.width() - 2 - left;
    while (font.pointSize() > 6 && QFontMetrics(font).horizontalAdvance(shown) > room)
        font.setPointSize(font.pointSize() - 1);
    m_P.setFont(font);
    m_P.setPen(colour);
    m_P.drawText(Box(left, top, m_Size.width() - 1, bottom + 8), Qt::AlignLeft | Qt::AlignTop,
                 QFontMetrics(font).elidedText(shown, Qt::ElideRight, std::max(room, 0)));
    m_P.restore();
}

void TBoardPainter::PaintArrow() {
    if (!m_Board.Look().DisplayTurn) return;
    const int bw = m_G.BoardWidth;
    PatchBackground(Box(bw + 5, 120, bw + 15, 140));
    PatchBackground(Box(bw + 5, 200, bw + 15, 220));
    const int a = bw + 5;
    const int y = m_Board.Turn() > 0 ? 200 : 120;
    m_P.setPen(kRed);
    m_P.drawLine(a, y + 4, a + 6, y + 4);
    m_P.drawLine(a, y + 6, a + 6, y + 6);
    m_P.drawLine(a + 7, y + 5, a + 4, y + 2);
    m_P.drawLine(a + 7, y + 5, a + 4, y + 8);
    m_P.setPen(Qt::black);
}

void TBoardPainter::PaintClock(int side) {
    const int bw = m_G.BoardWidth;
    const int a = side == 0 ? 220 : 140;
    const int32_t limit = m_Board.TimeLimit();
    if (limit <= 0 || limit == INT32_MAX) return;
    // From the gauges down: the band's first pixels belong to the player line above.
    PatchBackground(Box(bw + 30, a + 3, m_Size.width() - 1, a + 60));
    const int32_t t = m_Board.ClockSeconds(side);
    m_P.setPen(Qt::black);
    m_P.setBrush(Qt::NoBrush);
    m_P.drawRect(Box(bw + 30, a + 3, bw + 92, a + 10).adjusted(0, 0, -1, -1));
    m_P.drawRect(Box(bw + 30, a + 10, bw + 92, a + 17).adjusted(0, 0, -1, -1));
    const int fill = static_cast<int>(static_cast<int64_t>(t) * 60 / limit);
    if (fill > 0) m_P.fillRect(Box(bw + 31, a + 4, bw + 31 + fill, a + 9), kRed);
    const int count = m_Board.ByoYomiCount();
    const int byo = m_Board.ByoYomiLimit();
    if (InByoYomi(t, count, byo)) {
        const int period = byo / count;
        const int second = (t % period) * 60 / period;
        if (second > 0) m_P.fillRect(Box(bw + 31, a + 11, bw + 31 + second, a + 16), kRed);
    }
    const int language = m_Board.Language();
    PaintBandText(bw + 30, a + 20, a + 38, ClockText(t, count, byo));
    if (m_Board.MoveLimit() > 0 && m_Board.MovesLeft(side) > 0)
        PaintBandText(bw + 30, a + 40, a + 58, MovesText(m_Board.MovesLeft(side), language));
}

void TBoardPainter::PaintFlag() {
    const QRect flag =
        Box(m_Size.width() - 8, m_Size.height() - 12, m_Size.width() - 3, m_Size.height() - 3);
    if (m_Board.NotBother()) {
        m_P.setPen(kRed);
        m_P.setBrush(Qt::black);
        m_P.drawRect(flag.adjusted(0, 0, -1, -1));
        m_P.setPen(Qt::black);
    } else if (!flag.intersects(Box(0, 0, m_G.BoardWidth, m_G.BoardHeight))) {
        // The flag's place is the panel's corner; a board-sized control has no panel to patch.
        PatchBackground(flag);
    }
}

void TBoardPainter::PaintPanel() {
    PaintArrow();
    const TBoardLook& look = m_Board.Look();
    if (look.DisplayInfo > 0 && !look.NoBoard) {
        const int bw = m_G.BoardWidth;
        const int language = m_Board.Language();
        PaintBandText(bw + 30, 60, 80, EventOrFeeText(m_Board.Fee(), m_Board.Event(), language));
        for (int side = 0; side < 2; ++side) {
            const int top = side == 0 ? 200 : 120;
            PaintBandText(bw + 30, top, top + 24,
                          m_Board.PlayerName(side) + RankCodeText(m_Board.PlayerRank(side)),
                          m_Board.Bold() == side);
        }
        PaintBandText(bw + 30, 80, 100, HandicapText(m_Board.Handicap(), language));
        PaintBandText(bw + 30, 100, 120, KomiText(m_Board.Atone(), language));
        PaintClock(0);
        PaintClock(1);
        PaintBandText(bw + 10, 280, 304, ResultText(m_Board.Winner(), language), false, kRed, 12);
        PaintBandText(bw + 30, m_G.BoardHeight - 16, m_G.BoardHeight, m_Board.HintStr());
    }
    PaintFlag();
}

} // namespace karvena
