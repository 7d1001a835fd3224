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
#include "collection/ImportedRow.h"
#include "collection/SolutionBlob.h"
#include "solving/PlaySession.h"
#include "text/Texts.h"

namespace karvena::test {

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
