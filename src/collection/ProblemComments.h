#pragma once
// The words an imported problem's author wrote: the root comment ("White to play and live.",
// "黑先活") and the comments on its moves, keyed by the move's place in the solution tree (its
// index in depth-first order, which is its id once the tree is loaded). The bundled collection
// carries none.
#include <map>
#include <string>

#include "collection/SolutionTree.h"

namespace karvena {

struct TProblemComments {
    std::string Root;
    std::map<TNodeId, std::string> Moves; // by depth-first index (the root is 0, never here)

    bool Empty() const { return Root.empty() && Moves.empty(); }
    // The comment of a tree node, "" when it has none.
    const std::string& Of(TNodeId node) const;
};

// One text for a table cell: a line per comment, "index<TAB>text", with backslash, tab and line
// break escaped; the root is index 0.
std::string EncodeComments(const TProblemComments& comments);
// The comments of a cell; lines that cannot be read are left out.
TProblemComments DecodeComments(const std::string& text);

} // namespace karvena
