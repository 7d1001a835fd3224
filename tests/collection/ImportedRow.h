#pragma once
// A problem row from SGF text, imported as the importer imports a file: for tests that need a
// problem of their own in a table.
#include <string>

#include "collection/Sgf.h"
#include "collection/SgfImport.h"
#include "collection/SolutionBlob.h"

namespace karvena::test {

// The first problem the text imports, as a row with this key and group (level 30, numbered by
// its key) and the author's comments kept as the player's collection keeps them; an empty
// Solution when nothing was imported. `skipped`: the first reason a problem was left out;
// `count`: how many were imported.
inline TProblemRow ImportedRow(const std::string& sgf, int key = 1, int group = 1,
                               std::string* skipped = nullptr, int* count = nullptr) {
    const TSgfRead read = ReadSgf(sgf, "played");
    TProblemRow row;
    if (!read.File) {
        if (skipped) *skipped = read.Error;
        return row;
    }
    const TImportResult imported = ImportSgf(*read.File, "played");
    if (skipped) *skipped = imported.Skipped.empty() ? "" : imported.Skipped.front();
    if (count) *count = static_cast<int>(imported.Problems.size());
    if (imported.Problems.empty()) return row;
    row = imported.Problems[0].Row;
    row.Auto1 = key;
    row.Group1 = group;
    row.Level1 = 30;
    row.Num = key;
    row.Solution = SaveSolution(imported.Problems[0].Tree);
    row.Comments = EncodeComments(imported.Problems[0].Comments);
    return row;
}

} // namespace karvena::test
