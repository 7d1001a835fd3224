#include "collection/DerivedGoals.h"

#include <fstream>
#include <sstream>

namespace karvena {

bool ReadDerivedGoals(const std::string& path, std::map<std::string, int32_t>& goals, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the goals file " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string print, rest;
        int32_t value = 0;
        const bool read = static_cast<bool>(words >> print >> value) && !(words >> rest);
        const bool hex = print.size() == 16 && print.find_first_not_of("0123456789abcdef") == std::string::npos;
        if (!read || !hex || value < kResultDerivedKill || value > kResultDerivedKoLive) {
            error = path + ":" + std::to_string(number) + ": not a fingerprint and a derived goal (5 to 8)";
            return false;
        }
        goals[print] = value;
    }
    return true;
}

int ApplyDerivedGoals(const std::map<std::string, int32_t>& goals, std::vector<TProblemRow>& rows) {
    int applied = 0;
    for (TProblemRow& row : rows) {
        const bool koAnswer = row.Result2 == kResultKoGoalUnstated;
        if (row.Result2 && *row.Result2 >= 0 && !koAnswer) continue; // the problem states its goal
        const auto found = goals.find(ProblemFingerprint(row));
        if (found == goals.end()) continue;
        row.Result2 = DerivedResult(DerivedKill(found->second), koAnswer || found->second >= kResultDerivedKoKill);
        ++applied;
    }
    return applied;
}

} // namespace karvena
