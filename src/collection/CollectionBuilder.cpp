#include "collection/CollectionBuilder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "board/GoBoard.h"
#include "collection/SolutionBlob.h"

namespace karvena {

namespace fs = std::filesystem;

bool ReadLevelMap(const std::string& path, TLevelMap& map, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open the level map";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string content = line.substr(0, line.find('#'));
        std::istringstream words(content);
        std::string folder;
        TLevelRange range;
        if (!(words >> folder)) continue;
        if (!(words >> range.Group >> range.First >> range.Last) || range.First > range.Last) {
            error = path + ":" + std::to_string(number) +
                    ": expected 'folder group first-level last-level'";
            return false;
        }
        map[folder] = range;
    }
    return true;
}

namespace {

struct TSourceFile {
    std::string Path;
    std::string Folder; // the name of the folder it came from
};

std::vector<TSourceFile> ExpandInputs(const std::vector<std::string>& inputs,
                                      std::vector<std::string>& skipped) {
    std::vector<TSourceFile> files;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (fs::is_directory(input, error)) {
            std::vector<std::string> names;
            for (const auto& entry : fs::directory_iterator(input, error))
                if (entry.is_regular_file() && entry.path().extension() == ".sgf")
                    names.push_back(entry.path().string());
            std::sort(names.begin(), names.end());
            const std::string folder =
                fs::path(input).lexically_normal().filename().string().empty()
                    ? fs::path(input).lexically_normal().parent_path().filename().string()
                    : fs::path(input).lexically_normal().filename().string();
            for (const std::string& name : names)
                files.push_back({name, folder});
        } else if (fs::is_regular_file(input, error)) {
            files.push_back({input, fs::path(input).parent_path().filename().string()});
        } else {
            skipped.push_back(input + ": no such file or folder");
        }
    }
    return files;
}

} // namespace

TBuiltCollection BuildCollection(const std::vector<std::string>& inputs, const TLevelMap* levels) {
    TBuiltCollection out;
    const std::vector<TSourceFile> files = ExpandInputs(inputs, out.Skipped);

    // Problems by folder, keeping the order folders were first met.
    std::vector<std::string> folderOrder;
    std::map<std::string, std::vector<TImportedProblem>> byFolder;
    for (const TSourceFile& file : files) {
        const TSgfRead read = ReadSgfFile(file.Path);
        if (!read.File) {
            out.Skipped.push_back(read.Error);
            continue;
        }
        TImportResult imported = ImportSgf(*read.File, file.Path);
        out.Skipped.insert(out.Skipped.end(), imported.Skipped.begin(), imported.Skipped.end());
        const std::string key = levels ? file.Folder : "";
        if (!byFolder.count(key)) folderOrder.push_back(key);
        for (TImportedProblem& p : imported.Problems)
            byFolder[key].push_back(std::move(p));
    }

    std::map<int, int> numbers; // next Num per group
    for (const std::string& folder : folderOrder) {
        std::vector<TImportedProblem>& problems = byFolder[folder];
        TLevelRange range;
        if (levels) {
            const auto found = levels->find(folder);
            if (found == levels->end()) {
                for (const TImportedProblem& p : problems)
                    out.Skipped.push_back(p.Source + ": folder '" + folder +
                                          "' is not in the level map");
                continue;
            }
            range = found->second;
            // Easier first: a shorter correct line, then fewer candidate first moves.
            std::stable_sort(problems.begin(), problems.end(),
                             [](const TImportedProblem& a, const TImportedProblem& b) {
                                 if (a.LongestCorrectLine != b.LongestCorrectLine)
                                     return a.LongestCorrectLine < b.LongestCorrectLine;
                                 return a.FirstMoves < b.FirstMoves;
                             });
        }
        const int span = range.Last - range.First + 1;
        for (size_t i = 0; i < problems.size(); ++i) {
            TProblemRow row = problems[i].Row;
            row.Group1 = range.Group;
            row.Level1 = range.First + static_cast<int>(i * span / problems.size());
            row.Num = ++numbers[range.Group];
            row.Solution = SaveSolution(problems[i].Tree);
            out.Rows.push_back(std::move(row));
        }
    }
    if (out.Rows.size() > 0xFFFF) {
        out.Error = "more than 65535 problems: the index cannot carry their keys";
        out.Rows.clear();
        return out;
    }
    // Stable keys: the final order of the input, from 1.
    for (size_t i = 0; i < out.Rows.size(); ++i) {
        out.Rows[i].Auto1 = static_cast<int32_t>(i + 1);
        ++out.ProblemsPerGroup[out.Rows[i].Group1];
    }
    return out;
}

std::vector<std::string> CheckProblem(const TProblemRow& row) {
    std::vector<std::string> issues;
    const std::string key = "problem " + std::to_string(row.Auto1) + ": ";
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
    const int8_t first = row.FirstToPlay == "W" ? kWhite : kBlack;
    auto setUp = [&]() {
        board.SetFirstToPlay(first);
        board.SetArrangedSideP("");
        board.SetArrangedSideN("");
        board.NewGame(false);
        board.SetArrangedSideP(row.ArrangedBlack);
        board.SetArrangedSideN(row.ArrangedWhite);
        board.SetProcess(row.Initial);
    };
    // Replays every node on the way from the root: each line once, node by node.
    for (TNodeId n = tree.FirstChild(root) == kNoNode ? kNoNode : tree.FirstChild(root);
         n != kNoNode; n = tree.NextInDepthFirst(n)) {
        std::vector<TNodeId> path;
        for (TNodeId a = n; a != root; a = tree.Parent(a))
            path.push_back(a);
        setUp();
        const std::string solverSide = first > 0 ? "black" : "white";
        bool legal = true;
        for (auto it = path.rbegin(); it != path.rend() && legal; ++it) {
            const std::string move = tree.MoveOf(*it);
            const int level = tree.Level(*it);
            const bool solversTurn = SameSide(board.Turn(), first);
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
