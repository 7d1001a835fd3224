#pragma once
// A problem written back as SGF: its setup stones, the moves played before it starts, and its
// tree, each line's end marked "Correct" or "Wrong" as the trainer reads them, with lines added
// beside the tree (the solver's findings) marked with their own comments. What an author opens
// to mend the source.
#include <string>
#include <vector>

#include "collection/ProblemStore.h"
#include "collection/SolutionTree.h"

namespace karvena {

// A line added to the tree: it starts after the tree's moves `after` (from the problem's start;
// none: a first move), and its moves follow in turn; `comment` goes on its first move, and
// `end` (when not empty) on its last.
struct TAddedLine {
    std::vector<std::string> After;
    std::vector<std::string> Moves;
    std::string Comment;
    std::string End;
};

// The SGF text of the problem (UTF-8, one game).
std::string ProblemSgf(const TProblemRow& row, const TSolutionTree& tree,
                       const std::vector<TAddedLine>& added = {});

// A move as SGF writes it ("AB" -> "ab"; "TT" a pass, written empty).
std::string SgfPoint(const std::string& move);

} // namespace karvena
