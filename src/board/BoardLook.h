#pragma once
// The drawing properties of the board component, with the rules their setters apply. The
// board keeps one TBoardLook; the widget reads it to paint.
#include <cstdint>

namespace karvena {

// Colours are 0x00BBGGRR values.
using TColor = uint32_t;
constexpr TColor kColorBlack = 0x000000;
constexpr TColor kColorWhite = 0xFFFFFF;
// The system button-face colour, as the low-colour mode takes it.
constexpr TColor kColorBtnFace = 0xFF00000F;

// Low-colour mode, for the board and the thumbnails alike: the dithered pattern scheme (1)
// becomes flat stones on the plain button-face colour; other schemes stay as they are.
inline void ToLowColour(TColor& colour, int16_t& scheme, bool& dim3, bool& painting) {
    if (scheme != 1) return;
    dim3 = false;
    scheme = 6;
    colour = kColorBtnFace;
    painting = false;
}

struct TBoardLook {
    bool NoBoard = false;
    bool Pal256 = false;
    int32_t AbcFontSize = 16;
    TColor BoardColor = 26265; // red 0x99, green 0x66, blue 0
    int16_t BoardColorNum = 1;
    bool Dim3 = true;
    int16_t Radius = 6;
    bool Wood = false;
    bool Painting = true;
    int16_t Coordinate = 20;
    bool sgfCoordinate = true;
    bool DisplayTurn = true;
    int16_t DisplayInfo = 1;
    int16_t DisplayWidth = 125;
    bool DrawLastPass = false;

    friend bool operator==(const TBoardLook&, const TBoardLook&) = default;

    // True when going from this look to `after` changes the board's pixel size.
    bool AffectsGeometry(const TBoardLook& after) const {
        return Radius != after.Radius || Coordinate != after.Coordinate ||
               DisplayInfo != after.DisplayInfo || DisplayWidth != after.DisplayWidth ||
               DrawLastPass != after.DrawLastPass || BoardColorNum != after.BoardColorNum;
    }

    // Black and white are refused: the stones would vanish into the board.
    void SetBoardColor(TColor c) {
        if (c != kColorBlack && c != kColorWhite) BoardColor = c;
    }
    // Schemes 0..6; 1 is the dithered pattern, others the plain colour.
    void SetBoardColorNum(int v) {
        if (v >= 0 && v <= 6) BoardColorNum = static_cast<int16_t>(v);
    }
    // 0 hides the information panel, anything else shows it.
    void SetDisplayInfo(int v) { DisplayInfo = static_cast<int16_t>(v < 0 ? 0 : (v > 1 ? 1 : v)); }
    // A radius below 1 would make the board vanish.
    void SetRadius(int v) { Radius = static_cast<int16_t>(v < 1 ? 1 : v); }
    // Low-colour mode: with the pattern scheme on, switches to flat stones on the plain
    // button-face colour; turning it off restores nothing.
    void SetPal256(bool v) {
        Pal256 = v;
        if (v) ToLowColour(BoardColor, BoardColorNum, Dim3, Painting);
    }
};

} // namespace karvena
