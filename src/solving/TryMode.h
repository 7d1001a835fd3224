#pragma once
// Trying moves in place: the player leaves the solution tree and plays freely from the current
// position; Undo, Next move and Restart move through the tried moves, and Stop puts the board
// back where the try began. The moves of the problem's start are never taken back.
#include <string>

#include "board/GoBoard.h"
#include "solving/SolveLoop.h"

namespace karvena {

class TTryMode {
public:
    TTryMode(TGoBoard& board, TSolveLoop& loop) : m_Board(board), m_Loop(loop) {}

    bool Active() const { return m_Loop.TryMode; }
    int TryStartMove() const { return m_TryStartMove; }
    // Starts trying from the position on the board.
    void Start();
    // Back to where the try began; the board is played normally again.
    void Stop();
    // Takes the last tried move back (never a move of the problem's start).
    void Undo();
    // Plays the next move of the tried line again.
    void NextMove();
    // Stop, then start again from the same position.
    void Restart();
    bool UndoEnabled() const;
    bool NextMoveEnabled() const;

private:
    TGoBoard& m_Board;
    TSolveLoop& m_Loop;
    int m_TryStartMove = 0;
    std::string m_TryStart; // the record when the try began
};

} // namespace karvena
