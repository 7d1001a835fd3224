#include "solving/ProblemCheck.h"

#include <cstdio>

#include "board/GoBoard.h"
#include "collection/SolutionBlob.h"
#include "collection/SolutionTree.h"
#include "solving/SolveLoop.h"

namespace karvena {

std::vector<std::string> CheckProblem(const TProblemRow& row) {
    std::vector<std::string> issues;
    // Named by the key as the collection tool's list prints it and its dump and play take it.
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(row.Auto1));
    const std::string key = std::string("problem ") + hex + ": ";
    TSolutionTree tree;
    try {
        LoadSolution(tree, row.Solution);
    } catch (const TBlobError& e) {
        issues.push_back(key + "solution data corrupted: " + e.what());
        return issues;
    }
    if (tree.Empty()) {
        issues.push_back(key + "no solution tree");
        return issues;
    }
    const TNodeId root = tree.Root();
    if (!tree.HasSuccessBelow(root)) issues.push_back(key + "no success can be reached");

    TGoBoard board;
    board.SetGoLines(row.BoardSize);
    const char firstToPlay = (row.FirstToPlay + "B")[0];
    // The solver is whoever moves after the Initial moves, as in the trainer.
    const int8_t solver = SolverSideOf(firstToPlay, row.Initial);
    // Every Initial move must be played, or the tree's lines start from another position.
    SetUpPosition(board, row.ArrangedBlack, row.ArrangedWhite, row.Initial, firstToPlay);
    if (board.Process() != row.Initial) {
        const size_t played = board.Process().size();
        issues.push_back(key + "the start cannot be set up: the Initial move " +
                         row.Initial.substr(played, 2) + " cannot be played");
        return issues;
    }
    // Replays every node of the root's subtree (only the first top-level node is the tree) on
    // the way from the root: each line once, node by node.
    for (TNodeId n = tree.FirstChild(root); n != kNoNode && tree.Level(n) > tree.Level(root);
         n = tree.NextInDepthFirst(n)) {
        std::vector<TNodeId> path;
        for (TNodeId a = n; a != root; a = tree.Parent(a))
            path.push_back(a);
        SetUpPosition(board, row.ArrangedBlack, row.ArrangedWhite, row.Initial, firstToPlay);
        bool legal = true;
        for (auto it = path.rbegin(); it != path.rend() && legal; ++it) {
            const std::string move = tree.MoveOf(*it);
            const int level = tree.Level(*it);
            const bool solversTurn = SameSide(board.Turn(), solver);
            if (solversTurn != (level % 2 == 1)) {
                issues.push_back(key + "one side moves twice in a row at " + move + " (level " +
                                 std::to_string(level) + ")");
                legal = false;
            } else if (move.size() != 2 ||
                       !board.MakeMove(LetterToCoord(move[0]), LetterToCoord(move[1]), false)) {
                if (*it == n)
                    issues.push_back(key + "illegal move " + move + " at level " +
                                     std::to_string(level));
                legal = false;
            }
        }
        if (legal && !tree.HasChildren(n) && tree.LineEndOf(n) == TLineEnd::Continues)
            issues.push_back(key + "the line ending at " + tree.MoveOf(n) + " has no result");
    }
    return issues;
}

} // namespace karvena
