#pragma once
// Imports an SGF problem as the importer does and plays it headlessly, word by word, as the
// collection tool's "play" does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "board/GoBoard.h"
#include "collection/Sgf.h"
#include "collection/SgfImport.h"
#include "collection/CollectionBuilder.h"
#include "collection/SolutionBlob.h"
#include "solving/PlaySession.h"
#include "text/Texts.h"

namespace karvena::test {

// The first problem of an SGF text as a table row with key 1, its comments kept as the player's
// collection keeps them; empty Solution when none imported. `count`: how many were.
inline TProblemRow ImportedRow(const std::string& sgf, std::string* skipped = nullptr,
                               int* count = nullptr) {
    const auto read = ReadSgf(sgf, "played");
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
    row.Auto1 = 1;
    row.Group1 = 1;
    row.Solution = SaveSolution(imported.Problems[0].Tree);
    row.Comments = EncodeComments(imported.Problems[0].Comments);
    return row;
}

// Plays the row's problem word by word in a fresh session; the transcript of its set-up and all
// the words.
inline std::string PlayRow(const TProblemRow& row, const std::vector<std::string>& words,
                           TLanguage language = TLanguage::English) {
    TProblemTableWriter writer;
    writer.Add(row);
    TProblemStore store;
    if (!store.Open(writer.Image())) return "no store";
    SetLanguageFlags(language);
    TGoBoard board;
    ApplyMainFormPreset(board);
    const std::string history = ::testing::TempDir() + "/played.cds";
    std::filesystem::remove(history);
    TPlaySession session(board, store, history);
    if (!session.Load(1)) return "not loaded";
    std::string all;
    for (const std::string& line : session.Take()) all += line + "\n";
    for (const std::string& word : words) {
        session.Word(word);
        for (const std::string& line : session.Take()) all += line + "\n";
    }
    std::filesystem::remove(history);
    SetLanguageFlags(TLanguage::English);
    return all;
}

inline std::string PlayImported(const char* sgf, const std::vector<std::string>& words) {
    const TProblemRow row = ImportedRow(sgf);
    return row.Solution.empty() ? "not one problem" : PlayRow(row, words);
}

// The last "result ..." line of a transcript, without "result "; "" when there is none.
inline std::string LastResult(const std::string& transcript) {
    const size_t at = transcript.rfind("result ");
    if (at == std::string::npos) return "";
    return transcript.substr(at + 7, transcript.find('\n', at) - at - 7);
}

} // namespace karvena::test
