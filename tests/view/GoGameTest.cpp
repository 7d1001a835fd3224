// The board widget driven by real mouse events, and what it paints.
#include <gtest/gtest.h>

#include <set>

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTest>

#include "board/Artwork.h"
#include "board/BoardPainter.h"
#include "board/GoGame.h"

namespace karvena {
namespace {

QPoint PixelOf(const TGoGame& board, int P, int Q) {
    return {board.Geometry().X(P), board.Geometry().Y(Q)};
}

void Hover(TGoGame& board, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, board.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&board, &move);
}

void ClickPoint(TGoGame& board, int P, int Q, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(&board, button, Qt::NoModifier, PixelOf(board, P, Q));
}

// Records the rectangles the widget repaints.
class TPaintSpy : public QObject {
public:
    std::vector<QRect> rects;
    QRegion region;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            rects.push_back(static_cast<QPaintEvent*>(event)->rect());
            region += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

class BoardWidget : public ::testing::Test {
protected:
    void SetUp() override {
        board.ApplyMainFormPreset();
        board.SetDisplayInfo(1);
        board.SetDisplayWidth(125);
        board.show();
    }
    TGoGame board;
};

TEST_F(BoardWidget, ClickOnAnEmptyPointPlaysAndFiresOnLegalMove) {
    std::vector<std::pair<int, int>> moves;
    std::vector<std::string> order;
    board.OnLegalMove = [&](TGoBoard&, int16_t p, int16_t q, int16_t, int16_t, bool) {
        moves.emplace_back(p, q);
        order.push_back("legal");
    };
    board.OnMouseUp = [&](TGoGame&, QMouseEvent*) { order.push_back("up"); };
    board.SetSingleMode(true);
    ClickPoint(board, 3, 17);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], std::make_pair(3, 17));
    EXPECT_EQ(board.Process(), "CQ");
    EXPECT_EQ(order, (std::vector<std::string>{"legal", "up"})) << "the owner hears after the move";
}

TEST_F(BoardWidget, PressAndReleaseOnDifferentPointsOnlyRunsTheOwnersHandler) {
    int ups = 0;
    board.OnMouseUp = [&](TGoGame&, QMouseEvent*) { ++ups; };
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, PixelOf(board, 3, 3));
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, PixelOf(board, 3, 4));
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(board.PressedPoint(), (TPoint{3, 3}));
}

TEST_F(BoardWidget, PressBetweenPointsSelectsNothing) {
    const QPoint between = PixelOf(board, 3, 3) + QPoint(board.Geometry().Pitch / 2, 0);
    QTest::mouseClick(&board, Qt::LeftButton, Qt::NoModifier, between);
    EXPECT_EQ(board.Process(), "");
    EXPECT_EQ(board.PressedPoint(), (TPoint{255, 255}));
}

TEST_F(BoardWidget, HoverShowsTheCoordinateAndLeavingEmptiesIt) {
    Hover(board, PixelOf(board, 4, 4));
    EXPECT_EQ(board.HintPos(), 4 * 256 + 4);
    EXPECT_EQ(board.HintStr(), "D16");
    EXPECT_TRUE(board.HandShown());
    EXPECT_EQ(board.cursor().shape(), Qt::PointingHandCursor);
    board.SetsgfCoordinate(false);
    Hover(board, PixelOf(board, 4, 4));
    EXPECT_EQ(board.HintStr(), "D4");
    Hover(board, QPoint(board.BoardWidth() + 50, 50));
    EXPECT_EQ(board.HintPos(), -1);
    EXPECT_EQ(board.HintStr(), "");
    EXPECT_EQ(board.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(BoardWidget, ReviewWithoutStudyChangesNothing) {
    board.SetReview(true);
    board.SetArrangedSideN("DD");
    ClickPoint(board, 3, 3);
    ClickPoint(board, 4, 4);
    EXPECT_EQ(board.Process(), "");
    Hover(board, PixelOf(board, 3, 3));
    EXPECT_FALSE(board.HandShown());
}

TEST_F(BoardWidget, AfterTheGameAClickMarksAChainDeadAndCounts) {
    board.SetArrangedSideP("AABA");
    board.SetArrangedSideN("CC");
    board.SetGameOver(true);
    int judged = 0;
    board.OnJudge = [&](TGoBoard&, int16_t, int16_t, int16_t, int16_t) { ++judged; };
    Hover(board, PixelOf(board, 1, 1));
    EXPECT_TRUE(board.HandShown()) << "a stone can be marked";
    Hover(board, PixelOf(board, 10, 10));
    EXPECT_FALSE(board.HandShown()) << "an empty point cannot";
    ClickPoint(board, 2, 1);
    EXPECT_EQ(board.GetCell(1, 1), kBlackStone | kDeadBit);
    EXPECT_EQ(board.GetCell(2, 1), kBlackStone | kDeadBit);
    EXPECT_EQ(judged, 1);
    EXPECT_EQ(board.JudgedWinner(), 1);
}

TEST_F(BoardWidget, DecidedGameIgnoresClicksButTheSwatchesStillRedraw) {
    board.SetWinner(0);
    ClickPoint(board, 3, 3);
    EXPECT_EQ(board.Process(), "");
    Hover(board, PixelOf(board, 3, 3));
    EXPECT_EQ(board.cursor().shape(), Qt::ArrowCursor);

    QApplication::processEvents();
    TPaintSpy spy;
    board.installEventFilter(&spy);
    QTest::mouseClick(&board, Qt::LeftButton, Qt::NoModifier, QPoint(board.BoardWidth() + 20, 150));
    QApplication::processEvents();
    board.removeEventFilter(&spy);
    const QRect boardSquare(0, 0, board.BoardWidth(), board.BoardHeight());
    const bool redrawn = std::any_of(spy.rects.begin(), spy.rects.end(),
                                     [&](const QRect& r) { return r.contains(boardSquare); });
    EXPECT_TRUE(redrawn);
}

TEST_F(BoardWidget, RightButtonPlacesWhiteSetupStonesOnlyInSetupMode) {
    ClickPoint(board, 5, 5, Qt::RightButton);
    EXPECT_EQ(board.GetCell(5, 5), 0);
    board.SetMode(1);
    ClickPoint(board, 5, 5, Qt::RightButton);
    EXPECT_EQ(board.GetCell(5, 5), kWhiteStone);
    EXPECT_EQ(board.ArrangedSideN(), "EE");
}

TEST_F(BoardWidget, AMoveRepaintsOnlyTheCellsItChanged) {
    board.SetSingleMode(true);
    QApplication::processEvents();
    TPaintSpy spy;
    board.installEventFilter(&spy);
    ClickPoint(board, 10, 10);
    QApplication::processEvents();
    board.removeEventFilter(&spy);
    ASSERT_FALSE(spy.rects.empty());
    for (const QRect& r : spy.rects)
        EXPECT_LT(r.width() * r.height(), board.BoardWidth() * board.BoardHeight() / 4);
}

// Loading a game record and changing the language repaint the whole control, the result line
// under the panel's texts too.
TEST_F(BoardWidget, AGameRecordOrANewLanguageRepaintsTheResultLine) {
    const struct {
        const char* name;
        std::function<void()> change;
    } changes[] = {
        {"game record",
         [&] { board.SetManualString("02QmvGame0 2007/02/01-11:15:54 0 A B 15 0 0 0 0 0 0 0 0 1 DD"); }},
        {"language", [&] { board.SetLanguage(board.Language() == 0 ? 1 : 0); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        QApplication::processEvents();
        TPaintSpy spy;
        board.installEventFilter(&spy);
        c.change();
        QApplication::processEvents();
        board.removeEventFilter(&spy);
        const QRegion painted = spy.region;
        const QRect result(board.BoardWidth() + 10, 280, board.width() - board.BoardWidth() - 10, 24);
        EXPECT_EQ(painted.intersected(result), QRegion(result));
    }
}

TEST_F(BoardWidget, ResizingFitsTheRadius) {
    board.resize(800, 800);
    EXPECT_EQ(board.Radius(), TBoardGeometry::RadiusForSize(board.Look(), 800, 800));
    EXPECT_GT(board.Radius(), 7);
    EXPECT_EQ(board.width(), 800) << "the owner's size stays";
    board.resize(30, 30);
    EXPECT_EQ(board.Radius(), 1);
    board.SetRadius(9);
    EXPECT_EQ(board.size(), QSize(board.BoardWidth() + 125, board.BoardHeight()));
}

// ---- Painting, checked on rendered images ----

QImage Render(TGoGame& board) {
    QImage image(board.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    board.render(&image);
    return image;
}

bool IsRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

TEST_F(BoardWidget, StarPointIsBlack) {
    const QImage image = Render(board);
    const QPoint star = PixelOf(board, 4, 4);
    EXPECT_EQ(image.pixel(star), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(star + QPoint(1, 1)), qRgb(0, 0, 0));
}

TEST_F(BoardWidget, LastMoveSquareIsRedAndHidesUnderANumber) {
    board.SetSingleMode(true);
    ClickPoint(board, 10, 10);
    EXPECT_TRUE(IsRed(Render(board).pixel(PixelOf(board, 10, 10))));
    board.SetNumberLabel(10, 10, 1);
    EXPECT_FALSE(IsRed(Render(board).pixel(PixelOf(board, 10, 10))));
}

TEST_F(BoardWidget, HintDotsHaveTheirColourAndRadius) {
    const struct {
        int radius, dot;
        TColor colour;
        QRgb rgb;
    } cases[] = {{6, 4, 0x8000, qRgb(0, 128, 0)},
                 {10, 5, 0xFFFF, qRgb(255, 255, 0)},
                 {3, 3, 0x8000, qRgb(0, 128, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radius);
        board.SetRadius(static_cast<int16_t>(c.radius));
        board.ClearMarks();
        board.MarkPoints("EE", c.colour);
        const QImage image = Render(board);
        const QPoint centre = PixelOf(board, 5, 5);
        EXPECT_EQ(image.pixel(centre + QPoint(1, 0)), c.rgb);
        // The outline sits at the dot's radius: the first dark pixel right of the centre.
        int edge = 1;
        while (edge < 20 && qGray(image.pixel(centre + QPoint(edge, 0))) > 40)
            ++edge;
        EXPECT_EQ(edge, c.dot);
    }
}

TEST_F(BoardWidget, ErasedCellOnTheFirstColumnLeavesNoStub) {
    board.SetSingleMode(true);
    board.SetArrangedSideP("AE");
    board.SetArrangedSideP("");
    const QImage image = Render(board);
    const QPoint first = PixelOf(board, 1, 5);
    for (int x = 2; x < first.x(); ++x)
        EXPECT_GT(qGray(image.pixel(x, first.y())), 60) << "stub at x " << x;
}

TEST(BoardPainting, WoodCellRepaintMatchesTheFullRepaint) {
    for (int radius : {7, 18}) {
        SCOPED_TRACE(radius);
        TGoGame board;
        board.SetRadius(static_cast<int16_t>(radius));
        board.SetWood(true);
        QImage full(board.size(), QImage::Format_RGB32);
        {
            QPainter p(&full);
            TBoardPainter(p, board, board.Geometry(), TArtwork::For(1), full.size(), Qt::gray)
                .PaintAll(full.rect());
        }
        // Every cell whose box crosses a multiple of 128 pixels, repainted alone over the full
        // picture, must leave it unchanged.
        int crossing = 0;
        for (int n = 1; n <= 19; ++n) {
            const int x = board.Geometry().X(n);
            if ((x - radius - 1) / 128 == (x + radius + 1) / 128) continue;
            ++crossing;
            QImage single = full.copy();
            QPainter p(&single);
            TBoardPainter(p, board, board.Geometry(), TArtwork::For(1), full.size(), Qt::gray)
                .PaintPoint(n, n);
            p.end();
            EXPECT_EQ(single, full) << "cell " << n;
        }
        EXPECT_GT(crossing, 0);
        // And the wood under every cell is the tile continued, not restarted.
        const QImage wood = TArtwork::For(1).Wood256().toImage();
        const int x = board.Geometry().X(10) + radius;
        const int y = board.Geometry().Y(10) + radius;
        EXPECT_EQ(full.pixel(x, y), wood.pixel(x % 256, y % 256));
    }
}

TEST(BoardPainting, InformationPanelTextsFollowTheLanguage) {
    TGoGame board;
    board.SetLanguage(1);
    std::vector<std::string> converted;
    board.OnToBig5 = [&](TGoBoard&, std::string& s) { converted.push_back(s); };
    Render(board);
    EXPECT_NE(std::find(converted.begin(), converted.end(), "贴子: 3.75"), converted.end());
}

} // namespace
} // namespace karvena

namespace karvena {
namespace {

// The board square is the board's colour everywhere inside its frame, the coordinate corner
// too, whatever the radius and whether the panel is shown.
TEST(BoardPainting, TheCoordinateCornerIsBoardColoured) {
    for (int radius : {7, 12, 18}) {
        for (int16_t info : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "radius " << radius << " info " << info);
            TGoGame board;
            board.ApplyMainFormPreset();
            board.SetDisplayInfo(info);
            board.SetRadius(static_cast<int16_t>(radius));
            board.resize(board.sizeHint());
            const QImage image = Render(board);
            const TBoardGeometry& g = board.Geometry();
            const QColor boardColour = ToQColor(board.Look().BoardColor);
            int foreign = 0;
            for (int x = g.X(19) + radius + 3; x < g.BoardWidth - 1; ++x)
                for (int y = g.Y(19) + radius + 3; y < g.BoardHeight - 1; ++y)
                    if (QColor(image.pixel(x, y)) != boardColour) ++foreign;
            EXPECT_EQ(foreign, 0);
        }
    }
}

// Panel texts that are wider than the panel are made to fit, never cut at its edge; the two-digit
// row labels keep clear of the frame.
TEST(BoardPainting, PanelTextsAndRowLabelsStayInsideTheirRoom) {
    for (int radius : {7, 10}) {
        SCOPED_TRACE(radius);
        TGoGame board;
        board.ApplyMainFormPreset();
        board.SetDisplayInfo(1);
        board.SetDisplayWidth(130);
        board.SetRadius(static_cast<int16_t>(radius));
        board.SetEvent("Weekly problem for the whole club");
        board.SetPlayerName(0, "Black player of the week");
        board.SetPlayerName(1, "White player of the week");
        board.resize(board.sizeHint());
        const QImage image = Render(board);
        auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 110; };
        const TBoardGeometry& g = board.Geometry();
        int atTheEdge = 0, inThePanel = 0;
        for (int y = 60; y < 230; ++y) {
            for (int x = image.width() - 3; x < image.width(); ++x) atTheEdge += dark(x, y);
            for (int x = g.BoardWidth + 30; x < image.width() - 3; ++x) inThePanel += dark(x, y);
        }
        EXPECT_EQ(atTheEdge, 0) << "a text runs into the panel's edge";
        EXPECT_GT(inThePanel, 100) << "the texts are shown";
        // The frame's right line, then at least one clear pixel column before the labels.
        int touching = 0;
        for (int q = 1; q <= 19; ++q)
            for (int y = g.Y(q) - 6; y < g.Y(q) + 8; ++y) touching += dark(g.BoardWidth - 2, y);
        EXPECT_EQ(touching, 0) << "a row label touches the frame";
    }
}

// Every row label is drawn in one size: the digits of "19" .. "10" stand as tall as those of
// " 9" .. " 1".
TEST(BoardPainting, RowLabelsShareOneSize) {
    for (int radius : {7, 10, 16}) {
        SCOPED_TRACE(radius);
        TGoGame board;
        board.ApplyMainFormPreset();
        board.SetRadius(static_cast<int16_t>(radius));
        board.resize(board.sizeHint());
        const QImage image = Render(board);
        const TBoardGeometry& g = board.Geometry();
        std::set<int> heights;
        for (int q = 1; q <= 19; ++q) {
            int top = 1000, bottom = -1;
            for (int y = g.Y(q) - g.Pitch / 2; y < g.Y(q) + g.Pitch / 2; ++y)
                for (int x = g.X(19) + radius + 1; x < g.BoardWidth - 1; ++x)
                    if (qGray(image.pixel(x, y)) < 110) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            ASSERT_GE(bottom, top) << "row " << q << " has a label";
            heights.insert(bottom - top);
        }
        EXPECT_EQ(heights.size(), 1u) << "from " << *heights.begin() << " to " << *heights.rbegin();
    }
}

} // namespace
} // namespace karvena
