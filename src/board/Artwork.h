#pragma once
// The board's pictures, generated once in code: slate and shell stones for radii 3 to 19, a
// seamless 128 x 128 wood tile, the small picture the 8 x 8 pattern brush is cut from, and the
// control's background picture. Drawn at the screen's pixel ratio so they stay crisp.
#include <QImage>
#include <QPixmap>
#include <array>
#include <map>

namespace karvena {

class TArtwork {
public:
    // The shared pictures for a device pixel ratio (built on first use, kept for the run).
    static const TArtwork& For(qreal devicePixelRatio);

    // Stone picture of radius r: (2r + 1) logical pixels square, the corners transparent;
    // colour 0 is black, 1 white. Made for every radius, so large boards keep round stones.
    const QPixmap& Stone(int colour, int r) const;
    // The wood tile repeated 2 x 2: 256 x 256 logical pixels (made when first asked for: most
    // boards are plain, and the start should not wait for it).
    const QPixmap& Wood256() const;
    // The 8 x 8 dithered pattern of the board brush.
    const QPixmap& Pattern() const { return m_Pattern; }
    // The index's 16 x 16 pictures: flag A (a red pennant) and the solved mark (a green tick).
    const QPixmap& FlagA() const { return m_FlagA; }
    const QPixmap& SolvedMark() const { return m_Solved; }
    // Failed and not yet solved: a red circle with a cross.
    const QPixmap& FailedMark() const { return m_Failed; }
    // The control background, tiled from (0, 0) (made when first asked for, as the wood).
    const QPixmap& Background() const;

    // The 128 x 128 wood tile itself (its left edge continues its right edge, top continues
    // bottom).
    static QImage WoodTile(qreal devicePixelRatio);

private:
    explicit TArtwork(qreal devicePixelRatio);
    qreal m_Dpr;
    mutable std::map<int, std::array<QPixmap, 2>> m_Stones;
    mutable QPixmap m_Wood256;
    QPixmap m_Pattern;
    mutable QPixmap m_Background;
    QPixmap m_FlagA;
    QPixmap m_Solved;
    QPixmap m_Failed;
};

} // namespace karvena
