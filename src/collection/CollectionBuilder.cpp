#include "collection/CollectionBuilder.h"

#include <algorithm>
#include <cctype>
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

bool NaturalLess(const std::string& a, const std::string& b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i]));
        const bool db = std::isdigit(static_cast<unsigned char>(b[j]));
        if (da && db) {
            // Two numbers: by value (leading zeros aside), then the shorter spelling first.
            size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            size_t zi = i, zj = j;
            while (zi + 1 < ei && a[zi] == '0') ++zi;
            while (zj + 1 < ej && b[zj] == '0') ++zj;
            if (ei - zi != ej - zj) return ei - zi < ej - zj;
            const int order = a.compare(zi, ei - zi, b, zj, ej - zj);
            if (order != 0) return order < 0;
            if (ei - i != ej - j) return ei - i < ej - j;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::vector<TSourceFile> ListSgfFiles(const std::vector<std::string>& inputs,
                                      std::vector<std::string>& skipped) {
    std::vector<TSourceFile> files;
    auto isSgf = [](const fs::path& path) {
        std::string ext = path.extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return ext == ".sgf";
    };
    for (const std::string& input : inputs) {
        std::error_code error;
        const fs::path normal = fs::path(input).lexically_normal();
        if (fs::is_directory(input, error)) {
            // The folder and every folder below it; a folder's name is its path from the input,
            // starting with the input folder's own name.
            const std::string top = normal.filename().string().empty()
                                        ? normal.parent_path().filename().string()
                                        : normal.filename().string();
            std::vector<TSourceFile> found;
            for (auto it = fs::recursive_directory_iterator(
                     input, fs::directory_options::skip_permission_denied, error);
                 !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
                if (!it->is_regular_file(error) || !isSgf(it->path())) continue;
                const fs::path relative = it->path().lexically_relative(input);
                const std::string below = relative.parent_path().generic_string();
                found.push_back({it->path().string(), below.empty() ? top : top + "/" + below,
                                 relative.generic_string()});
            }
            if (error) skipped.push_back(input + ": " + error.message());
            std::sort(found.begin(), found.end(), [](const TSourceFile& x, const TSourceFile& y) {
                return NaturalLess(x.Relative, y.Relative);
            });
            files.insert(files.end(), found.begin(), found.end());
        } else if (fs::is_regular_file(input, error)) {
            files.push_back({input, fs::path(input).parent_path().filename().string(),
                             fs::path(input).filename().string()});
        } else {
            skipped.push_back(input + ": no such file or folder");
        }
    }
    return files;
}

TBuiltCollection BuildCollection(const std::vector<std::string>& inputs, const TLevelMap* levels,
                                 const TProblemCheck& check) {
    TBuiltCollection out;
    const std::vector<TSourceFile> files = ListSgfFiles(inputs, out.Skipped);
    out.Files = static_cast<int>(files.size());

    // Problems by folder, keeping the order folders were first met. Each is kept as its row
    // with the compact tree and what the ordering needs: a collection of many thousands is
    // held at a fraction of what the trees would take.
    struct TKept {
        std::string Source;
        TProblemRow Row;
        int LongestCorrectLine = 0;
        int FirstMoves = 0;
    };
    std::vector<std::string> folderOrder;
    std::map<std::string, std::vector<TKept>> byFolder;
    size_t total = 0;
    bool tooMany = false;
    for (const TSourceFile& file : files) {
        if (tooMany) break;
        const std::string key = levels ? file.Folder : "";
        if (!byFolder.count(key)) folderOrder.push_back(key);
        std::vector<TKept>& kept = byFolder[key];
        const size_t before = kept.size();
        TFileImport imported = ImportSgfFile(file.Path, [&](TImportedProblem&& p) {
            if (!PassesCheck(p, check, out.Skipped)) return true;
            // Reading stops once the keys would run out: nothing more is held.
            if (++total > 0xFFFF) {
                tooMany = true;
                return false;
            }
            out.WithWarning += !p.Warnings.empty();
            TKept k{p.Source, std::move(p.Row), p.LongestCorrectLine, p.FirstMoves};
            k.Row.Solution = SaveSolution(p.Tree);
            kept.push_back(std::move(k));
            return true;
        });
        out.Skipped.insert(out.Skipped.end(), imported.Skipped.begin(), imported.Skipped.end());
        out.Warnings.insert(out.Warnings.end(), imported.Warnings.begin(), imported.Warnings.end());
        if (imported.Broken) {
            total -= kept.size() - before;
            kept.resize(before); // a file that breaks adds nothing
        }
    }
    if (tooMany) {
        out.Error = "more than 65535 problems: the index cannot carry their keys";
        return out;
    }

    std::map<int, int> numbers; // next Num per group
    for (const std::string& folder : folderOrder) {
        std::vector<TKept>& problems = byFolder[folder];
        TLevelRange range;
        if (levels) {
            const auto found = levels->find(folder);
            if (found == levels->end()) {
                for (const TKept& p : problems)
                    out.Skipped.push_back(p.Source + ": folder '" + folder +
                                          "' is not in the level map");
                continue;
            }
            range = found->second;
            // Easier first: a shorter correct line, then fewer candidate first moves.
            std::stable_sort(problems.begin(), problems.end(),
                             [](const TKept& a, const TKept& b) {
                                 if (a.LongestCorrectLine != b.LongestCorrectLine)
                                     return a.LongestCorrectLine < b.LongestCorrectLine;
                                 return a.FirstMoves < b.FirstMoves;
                             });
        }
        const int span = range.Last - range.First + 1;
        for (size_t i = 0; i < problems.size(); ++i) {
            TProblemRow row = std::move(problems[i].Row);
            row.Group1 = range.Group;
            row.Level1 = range.First + static_cast<int>(i * span / problems.size());
            row.Num = ++numbers[range.Group];
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
