// Board geometry and the panel's texts: pure arithmetic, no display.
#include <gtest/gtest.h>

#include "board/BoardGeometry.h"
#include "board/Notation.h"
#include "board/PanelTexts.h"

namespace karvena {
namespace {

TBoardGeometry Geometry(int radius, int coordinate = 20, bool drawLastPass = false) {
    TBoardLook look;
    look.Radius = static_cast<int16_t>(radius);
    look.Coordinate = static_cast<int16_t>(coordinate);
    look.DrawLastPass = drawLastPass;
    return TBoardGeometry::From(look);
}

TEST(Geometry, DerivedFromTheRadius) {
    const struct {
        int radius, coordinate;
        int pitch, margin, star, first, last, width;
    } cases[] = {
        {7, 16, 17, 3, 3, 12, 318, 345},
        {6, 20, 15, 3, 3, 11, 281, 311},
        {4, 20, 11, 2, 2, 8, 206, 233},
        {1, 20, 5, 0, 1, 3, 93, 115},
    };
    for (const auto& c : cases) {
        const TBoardGeometry g = Geometry(c.radius, c.coordinate);
        EXPECT_EQ(g.Pitch, c.pitch) << c.radius;
        EXPECT_EQ(g.Margin, c.margin) << c.radius;
        EXPECT_EQ(g.StarSize, c.star) << c.radius;
        EXPECT_EQ(g.X(1), c.first) << c.radius;
        EXPECT_EQ(g.X(19), c.last) << c.radius;
        EXPECT_EQ(g.BoardWidth, c.width) << c.radius;
        EXPECT_EQ(g.BoardHeight, c.width) << c.radius;
    }
}

TEST(Geometry, DrawLastPassWidensTheCoordinateBand) {
    EXPECT_EQ(Geometry(7, 16, true).Coordinate, 18);
    EXPECT_EQ(Geometry(18, 16, true).Coordinate, 40);
}

// The fitted radius is the largest whose board fits: at every size its board fits and the next
// radius's does not, with the margin and the coordinate band of each radius.
TEST(Geometry, RadiusFromSizeIsTheLargestThatFits) {
    for (const bool lastPass : {false, true}) {
        TBoardLook look;
        look.DisplayWidth = 125;
        look.DrawLastPass = lastPass;
        for (int size = 120; size <= 1300; size += 7) {
            const int r = TBoardGeometry::RadiusForSize(look, size + 125, size);
            look.SetRadius(r);
            const TBoardGeometry g = TBoardGeometry::From(look);
            look.SetRadius(r + 1);
            const TBoardGeometry next = TBoardGeometry::From(look);
            EXPECT_LE(g.ControlHeight(), size) << size;
            EXPECT_LE(g.ControlWidth(), size + 125) << size;
            EXPECT_GT(next.ControlHeight(), size) << size;
        }
    }
    // An 840-pixel control: the board that fits is at most 840 pixels (the old formula, with
    // the previous radius's margin, gave 853).
    TBoardLook look;
    look.Radius = 6;
    look.DisplayWidth = 130;
    const int r = TBoardGeometry::RadiusForSize(look, 970, 840);
    look.SetRadius(r);
    EXPECT_LE(TBoardGeometry::From(look).BoardHeight, 840);
    look.SetRadius(r + 1);
    EXPECT_GT(TBoardGeometry::From(look).BoardHeight, 840);
    EXPECT_EQ(TBoardGeometry::RadiusForSize(look, 20, 20), 1) << "never below 1";
    EXPECT_EQ(TBoardGeometry::RadiusForSize(look, -5, 0), 1);
}

TEST(Geometry, PixelToLine) {
    const struct {
        int radius, pixel, line;
    } cases[] = {
        {7, 12, 1}, {7, 5, 0},    {7, 19, 0},   {7, 29, 2}, {7, 18, 1},  {7, 6, 1},
        {6, 11, 1}, {6, 4, 0},    {6, 17, 0},   {6, 18, 0}, {6, 19, 0},  {6, 20, 0},
        {6, 21, 2}, {6, 281, 19}, {6, 296, 20}, {6, 0, 0},  {6, -40, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Geometry(c.radius).LineAt(c.pixel), c.line)
            << "r " << c.radius << " x " << c.pixel;
}

// A smaller board: its lines, its pass spot just beyond the last line (still the pass point's
// column 20), its star points.
TEST(Geometry, ASmallerBoardHasItsOwnLinesPassSpotAndStars) {
    TBoardLook look;
    look.Radius = 6;
    const TBoardGeometry nine = TBoardGeometry::From(look, 9);
    const TBoardGeometry full = TBoardGeometry::From(look, 19);
    EXPECT_EQ(full.BoardWidth - nine.BoardWidth, 10 * full.Pitch);
    EXPECT_EQ(nine.LineAt(nine.X(9)), 9);
    EXPECT_EQ(nine.LineAt(nine.X(10)), TBoardGeometry::kPassSpotLine);
    EXPECT_EQ(nine.X(kPassCoord), nine.X(10));
    EXPECT_EQ(full.X(kPassCoord), full.X(20)) << "19 lines as before";
    const struct {
        int lines;
        std::vector<int> stars;
    } cases[] = {{19, {4, 10, 16}}, {13, {4, 7, 10}}, {9, {3, 5, 7}}, {7, {4}}, {8, {}},
                 {12, {3, 10}}, {15, {4, 8, 12}}};
    for (const auto& c : cases) EXPECT_EQ(StarLines(c.lines), c.stars) << c.lines;
    EXPECT_EQ(RowLabel(1, true, 9), 9) << "counted from the bottom of its own board";
    EXPECT_EQ(HintText(9 * 256 + 9, true, 9), "J1");
    EXPECT_EQ(HintText(10 * 256 + 9, true, 9), "") << "off the 9 x 9 board";
}

TEST(Geometry, SwatchAreaIsStrictlyInside) {
    const TBoardGeometry g = Geometry(7, 16);
    EXPECT_TRUE(g.InSwatchArea(g.BoardWidth + 16, 121));
    EXPECT_FALSE(g.InSwatchArea(g.BoardWidth + 15, 121));
    EXPECT_FALSE(g.InSwatchArea(g.BoardWidth + 29, 150));
    EXPECT_FALSE(g.InSwatchArea(g.BoardWidth + 20, 194));
}

TEST(PanelTexts, Lines) {
    EXPECT_EQ(KomiText(15, 2), "Atone: 3.75");
    EXPECT_EQ(KomiText(0, 2), "Atone: 0.00");
    EXPECT_EQ(KomiText(15, 0), "贴子: 3.75");
    EXPECT_EQ(HandicapText(1, 2), "Handicap:  1");
    EXPECT_EQ(HandicapText(3, 2), "Handicap: 3");
    EXPECT_EQ(HandicapText(1, 0), "让子: 让先");
    EXPECT_EQ(HandicapText(0, 2), "");
    EXPECT_EQ(ResultText(9, 2), "");
    EXPECT_EQ(ResultText(1, 2), "Over, White win");
    EXPECT_EQ(ResultText(2, 2), "Over, Draw    ");
    EXPECT_EQ(ResultText(0, 0), "结束, 黑方获胜");
    EXPECT_EQ(EventOrFeeText(0, "Cup", 2), "Cup");
    EXPECT_EQ(EventOrFeeText(1, "Cup", 2), "Bet 1 point");
    EXPECT_EQ(EventOrFeeText(3, "Cup", 2), "Bet 3 points");
    EXPECT_EQ(EventOrFeeText(-3, "Cup", 2), "Fee: 3 point");
    EXPECT_EQ(EventOrFeeText(-3, "Cup", 0), "指导费3点");
    EXPECT_EQ(MovesText(5, 2), "At least 5 moves");
    EXPECT_EQ(MovesText(5, 0), "必须下5步");
}

TEST(PanelTexts, Clocks) {
    EXPECT_EQ(ClockText(3725, 0, 0), "01:02:05");
    EXPECT_EQ(ClockText(25, 3, 30), "2  00:00:25 5");
    EXPECT_EQ(ClockText(40, 3, 30), "00:00:40") << "not yet in overtime";
    EXPECT_EQ(ClockText(5, 10, 3), "00:00:05") << "a period shorter than a second is no overtime";
}

TEST(PanelTexts, HoveredPoint) {
    EXPECT_EQ(HintText(4 * 256 + 4, true), "D16");
    EXPECT_EQ(HintText(4 * 256 + 4, false), "D4");
    EXPECT_EQ(HintText(9 * 256 + 1, true), "J19");
    EXPECT_EQ(HintText(12 * 256 + 1, false), "N1") << "no L without sgf coordinates";
    EXPECT_EQ(HintText(-1, true), "");
    EXPECT_EQ(HintText(20 * 256 + 20, true), "");
}

} // namespace
} // namespace karvena
