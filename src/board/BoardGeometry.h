#pragma once
// Where the board's lines, points and panel sit in pixels, all derived from the stone radius.
// Plain arithmetic, shared by the painter and the pointer input.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "board/BoardLook.h"

namespace karvena {

// Where a board of `lines` lines has star points along each line: the 4-4 points from 13 lines
// up, the 3-3 points from 9, and the middle of an odd board (on 19 lines: 4, 10 and 16).
inline std::vector<int> StarLines(int lines) {
    std::vector<int> out;
    const int corner = lines >= 13 ? 4 : lines >= 9 ? 3 : 0;
    if (corner) out.push_back(corner);
    if (lines % 2 == 1) out.push_back((lines + 1) / 2);
    if (corner) out.push_back(lines + 1 - corner);
    return out;
}

struct TBoardGeometry {
    static constexpr int kPassSpotLine = 20; // the column LineAt gives for the pass spot
    int Radius = 6;
    int Margin = 3;      // Radius div 2
    int Pitch = 15;      // distance between two lines: 2 r + 3
    int StarSize = 3;    // half-size of a star point and of the last-move square
    int Coordinate = 20; // width of the coordinate band (widened for the pass spot)
    int Lines = 19;
    int BoardWidth = 0; // the board square with margins and the coordinate band
    int BoardHeight = 0;
    int PanelWidth = 0; // DisplayWidth x DisplayInfo, or the swatches' room without the panel

    // The geometry of a look: radius, margins, the coordinate band and the board's size.
    static TBoardGeometry From(const TBoardLook& look, int lines = 19) {
        TBoardGeometry g;
        g.Radius = std::max<int>(1, look.Radius);
        const int r = g.Radius;
        g.StarSize = r > 5 ? 3 : (r >= 2 ? r / 2 : 1);
        g.Coordinate = look.DrawLastPass ? 2 * (r + 2) : look.Coordinate;
        g.Margin = r / 2;
        g.Pitch = 2 * r + 3;
        g.Lines = lines;
        g.BoardWidth = g.BoardHeight = g.Pitch * lines + 2 * g.Margin + g.Coordinate;
        g.PanelWidth = look.DisplayWidth * look.DisplayInfo;
        // Without the panel the side-to-move swatches still stand right of the board, so the
        // control keeps room for them.
        if (look.DisplayInfo == 0 && look.DisplayTurn) g.PanelWidth = 20 + 2 * std::min(r, 7);
        return g;
    }

    // The pixel of a column's (or row's) line: r + Margin + 2 + Pitch x (n - 1). A column past
    // the last line is the pass spot's, just beyond it (the pass point is (20, 20) on any board).
    int X(int column) const {
        return Radius + Margin + 2 + Pitch * (std::min(column, Lines + 1) - 1);
    }
    int Y(int row) const { return X(row); }

    // The control's natural size.
    int ControlWidth() const { return BoardWidth + PanelWidth; }
    int ControlHeight() const { return BoardHeight; }

    // The column (or row) a pixel selects: 0 unless it is closer than r to the line of the cell
    // it falls in; 20 is the pass spot's column.
    int LineAt(int pixel) const {
        int k = (pixel - Margin - 1) / Pitch + 1; // truncates toward zero, as the division does
        if (k >= 1 && k <= Lines + 1 && std::abs(X(k) - pixel) >= Radius) k = 0;
        if (k == Lines + 1) return kPassSpotLine;
        return k < 1 ? 0 : k;
    }

    // The largest radius whose board (with the panel of `look`) fits a control of width x
    // height, never below 1. The margin and the coordinate band grow with the radius, so each
    // candidate is measured with its own.
    static int RadiusForSize(const TBoardLook& look, int width, int height, int lines = 19) {
        auto fits = [&](int r) {
            TBoardLook candidate = look;
            candidate.SetRadius(r);
            const TBoardGeometry g = From(candidate, lines);
            return g.ControlWidth() <= width && g.ControlHeight() <= height;
        };
        // A board is more than 2 r pixels a line, so nothing larger can fit.
        int r = std::max(1, std::min(width, height) / (2 * lines));
        while (r > 1 && !fits(r)) --r;
        return r;
    }

    // The side-to-move swatches' click area (strictly inside).
    bool InSwatchArea(int x, int y) const {
        const int d = std::min(Radius, 7);
        return x > BoardWidth + 15 && x < BoardWidth + 15 + 2 * d && y > 120 && y < 180 + 2 * d;
    }

    // The panel's font size for the radius.
    int PanelFontSize() const {
        return Radius >= 12 ? 12 : (Radius >= 10 ? 11 : (Radius >= 8 ? 10 : 9));
    }
};

} // namespace karvena
