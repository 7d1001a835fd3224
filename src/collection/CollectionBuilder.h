#pragma once
// Turning SGF problem files into a collection: level groups and levels from a level map,
// ordering by difficulty, stable keys, and the checks a collection must pass.
#include <map>
#include <string>
#include <vector>

#include "collection/ProblemStore.h"
#include "collection/SgfImport.h"

namespace karvena {

// One line of a level map: the problems of a source folder go to a group and are spread over
// a Level1 range. The map's text: "folder group first-level last-level" a line, "#" comments.
struct TLevelRange {
    int Group = 1;
    int First = 30;
    int Last = 30;
};
using TLevelMap = std::map<std::string, TLevelRange>;

// Reads a level map; false with `error` ("file:line: ...") when a line cannot be read.
bool ReadLevelMap(const std::string& path, TLevelMap& map, std::string& error);

// File names in natural order: digit runs compare as numbers ("2" before "10").
bool NaturalLess(const std::string& a, const std::string& b);

// An SGF file found among the inputs.
struct TSourceFile {
    std::string Path;
    std::string Folder;   // its folder as the level map and the groups name it ("easy/ko")
    std::string Relative; // its path below the input folder (its name, for a file given alone)
};
// The .sgf files of the inputs: a folder's files and those of every folder below it, ordered by
// path in natural order; files given alone as they are. What cannot be read goes to `skipped`.
std::vector<TSourceFile> ListSgfFiles(const std::vector<std::string>& inputs,
                                      std::vector<std::string>& skipped);

struct TBuiltCollection {
    std::vector<TProblemRow> Rows;    // in key order, with Solution blobs
    std::vector<std::string> Skipped;  // "source: reason"
    std::vector<std::string> Warnings; // "file:row:col: what was left out of a problem"
    std::map<int, int> ProblemsPerGroup;
    int Files = 0;       // SGF files read
    int WithWarning = 0; // problems imported with a warning
    std::string Error; // set when no collection can be made
};

// Reads the SGF files and folders (ListSgfFiles) into rows; a folder below an input is matched
// in the level map by its path ("easy/ko"). Without a
// map every problem goes to group 1 at level 30 in the order given; with one, each folder's
// problems are ordered by difficulty (longest correct line, then candidate first moves) and
// spread evenly over the folder's range. Keys are numbered from 1 in the final order.
// A problem that fails `check` is left out with "file:row:col: why" in Skipped.
TBuiltCollection BuildCollection(const std::vector<std::string>& inputs, const TLevelMap* levels,
                                 const TProblemCheck& check = {});

} // namespace karvena
