#pragma once
// Zooming the board: at first the board fills its panel, at the radius the panel allows (the
// base). Zoom in leaves the panel's size behind and grows the radius by half (18 at most); zoom
// out shrinks it by a third, never below 6 or the base (from a base below 6, the step out of 6
// goes to the base); back at the base the board fills its panel again.
#include <optional>

namespace karvena {

class TZoom {
public:
    static constexpr int kLargestRadius = 18;
    static constexpr int kSmallestZoomedRadius = 6;

    bool FillsPanel() const { return m_FillsPanel; }
    // The radius the board had when it last filled its panel.
    int BaseRadius() const { return m_BaseRadius; }
    void SetBaseRadius(int radius) { m_BaseRadius = radius; }
    // Zoom out has something to do.
    bool Zoomed() const { return !m_FillsPanel; }

    // The radius after zooming in from `radius`; nullopt when the board cannot grow.
    std::optional<int> In(int radius);
    // The radius after zooming out from `radius`; nullopt when it cannot shrink.
    std::optional<int> Out(int radius);

private:
    bool m_FillsPanel = true;
    int m_BaseRadius = 7;
};

} // namespace karvena
