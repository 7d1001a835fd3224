#include "board/BoardPicture.h"

#include <algorithm>
#include <set>

namespace karvena::test {

void SetUpPicture(TGoBoard& board, const std::vector<std::string>& rows, int8_t turn) {
    std::string black, white;
    for (size_t q = 0; q < rows.size(); ++q) {
        int p = 0;
        for (char c : rows[q]) {
            if (c == ' ') continue;
            ++p;
            if (c == 'X') black += PointText(p, static_cast<int>(q) + 1);
            if (c == 'O') white += PointText(p, static_cast<int>(q) + 1);
        }
    }
    board.SetFirstToPlay(turn);
    board.SetArrangedSideP("");
    board.SetArrangedSideN("");
    board.NewGame(false);
    board.SetArrangedSideP(black);
    board.SetArrangedSideN(white);
}

std::vector<std::string> Picture(const TGoBoard& board, int size) {
    std::vector<std::string> rows;
    for (int q = 1; q <= size; ++q) {
        std::string row;
        for (int p = 1; p <= size; ++p) {
            const int8_t cell = board.GetCell(p, q);
            if (p > 1) row += ' ';
            row += !IsStone(cell) ? '.' : (cell > 0 ? 'X' : 'O');
        }
        rows.push_back(row);
    }
    return rows;
}

bool Play(TGoBoard& board, const std::string& moves) {
    for (int k = 0; k < MovesIn(moves); ++k) {
        const TPoint pt = PointAt(moves, k);
        if (!board.MakeMove(pt.P, pt.Q, false)) return false;
    }
    return true;
}

std::string CheckChains(const TGoBoard& board) {
    std::set<int> seenIds;
    std::vector<std::vector<bool>> visited(21, std::vector<bool>(21, false));
    for (int p = 1; p <= 19; ++p) {
        for (int q = 1; q <= 19; ++q) {
            const int8_t cell = board.GetCell(p, q);
            if (!IsStone(cell) || visited[p][q]) continue;
            const int id = board.ChainId(p, q);
            if (id <= 0) return "stone without id at " + PointText(p, q);
            if (seenIds.count(id)) return "two chains share id " + std::to_string(id);
            seenIds.insert(id);
            // Flood the chain: every stone of it must carry the id.
            std::vector<TPoint> stack{{p, q}};
            visited[p][q] = true;
            while (!stack.empty()) {
                const TPoint pt = stack.back();
                stack.pop_back();
                if (board.ChainId(pt.P, pt.Q) != id)
                    return "chain at " + PointText(p, q) + " has mixed ids";
                const TPoint around[4] = {
                    {pt.P - 1, pt.Q}, {pt.P + 1, pt.Q}, {pt.P, pt.Q - 1}, {pt.P, pt.Q + 1}};
                for (const TPoint n : around) {
                    if (!IsGoPoint(n.P, n.Q) || visited[n.P][n.Q]) continue;
                    const int8_t other = board.GetCell(n.P, n.Q);
                    if (IsStone(other) && SameSide(other, cell)) {
                        visited[n.P][n.Q] = true;
                        stack.push_back(n);
                    }
                }
            }
        }
    }
    // A stone outside the flooded chain of its id would mean one id on two chains.
    for (int p = 1; p <= 19; ++p)
        for (int q = 1; q <= 19; ++q)
            if (IsStone(board.GetCell(p, q)) && !visited[p][q])
                return "unvisited stone at " + PointText(p, q);
    return "";
}

bool TRecordingView::Has(const std::string& what, int P, int Q) const {
    return std::find(calls.begin(), calls.end(), TCall{what, P, Q}) != calls.end();
}

int TRecordingView::Count(const std::string& what) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const TCall& c) { return c.what == what; }));
}

} // namespace karvena::test
