// The index widget driven by real mouse events, and what its thumbnails show.
#include <gtest/gtest.h>

#include <functional>

#include <QMouseEvent>
#include <QWheelEvent>
#include <QTest>

#include "index/GoIndex.h"
#include "index/IndexLine.h"

namespace karvena {
namespace {

QPoint CentreOf(const TGoIndex& index, TCell cell) {
    return index.CellRect(cell).center();
}

void Hover(TGoIndex& index, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, index.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&index, &move);
}

QImage Render(TGoIndex& index) {
    QImage image(index.size(), QImage::Format_RGB32);
    index.render(&image);
    return image;
}

bool IsRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool IsStone(QRgb c) {
    return qGray(c) < 60 || qGray(c) > 200;
}

class IndexWidget : public ::testing::Test {
protected:
    void SetUp() override {
        index.resize(497, 329);
        for (int i = 0; i < 10; ++i)
            lines.push_back(BuildIndexLine(i + 1, i == 1, i == 2, "0", "CC", "DD", "", false));
        index.SetGames(lines);
        index.show();
    }
    TGoIndex index;
    std::vector<std::string> lines;
};

TEST_F(IndexWidget, StartsAt462AndComputes164PixelCells) {
    TGoIndex fresh;
    EXPECT_EQ(fresh.size(), QSize(462, 462));
    EXPECT_EQ(fresh.BoardWidth(), 164);
    EXPECT_EQ(fresh.Rows(), 2);
    EXPECT_EQ(fresh.Cols(), 2);
    EXPECT_EQ(index.Cols(), 3);
    EXPECT_EQ(index.Rows(), 2);
}

TEST_F(IndexWidget, ClickSelectsAndFiresAlsoForTheSelectedLine) {
    std::vector<std::pair<int, int>> fired;
    index.OnSelectedChanged = [&](TGoIndexModel&, int n, int o, int) { fired.emplace_back(n, o); };
    QTest::mouseClick(&index, Qt::LeftButton, Qt::NoModifier, CentreOf(index, {1, 2}));
    QTest::mouseClick(&index, Qt::LeftButton, Qt::NoModifier, CentreOf(index, {1, 2}));
    EXPECT_EQ(index.Selected(), 1);
    EXPECT_EQ(fired, (std::vector<std::pair<int, int>>{{1, -1}, {1, 1}}));
}

TEST_F(IndexWidget, PressOnOneThumbnailAndReleaseOnAnotherSelectsNothing) {
    int fired = 0;
    index.OnSelectedChanged = [&](TGoIndexModel&, int, int, int) { ++fired; };
    QTest::mousePress(&index, Qt::LeftButton, Qt::NoModifier, CentreOf(index, {1, 1}));
    QTest::mouseRelease(&index, Qt::LeftButton, Qt::NoModifier, CentreOf(index, {1, 2}));
    QTest::mouseClick(&index, Qt::RightButton, Qt::NoModifier, CentreOf(index, {1, 3}));
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(index.Selected(), -1);
}

TEST_F(IndexWidget, HoverFramesTheHotCellInRed) {
    std::vector<int> hot;
    index.OnHotChanged = [&](TGoIndexModel&, int n, int, int) { hot.push_back(n); };
    Hover(index, CentreOf(index, {2, 1}));
    EXPECT_EQ(index.Hot(), 3);
    EXPECT_EQ(index.cursor().shape(), Qt::PointingHandCursor);
    const QRect cell = index.CellRect({2, 1});
    const int m = index.Margin();
    EXPECT_TRUE(IsRed(Render(index).pixel(cell.left() + m, cell.center().y())));
    Hover(index, QPoint(495, 100)); // off the lines: the hot line stays
    EXPECT_EQ(index.Hot(), 3);
    EXPECT_EQ(index.cursor().shape(), Qt::ArrowCursor);
    Hover(index, CentreOf(index, {1, 1}));
    EXPECT_FALSE(IsRed(Render(index).pixel(cell.left() + m, cell.center().y())))
        << "old frame gone";
    EXPECT_EQ(hot, (std::vector<int>{3, 0}));
}

TEST_F(IndexWidget, StonesBeyondTheFourteenthLineAreNotDrawn) {
    index.SetGames({BuildIndexLine(1, false, false, "0", "NN", "OO", "", false)});
    const QImage image = Render(index);
    EXPECT_TRUE(IsStone(image.pixel(index.PointX(1, 14), index.PointY(1, 14))));
    // A stone at (15, 15) would reach into the thumbnail's bottom-right corner.
    const QPoint corner(index.PointX(1, 15) - 3, index.PointY(1, 15) - 3);
    ASSERT_LT(corner.x(), index.BoardWidth());
    EXPECT_FALSE(IsStone(image.pixel(corner)));
}

TEST_F(IndexWidget, LastMoveMarkOnBlacksSecondMove) {
    index.SetGames({BuildIndexLine(1, false, false, "0", "", "", "CCDDEE", false)});
    const QImage image = Render(index);
    EXPECT_TRUE(IsRed(image.pixel(index.PointX(1, 5), index.PointY(1, 5))));
    EXPECT_FALSE(IsRed(image.pixel(index.PointX(1, 3), index.PointY(1, 3))));
}

TEST_F(IndexWidget, ThumbnailsAreDrawnOnceAndPagingDrawsOnlyOnePage) {
    std::vector<std::string> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(BuildIndexLine(i, false, false, "0", "CC", "", "", false));
    index.SetGames(many);
    Render(index);
    const int first = index.ThumbnailsDrawn();
    Render(index);
    EXPECT_EQ(index.ThumbnailsDrawn(), first) << "the second paint comes from the cache";
    index.SetTopRow(index.TopRow() + index.Rows());
    Render(index);
    EXPECT_LE(index.ThumbnailsDrawn() - first, index.Rows() * index.Cols());
}

TEST_F(IndexWidget, SolvedFlagRepaintsWithTheSolvedMark) {
    index.SetSelected(0);
    const QImage before = Render(index);
    index.SetSolvedCount(1);
    const QImage after = Render(index);
    EXPECT_EQ(index.Games()[0][5], '1');
    EXPECT_NE(before.copy(index.CellRect({1, 1})), after.copy(index.CellRect({1, 1})));
    EXPECT_EQ(before.copy(index.CellRect({1, 2})), after.copy(index.CellRect({1, 2})));
}

// A change of look redraws the thumbnails, not the cached pictures of the old look.
TEST_F(IndexWidget, EveryChangeOfLookIsSeen) {
    const struct {
        const char* name;
        std::function<void(TGoIndex&)> change;
    } changes[] = {
        {"board colour number", [](TGoIndex& i) { i.SetBoardColorNum(3); }},
        {"board colour", [](TGoIndex& i) { i.SetBoardColor(0x00FF00); }},
        {"flat stones", [](TGoIndex& i) { i.SetDim3(false); }},
        {"no last-move mark", [](TGoIndex& i) { i.SetDrawLastMove(false); }},
        {"low colour", [](TGoIndex& i) { i.SetPal256(true); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        TGoIndex fresh;
        fresh.resize(497, 329);
        std::vector<std::string> shown = lines;
        shown.insert(shown.begin() + 1, BuildIndexLine(11, false, false, "0", "", "", "CCDDEE", false));
        fresh.SetGames(shown);
        fresh.SetSelected(0); // the selected thumbnail shows the board colour
        fresh.show();
        const QImage before = Render(fresh);
        c.change(fresh);
        EXPECT_NE(Render(fresh), before);
    }
}

// The wheel scrolls the index by rows, one a notch, within the list.
TEST_F(IndexWidget, TheWheelScrollsByRows) {
    ASSERT_EQ(index.RowCount(), 4);
    auto wheel = [&](int angle) {
        const QPoint at = CentreOf(index, {1, 1});
        QWheelEvent event(at, index.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&index, &event);
    };
    wheel(-120);
    EXPECT_EQ(index.TopRow(), 2);
    wheel(-60);
    EXPECT_EQ(index.TopRow(), 2) << "half a notch is not a row yet";
    wheel(-60);
    EXPECT_EQ(index.TopRow(), 3);
    wheel(-360);
    EXPECT_EQ(index.TopRow(), 4) << "never beyond the last row";
    wheel(240);
    EXPECT_EQ(index.TopRow(), 2);
}

// A cell past the end of the list shows only the background: no board, no number.
TEST_F(IndexWidget, AnEmptyCellDrawsOnlyTheBackground) {
    index.SetTopRow(4); // line 10 alone: cells 2 and 3 of the row are empty
    const QImage image = Render(index);
    const QColor background = index.palette().color(QPalette::Window);
    const QRect empty = index.CellRect({1, 2});
    int foreign = 0;
    for (int x = empty.left(); x <= empty.right(); ++x)
        for (int y = empty.top(); y <= empty.bottom(); ++y)
            foreign += QColor(image.pixel(x, y)) != background;
    EXPECT_EQ(foreign, 0);
    const QRect full = index.CellRect({1, 1});
    EXPECT_NE(QColor(image.pixel(full.center())), background) << "the line's board is drawn";
}

} // namespace
} // namespace karvena
