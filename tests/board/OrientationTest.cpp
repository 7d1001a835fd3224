// The sixteen ways a problem is shown: where points go, and that every way can be undone.
#include <gtest/gtest.h>

#include <set>

#include "board/Orientation.h"

namespace karvena {
namespace {

// Where the top-left corner point, a point of the top edge and an off-centre point go. A quarter
// turn clockwise takes the top-left corner to the top-right one.
TEST(Orientation, EachSymmetryMovesPointsAsNamed) {
    struct Row {
        int Number;
        const char* Name;
        TPoint Corner, Edge, Inner;
    };
    const Row rows[] = {
        {0, "as stored", {1, 1}, {5, 1}, {3, 16}},
        {1, "quarter turn clockwise", {19, 1}, {19, 5}, {4, 3}},
        {2, "half turn", {19, 19}, {15, 19}, {17, 4}},
        {3, "quarter turn anticlockwise", {1, 19}, {1, 15}, {16, 17}},
        {4, "mirror left-right", {19, 1}, {15, 1}, {17, 16}},
        {5, "mirror top-bottom", {1, 19}, {5, 19}, {3, 4}},
        {6, "mirror across P = Q", {1, 1}, {1, 5}, {16, 3}},
        {7, "mirror across the other diagonal", {19, 19}, {19, 15}, {4, 17}},
    };
    for (const Row& row : rows) {
        for (const int colours : {0, 8}) {
            const TOrientation o(row.Number + colours);
            SCOPED_TRACE(std::string(row.Name) + (colours ? ", colours swapped" : ""));
            EXPECT_EQ(o.Apply(TPoint{1, 1}), row.Corner);
            EXPECT_EQ(o.Apply(TPoint{5, 1}), row.Edge);
            EXPECT_EQ(o.Apply(TPoint{3, 16}), row.Inner);
            EXPECT_EQ(o.SwapsColours(), colours != 0);
        }
    }
}

// Every orientation is a one-to-one map of the board that Undo takes back, and no two
// orientations move the board alike.
// On a smaller board too: the symmetries of its own N x N square.
TEST(Orientation, EveryOrientationIsUndoneAndNoTwoAreAlike) {
    for (const int lines : {19, 13, 9, 7}) {
        SCOPED_TRACE(std::to_string(lines) + " lines");
        std::set<std::vector<int>> pictures;
        for (int n = 0; n < TOrientation::kCount; ++n) {
            const TOrientation o(n, lines);
            std::set<std::pair<int, int>> images;
            std::vector<int> picture{o.SwapsColours()};
            for (int P = 1; P <= lines; ++P) {
                for (int Q = 1; Q <= lines; ++Q) {
                    const TPoint shown = o.Apply(TPoint{P, Q});
                    ASSERT_TRUE(shown.P >= 1 && shown.P <= lines && shown.Q >= 1 &&
                                shown.Q <= lines)
                        << n;
                    EXPECT_EQ(o.Undo(shown), (TPoint{P, Q})) << n;
                    EXPECT_EQ(o.Inverse().Apply(shown), (TPoint{P, Q})) << n;
                    images.insert({shown.P, shown.Q});
                    picture.push_back(shown.P * 20 + shown.Q);
                }
            }
            EXPECT_EQ(images.size(), static_cast<size_t>(lines * lines)) << n;
            pictures.insert(picture);
        }
        EXPECT_EQ(pictures.size(), 16u);
    }
    // A quarter turn of 9 lines takes the top-left corner to the top-right one, (9, 1).
    EXPECT_EQ(TOrientation(1, 9).Apply(TPoint{1, 1}), (TPoint{9, 1}));
    EXPECT_EQ(TOrientation(2, 9).Apply(TPoint{2, 3}), (TPoint{8, 7}));
    EXPECT_EQ(TOrientation(2, 9).Apply(TPoint{12, 3}), (TPoint{12, 3})) << "off the board: stays";
}

// Point strings: every two-letter point moves; the pass, points off the board and a trailing
// odd letter stay as written. Colours trade only when the orientation swaps them.
TEST(Orientation, PointStringsAndColours) {
    const TOrientation quarter(1);
    EXPECT_EQ(quarter.Apply(std::string_view("AABA")), "SASB");
    EXPECT_EQ(quarter.Undo(std::string_view("SASB")), "AABA");
    EXPECT_EQ(quarter.Apply(std::string_view("TTAA")), "TTSA");
    EXPECT_EQ(quarter.Apply(std::string_view("@AAAB")), "@ASAB");
    EXPECT_EQ(quarter.Apply(std::string_view("")), "");
    EXPECT_EQ(TOrientation(2).Apply(std::string_view("JJ")), "JJ");
    EXPECT_EQ(TOrientation(0).Colour('B'), 'B');
    EXPECT_EQ(TOrientation(8).Colour('B'), 'W');
    EXPECT_EQ(TOrientation(15).Colour('W'), 'B');
    EXPECT_EQ(TOrientation(9).Colour('?'), '?');
    // Numbers out of range show the problem as stored.
    EXPECT_TRUE(TOrientation(16).IsIdentity());
    EXPECT_TRUE(TOrientation(-1).IsIdentity());
}

} // namespace
} // namespace karvena
