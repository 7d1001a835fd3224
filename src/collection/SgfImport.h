#pragma once
// One SGF problem to one problem row and its solution tree. The problem is turned into the
// top-left corner, moves become point letters, levels alternate strictly between the solver and
// the opponent ("TT" fills in where one side moves twice), sibling variations of one move become
// one node, and the outcome each line reaches is kept.
#include <functional>
#include <string>
#include <vector>

#include "board/Orientation.h"
#include "collection/ProblemComments.h"
#include "collection/ProblemStore.h"
#include "collection/Sgf.h"
#include "collection/SgfMarks.h"
#include "collection/SolutionTree.h"

namespace karvena {

struct TImportedProblem {
    std::string Source; // "file" or "file#2" for the second game of a file
    TProblemRow Row;    // setup, first side, result, solution; no key, group, level or number
    TSolutionTree Tree;
    TProblemComments Comments; // the author's words, for the player's own collection
    int LongestCorrectLine = 0; // moves down to the deepest success
    int FirstMoves = 0;         // the solver's candidate first moves
    int SuccessNodes = 0;
    int CarriedLeaves = 0; // unmarked ends below a node marked correct, which carry its success
    // Every line is marked wrong: the answer is not in the tree, and only the solver's judgement
    // of a move the tree lacks can credit one.
    bool AnswerLeftToTheSolver = false;
    std::vector<std::string> Warnings; // "file:row:col: what was left out"
    int SourceRow = 0, SourceColumn = 0; // where the game's root node stands in the file
};

// The check a problem must pass to be imported (the collection tool's "check", from above this
// layer): what is wrong with the row, each "problem N: why"; empty when nothing is.
using TProblemCheck = std::function<std::vector<std::string>(const TProblemRow& row)>;
// Runs the check on an imported problem (with its tree as the row's Solution); false, with
// "file:row:col: why" added to `skipped`, when the problem cannot be played.
bool PassesCheck(const TImportedProblem& problem, const TProblemCheck& check,
                 std::vector<std::string>& skipped);

struct TImportResult {
    std::vector<TImportedProblem> Problems;
    std::vector<std::string> Skipped; // "file: reason", one per problem left out
    // "file:row:col: what", for what was left out of a problem that was imported all the same.
    std::vector<std::string> Warnings;
};

// Imports every game of a read SGF file; `name` labels the sources and warnings.
TImportResult ImportSgf(const TSgfFile& file, const std::string& name);

// Imports an SGF file game by game, holding one game at a time: each problem goes to `add` as
// it is read (false from `add` stops the file), and `keepGoing` is asked every 64 games (false:
// cancelled). A file that cannot be read, or breaks, is one line of Skipped; the games before the
// break are imported.
struct TFileImport {
    std::vector<std::string> Skipped, Warnings;
    bool Cancelled = false;
    bool Broken = false; // the file could not be read to its end
};
TFileImport ImportSgfFile(const std::string& path,
                          const std::function<bool(TImportedProblem&& problem)>& add,
                          const std::function<bool()>& keepGoing = {});

// The symmetry of the board that brings the points closest to the top-left corner: the smallest
// largest coordinate, then the smallest sum of coordinates, then the first in the importer's
// order (as stored, the mirrors left-right and top-bottom, the half turn, then those four
// mirrored across the P = Q diagonal).
TOrientation ChooseSymmetry(const std::vector<std::pair<int, int>>& points, int lines = 19);

} // namespace karvena
