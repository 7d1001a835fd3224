// Zooming from the radius the panel gives: by half in (18 at most), by a third out (never below
// 6 or the base), and back at the base the board fills its panel again.
#include <gtest/gtest.h>

#include <string>

#include "board/Zoom.h"

namespace karvena::test {
namespace {

TEST(Zoom, StepsInAndOutAroundTheBase) {
    const struct {
        int base;
        std::string steps; // i = in, o = out
        std::vector<int> radii;
        bool fillsAfter;
    } cases[] = {
        {7, "iiii", {10, 15, 18, 18}, false},
        {7, "iiiioooo", {10, 15, 18, 18, 12, 8, 7, 7}, true},
        {4, "ioo", {6, 4, 4}, true},  // from a small panel, out goes back to it
        {4, "iiooo", {6, 9, 6, 4, 4}, true}, // zoomed, never below 6 until the base
        {9, "ioio", {13, 9, 13, 9}, true},
        {18, "io", {18, 18}, true},   // at its largest: no zoom, still filling
        {7, "o", {7}, true},          // filling its panel: nothing to zoom out of
        {12, "ioo", {18, 12, 12}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("base " + std::to_string(c.base) + " " + c.steps);
        TZoom zoom;
        int radius = c.base;
        std::vector<int> seen;
        for (char step : c.steps) {
            const std::optional<int> next = step == 'i' ? zoom.In(radius) : zoom.Out(radius);
            if (next) radius = *next;
            seen.push_back(radius);
            if (step == 'i' && next) EXPECT_EQ(zoom.BaseRadius(), c.base) << "the base is kept";
        }
        EXPECT_EQ(seen, c.radii);
        EXPECT_EQ(zoom.FillsPanel(), c.fillsAfter);
        EXPECT_EQ(zoom.Zoomed(), !c.fillsAfter);
    }
}

} // namespace
} // namespace karvena::test
