#include "board/Orientation.h"

namespace karvena {

TPoint TOrientation::Apply(TPoint point) const {
    const int P = point.P, Q = point.Q, n = m_Lines + 1;
    if (P < 1 || P > m_Lines || Q < 1 || Q > m_Lines) return point;
    switch (Symmetry()) {
    case 1:
        return {n - Q, P};
    case 2:
        return {n - P, n - Q};
    case 3:
        return {Q, n - P};
    case 4:
        return {n - P, Q};
    case 5:
        return {P, n - Q};
    case 6:
        return {Q, P};
    case 7:
        return {n - Q, n - P};
    default:
        return point;
    }
}

TOrientation TOrientation::Inverse() const {
    // The quarter turns undo each other; the half turn and the mirrors undo themselves.
    int symmetry = Symmetry();
    if (symmetry == 1)
        symmetry = 3;
    else if (symmetry == 3)
        symmetry = 1;
    return TOrientation(symmetry + (SwapsColours() ? kSymmetries : 0), m_Lines);
}

TPoint TOrientation::Undo(TPoint shown) const {
    return Inverse().Apply(shown);
}

std::string TOrientation::Apply(std::string_view points) const {
    std::string moved(points);
    for (int k = 0; k < MovesIn(points); ++k) {
        const TPoint stored = PointAt(points, k);
        const TPoint point = Apply(stored);
        if (point == stored) continue; // unmoved, or off the board: the letters stay as written
        moved[2 * k] = CoordToLetter(point.P);
        moved[2 * k + 1] = CoordToLetter(point.Q);
    }
    return moved;
}

std::string TOrientation::Undo(std::string_view points) const {
    return Inverse().Apply(points);
}

char TOrientation::Colour(char side) const {
    if (!SwapsColours()) return side;
    if (side == 'B') return 'W';
    if (side == 'W') return 'B';
    return side;
}

} // namespace karvena
