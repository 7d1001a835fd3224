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

} // namespace karvena
