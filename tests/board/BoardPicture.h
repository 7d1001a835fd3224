#pragma once
// Test helpers: positions written as ASCII pictures, a recording board view, and a check that
// the chain-id grid agrees with the stones.
#include <string>
#include <vector>

#include "board/GoBoard.h"

namespace karvena::test {

// Sets the board up from rows like ". X O ." (X black, O white, . empty), row 1 first, column 1
// leftmost; blanks between points are optional. Black moves next unless `turn` says otherwise.
void SetUpPicture(TGoBoard& board, const std::vector<std::string>& rows, int8_t turn = kBlack);

// The top-left corner of the board as a picture of `size` x `size` points ("X O ." rows).
std::vector<std::string> Picture(const TGoBoard& board, int size = 19);

// Plays a move string for alternating sides; returns false at the first refused move.
bool Play(TGoBoard& board, const std::string& moves);

// An empty string when the chain ids agree with the stones, else what is wrong: every stone
// carries an id, the stones of one id form one 4-connected chain of one colour, and two chains
// never share an id.
std::string CheckChains(const TGoBoard& board);

// Remembers every repaint the board asks for.
class TRecordingView : public IBoardView {
public:
    struct TCall {
        std::string what;
        int P = 0;
        int Q = 0;
        friend bool operator==(const TCall&, const TCall&) = default;
    };
    std::vector<TCall> calls;

    void RedrawPoint(int P, int Q) override { calls.push_back({"point", P, Q}); }
    void RedrawAll() override { calls.push_back({"all"}); }
    void MarkLastMove(int P, int Q) override { calls.push_back({"last", P, Q}); }
    void ShowPass() override { calls.push_back({"pass"}); }
    void TurnChanged() override { calls.push_back({"turn"}); }
    void RedrawInfo(TInfoElement e) override { calls.push_back({"info", static_cast<int>(e)}); }
    void LookChanged(bool geometry) override { calls.push_back({"look", geometry}); }

    bool Has(const std::string& what, int P = 0, int Q = 0) const;
    int Count(const std::string& what) const;
};

} // namespace karvena::test
