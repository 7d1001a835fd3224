#include "board/Zoom.h"

#include <algorithm>

namespace karvena {

std::optional<int> TZoom::In(int radius) {
    const int larger = std::min(3 * radius / 2, kLargestRadius);
    // A board already at its largest stays as it is, attached to its panel.
    if (larger <= radius) return std::nullopt;
    if (m_FillsPanel) {
        m_BaseRadius = radius;
        m_FillsPanel = false;
    }
    return larger;
}

std::optional<int> TZoom::Out(int radius) {
    // A board that fills its panel takes the panel's radius: nothing to zoom out of.
    if (m_FillsPanel) return std::nullopt;
    int smaller = std::max({2 * radius / 3, kSmallestZoomedRadius, m_BaseRadius});
    // Zoomed from a small panel (base below 6), the last step out goes back to the base.
    if (smaller >= radius) smaller = m_BaseRadius;
    if (smaller >= radius) return std::nullopt;
    if (smaller == m_BaseRadius) m_FillsPanel = true;
    return smaller;
}

} // namespace karvena
