#pragma once
// What the board core asks of whoever shows it. The widget implements it by invalidating only the
// affected cells; tests implement it as a recorder. Every call is a request to repaint, never a
// query: the view reads what it draws from the board.

namespace karvena {

// The parts of the information panel that can be repainted on their own.
enum class TInfoElement { Turn, Players, Event, Fee, Clocks, Result, NotBother, Hint };

class IBoardView {
public:
    virtual ~IBoardView() = default;
    // Repaints one point from the model (stone, empty point, marks); (20, 20) is the pass spot.
    virtual void RedrawPoint(int P, int Q) = 0;
    // Repaints every point of the board (after a position is loaded or handicap changes).
    virtual void RedrawAll() = 0;
    // Draws the last-move mark on (P, Q) (a stone, or the pass spot).
    virtual void MarkLastMove(int P, int Q) = 0;
    // Shows that the last move was a pass.
    virtual void ShowPass() = 0;
    // Repaints the side-to-move indicator.
    virtual void TurnChanged() = 0;
    // Repaints one element of the information panel.
    virtual void RedrawInfo(TInfoElement element) = 0;
    // A drawing property changed; `geometry` is true when sizes must be recomputed.
    virtual void LookChanged(bool geometry) = 0;
};

} // namespace karvena
